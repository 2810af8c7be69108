#include "import_hook.h"

#include <cstring>

ImportHook::ImportHook(const char* lpszDll, const char* lpszFunction, void* pReplacement) {
  BYTE* pBase = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
  const auto* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
      pBase + reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase)->e_lfanew);
  auto* pImport = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
      pBase + pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
  for (; pImport->Name != 0; ++pImport) {
    if (::lstrcmpiA(reinterpret_cast<const char*>(pBase + pImport->Name), lpszDll) != 0) continue;
    auto* pName = reinterpret_cast<const IMAGE_THUNK_DATA*>(pBase + pImport->OriginalFirstThunk);
    auto** ppSlot = reinterpret_cast<void**>(pBase + pImport->FirstThunk);
    for (; pName->u1.AddressOfData != 0; ++pName, ++ppSlot) {
      const auto* pByName =
          reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(pBase + pName->u1.AddressOfData);
      if (IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal) ||
          std::strcmp(reinterpret_cast<const char*>(pByName->Name), lpszFunction) != 0) {
        continue;
      }
      m_ppSlot = ppSlot;
      m_pfnOriginal = *ppSlot;
      Patch(pReplacement);
      return;
    }
  }
}

void ImportHook::Patch(void* pfn) {
  DWORD dwOld = 0;
  if (m_ppSlot == nullptr || !::VirtualProtect(m_ppSlot, sizeof pfn, PAGE_READWRITE, &dwOld))
    return;
  *m_ppSlot = pfn;
  ::VirtualProtect(m_ppSlot, sizeof pfn, dwOld, &dwOld);
}
