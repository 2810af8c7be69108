// ImportHook: sends this executable's calls to an imported function (through its import address
// table) to a replacement, and puts the original back when it goes. The tests use it for a call
// whose real effect would end the Wine session that runs them.
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
