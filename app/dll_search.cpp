#include "app/dll_search.h"

namespace {

// Windows 8, and Windows 7 and Vista with update KB2533623.
typedef BOOL(WINAPI* PFN_SET_DEFAULT_DLL_DIRECTORIES)(DWORD DirectoryFlags);
// Windows XP SP1 and later.
typedef BOOL(WINAPI* PFN_SET_DLL_DIRECTORY)(LPCSTR lpPathName);

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

template <typename PFN>
PFN Kernel32Function(LPCSTR lpszName) {
  // kernel32 is in every process before its first instruction runs; no search is involved.
  const FARPROC pfn = ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), lpszName);
  return reinterpret_cast<PFN>(reinterpret_cast<void*>(pfn));
}

}  // namespace

BOOL RestrictDllSearchToSystem() {
  if (const auto pfnSetDefault =
          Kernel32Function<PFN_SET_DEFAULT_DLL_DIRECTORIES>("SetDefaultDllDirectories")) {
    if (pfnSetDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return TRUE;
  }
  // The executable's folder cannot be taken out of the search here; the current directory can.
  if (const auto pfnSetDllDirectory = Kernel32Function<PFN_SET_DLL_DIRECTORY>("SetDllDirectoryA")) {
    pfnSetDllDirectory("");
  }
  return FALSE;
}
