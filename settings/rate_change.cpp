#include "settings/rate_change.h"

#include "settings/ps2_mice.h"
#include "settings/sample_rate.h"
#include "win32/system_library.h"

namespace {

// The value is read and put back through the wide functions, which hand over a string's bytes as
// they are: the ANSI ones would convert them. They are looked up at run time, because Windows 95
// need not have them; only Windows NT comes this far.
const wchar_t kValueName[] = L"" KORAVEL_SAMPLE_RATE_VALUE;

HMODULE Advapi() { return ::GetModuleHandleA("advapi32.dll"); }

}  // namespace

CRateChange::~CRateChange() {
  for (int i = 0; i < m_nKeys; ++i) {
    if (i > 0 && m_pKeys[i].hKey != nullptr) ::RegCloseKey(m_pKeys[i].hKey);
    delete[] m_pKeys[i].pData;
  }
  delete[] m_pKeys;
}

LONG CRateChange::ReadValue(Key* pKey) {
  const auto pfnQuery = SYSTEM_FUNCTION(Advapi(), RegQueryValueExW);
  if (pfnQuery == nullptr) return ERROR_CALL_NOT_IMPLEMENTED;
  DWORD cbData = 0;
  LONG lResult = pfnQuery(pKey->hKey, kValueName, nullptr, nullptr, nullptr, &cbData);
  // The value may grow between the calls; then the second answers with the size it now needs.
  while (lResult == ERROR_SUCCESS || lResult == ERROR_MORE_DATA) {
    delete[] pKey->pData;
    pKey->pData = new BYTE[cbData + 1];
    pKey->cbData = cbData;
    lResult = pfnQuery(pKey->hKey, kValueName, nullptr, &pKey->dwType, pKey->pData, &pKey->cbData);
    if (lResult == ERROR_SUCCESS) {
      pKey->bHadValue = TRUE;
      return ERROR_SUCCESS;
    }
    cbData = pKey->cbData;
  }
  return lResult == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : lResult;
}

LONG CRateChange::Prepare(HKEY hDriverKey, const CPs2Mice& mice) {
  m_pMice = &mice;
  m_nKeys = 1 + mice.GetCount();
  m_pKeys = new Key[m_nKeys]();
  m_pKeys[0].hKey = hDriverKey;
  LONG lResult = ReadValue(&m_pKeys[0]);
  for (int i = 1; i < m_nKeys && lResult == ERROR_SUCCESS; ++i) {
    Key& key = m_pKeys[i];
    lResult = mice.OpenKey(i - 1, &key.hKey, &key.bCreated);
    if (lResult == ERROR_SUCCESS && !key.bCreated) lResult = ReadValue(&key);
  }
  if (lResult != ERROR_SUCCESS) PutBack();
  return lResult;
}

LONG CRateChange::Write(DWORD dwRate) {
  for (int i = 0; i < m_nKeys; ++i) {
    const LONG lResult = WriteSampleRate(m_pKeys[i].hKey, dwRate);
    if (lResult != ERROR_SUCCESS) {
      PutBack();
      return lResult;
    }
    m_pKeys[i].bWritten = TRUE;
  }
  return ERROR_SUCCESS;
}

void CRateChange::PutBack() {
  const auto pfnSet = SYSTEM_FUNCTION(Advapi(), RegSetValueExW);
  for (int i = m_nKeys - 1; i >= 0; --i) {
    Key& key = m_pKeys[i];
    if (key.bCreated) {
      // The key goes, and the value with it.
      ::RegCloseKey(key.hKey);
      key.hKey = nullptr;
      if (m_pMice->DeleteKey(i - 1) == ERROR_SUCCESS) key.bCreated = key.bWritten = FALSE;
    } else if (key.bWritten) {
      const LONG lResult = !key.bHadValue ? ::RegDeleteValueA(key.hKey, KORAVEL_SAMPLE_RATE_VALUE)
                           : pfnSet != nullptr
                               ? pfnSet(key.hKey, kValueName, 0, key.dwType, key.pData, key.cbData)
                               : ERROR_CALL_NOT_IMPLEMENTED;
      if (lResult == ERROR_SUCCESS) key.bWritten = FALSE;
    }
  }
}

BOOL CRateChange::IsInDriverKey() const { return m_nKeys > 0 && m_pKeys[0].bWritten; }

int CRateChange::GetMiceWithNewRate() const {
  int nMice = 0;
  for (int i = 1; i < m_nKeys; ++i) nMice += m_pKeys[i].bWritten ? 1 : 0;
  return nMice;
}
