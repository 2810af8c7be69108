// Functions of system DLLs looked up at run time: for functions that some of the Windows versions
// Koravel runs on lack (Windows NT 4.0 and 95 above all), whose import would keep the program from
// loading there at all. The class library and the program both use this; it uses neither.
//
//   SYSTEM_FUNCTION - a function of a loaded DLL, typed by the system's own declaration
//   SystemLibrary   - a DLL loaded from the system directory, freed with the object
#pragma once

#include <windows.h>

#include <string.h>

// The function NAME of the DLL hModule, or null where hModule is null or lacks it. Its type is
// that of the Windows headers' declaration of NAME (only named, never called or imported), so it
// carries the declaration's calling convention: a typedef of our own that forgot WINAPI would
// compile and then corrupt the stack, in the 32-bit build only.
#define SYSTEM_FUNCTION(hModule, name) SystemFunction<decltype(&::name)>(hModule, #name)

template <typename PFN>
PFN SystemFunction(HMODULE hModule, LPCSTR lpszName) {
  if (hModule == nullptr) return nullptr;
  return reinterpret_cast<PFN>(reinterpret_cast<void*>(::GetProcAddress(hModule, lpszName)));
}

class SystemLibrary {
 public:
  // Construction
  // Loads the DLL lpszFile (a file name, such as "setupapi.dll") by its full path in the system
  // directory, so that no other folder is searched on any Windows version. Null loads nothing.
  explicit SystemLibrary(LPCSTR lpszFile) {
    if (lpszFile == nullptr) return;
    char szPath[MAX_PATH];
    const size_t cchFolder = ::GetSystemDirectoryA(szPath, MAX_PATH);
    const size_t cchFile = ::strlen(lpszFile);
    if (cchFolder == 0 || cchFolder + 1 + cchFile >= MAX_PATH) return;
    szPath[cchFolder] = '\\';
    ::memcpy(szPath + cchFolder + 1, lpszFile, cchFile + 1);
    m_hModule = ::LoadLibraryA(szPath);
  }
  ~SystemLibrary() {
    if (m_hModule != nullptr) ::FreeLibrary(m_hModule);
  }
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  // Attributes
  // Null where the system has no such DLL.
  HMODULE GetHandle() const { return m_hModule; }

 private:
  HMODULE m_hModule = nullptr;
};
