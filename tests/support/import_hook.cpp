#include "import_hook.h"

#include <cstring>

ImportHook::ImportHook(const char* lpszDll, const char* lpszFunction, void* pReplacement) {
  BYTE* pBase = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
  const IMAGE_DOS_HEADER* pDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase);
  const IMAGE_NT_HEADERS* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(pBase + pDos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return;
  for (const IMAGE_IMPORT_DESCRIPTOR* pImport =
           reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(pBase + imports.VirtualAddress);
       pImport->Name != 0; ++pImport) {
    if (::lstrcmpiA(reinterpret_cast<const char*>(pBase + pImport->Name), lpszDll) != 0) continue;
    const IMAGE_THUNK_DATA* pName =
        reinterpret_cast<const IMAGE_THUNK_DATA*>(pBase + pImport->OriginalFirstThunk);
    void** pSlot = reinterpret_cast<void**>(pBase + pImport->FirstThunk);
    for (; pName->u1.AddressOfData != 0; ++pName, ++pSlot) {
      if (IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal)) continue;
      const IMAGE_IMPORT_BY_NAME* pByName =
          reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(pBase + pName->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(pByName->Name), lpszFunction) != 0) continue;
      m_pfnOriginal = *pSlot;
      if (Patch(pSlot, pReplacement)) m_ppSlot = pSlot;
      return;
    }
  }
}

ImportHook::~ImportHook() {
  if (m_ppSlot != nullptr) Patch(m_ppSlot, m_pfnOriginal);
}

bool ImportHook::Patch(void** ppSlot, void* pfn) {
  DWORD dwOld = 0;
  if (!::VirtualProtect(ppSlot, sizeof *ppSlot, PAGE_READWRITE, &dwOld)) return false;
  *ppSlot = pfn;
  ::VirtualProtect(ppSlot, sizeof *ppSlot, dwOld, &dwOld);
  return true;
}
