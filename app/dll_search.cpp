#include "app/dll_search.h"

#include "app/system_function.h"

namespace {

// Windows 8, and Windows 7 and Vista with update KB2533623.
typedef BOOL(WINAPI* PFN_SET_DEFAULT_DLL_DIRECTORIES)(DWORD DirectoryFlags);
// Windows XP SP1 and later.
typedef BOOL(WINAPI* PFN_SET_DLL_DIRECTORY)(LPCSTR lpPathName);

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

}  // namespace

BOOL RestrictDllSearchToSystem() {
  if (const auto pfnSetDefault = SystemFunction<PFN_SET_DEFAULT_DLL_DIRECTORIES>(
          "kernel32.dll", "SetDefaultDllDirectories")) {
    if (pfnSetDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return TRUE;
  }
  // The executable's folder cannot be taken out of the search here; the current directory can.
  if (const auto pfnSetDllDirectory =
          SystemFunction<PFN_SET_DLL_DIRECTORY>("kernel32.dll", "SetDllDirectoryA")) {
    pfnSetDllDirectory("");
  }
  return FALSE;
}
