// A function of a system DLL that is already loaded, looked up at run time: for functions that
// some of the Windows versions Koravel runs on do not have, whose import would keep the program
// from loading there at all.
#pragma once

#include <windows.h>

// The function, or null where the DLL lacks it. lpszModule must be loaded in the process already
// (kernel32 always is; the others Koravel imports statically), so no DLL search is involved.
template <typename PFN>
PFN SystemFunction(LPCSTR lpszModule, LPCSTR lpszName) {
  const FARPROC pfn = ::GetProcAddress(::GetModuleHandleA(lpszModule), lpszName);
  return reinterpret_cast<PFN>(reinterpret_cast<void*>(pfn));
}
