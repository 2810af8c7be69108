#include "app/dll_search.h"

#include "win32/system_library.h"

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

BOOL RestrictDllSearchToSystem() {
  const HMODULE hKernel = ::GetModuleHandleA("kernel32.dll");
  // Windows 8, and Windows 7 and Vista with update KB2533623.
  if (const auto pfnSetDefault = SYSTEM_FUNCTION(hKernel, SetDefaultDllDirectories)) {
    if (pfnSetDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return TRUE;
  }
  // Windows XP SP1 and later. The executable's folder cannot be taken out of the search here; the
  // current directory can.
  if (const auto pfnSetDllDirectory = SYSTEM_FUNCTION(hKernel, SetDllDirectoryA)) {
    pfnSetDllDirectory("");
  }
  return FALSE;
}
