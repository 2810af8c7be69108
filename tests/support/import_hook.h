// ImportHook: sends this executable's calls to an imported function, through its import address
// table, to a replacement while it lives: for calls whose real effect the tests cannot have.
#pragma once

#include <windows.h>

class ImportHook {
 public:
  ImportHook(const char* lpszDll, const char* lpszFunction, void* pReplacement);
  template <typename F>
  ImportHook(const char* lpszDll, const char* lpszFunction, F* pfnReplacement)
      : ImportHook(lpszDll, lpszFunction, reinterpret_cast<void*>(pfnReplacement)) {}
  ~ImportHook() { Patch(m_pfnOriginal); }
  bool Installed() const { return m_ppSlot != nullptr; }
  // The function replaced, to call through; a call by name would come back to the replacement.
  template <typename F>
  F Original() const {
    return reinterpret_cast<F>(m_pfnOriginal);
  }

 private:
  void Patch(void* pfn);
  void** m_ppSlot = nullptr;
  void* m_pfnOriginal = nullptr;
};
