// ImportHook: sends this executable's calls to an imported function, through its import address
// table, to a replacement while it lives: for calls whose real effect the tests cannot have.
#pragma once

#include <windows.h>

class ImportHook {
 public:
  ImportHook(const char* lpszDll, const char* lpszFunction, void* pReplacement);
  ~ImportHook() { Patch(m_pfnOriginal); }
  bool Installed() const { return m_ppSlot != nullptr; }

 private:
  void Patch(void* pfn);
  void** m_ppSlot = nullptr;
  void* m_pfnOriginal = nullptr;
};
