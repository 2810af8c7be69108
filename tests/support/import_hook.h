// ImportHook: sends this executable's calls to an imported function, through its import address
// table, to a stand-in while it lives: for calls whose real effect the tests cannot have.
#pragma once

#include <windows.h>

// Declares STAND_IN with the Windows headers' own type for NAME, calling convention included,
// and STAND_IN##Import, which sends the calls of NAME in DLL to it for the runner's life.
#define IMPORT_HOOK(dll, name, standIn) \
  decltype(::name) standIn;             \
  const ImportHook standIn##Import(dll, #name, reinterpret_cast<void*>(&standIn))

class ImportHook {
 public:
  ImportHook(const char* lpszDll, const char* lpszFunction, void* pStandIn);
  ~ImportHook() { Patch(m_pfnOriginal); }
  bool Installed() const { return m_ppSlot != nullptr; }
  // The function replaced, for the stand-in to call: a call by name would come back to it.
  template <typename F>
  F Original() const {
    return reinterpret_cast<F>(m_pfnOriginal);
  }

 private:
  void Patch(void* pfn);
  void** m_ppSlot = nullptr;
  void* m_pfnOriginal = nullptr;
};
