// ImportHook: redirects this executable's calls to one imported function (through its import
// address table) to a replacement, and puts the original back when it goes. The tests use it to
// watch a call whose real effect would end the Wine session they run in.
#pragma once

#include <windows.h>

class ImportHook {
 public:
  ImportHook(const char* lpszDll, const char* lpszFunction, void* pReplacement);
  ~ImportHook();
  ImportHook(const ImportHook&) = delete;
  ImportHook& operator=(const ImportHook&) = delete;

  bool Installed() const { return m_ppSlot != nullptr; }

 private:
  static bool Patch(void** ppSlot, void* pfn);

  void** m_ppSlot = nullptr;
  void* m_pfnOriginal = nullptr;
};
