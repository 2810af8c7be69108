#include "rates/rate_change.h"

#include "rates/sample_rate.h"
#include "rates/stored_rates.h"
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

LONG CRateChange::Prepare(HKEY hDriverKey, const CStoredRates& rates, DWORD dwRate) {
  // A mouse left out of a list that failed would keep its old rate; a driver's value that cannot
  // be read is left as it is. One that is not there is written (the caller decides whether it
  // may be).
  const LONG lRead = rates.GetMice().GetError() != ERROR_SUCCESS       ? rates.GetMice().GetError()
                     : rates.GetDriverResult() != ERROR_FILE_NOT_FOUND ? rates.GetDriverResult()
                                                                       : ERROR_SUCCESS;
  if (lRead != ERROR_SUCCESS) return lRead;
  m_pMice = &rates.GetMice();
  m_dwRate = dwRate;
  m_nKeys = 1 + rates.GetMouseCount();
  m_pKeys = new Key[m_nKeys]();
  LONG lResult = ERROR_SUCCESS;
  for (int i = 0; i < m_nKeys && lResult == ERROR_SUCCESS; ++i) {
    Key& key = m_pKeys[i];
    key.bLeft = i == 0 ? rates.DriverReads(dwRate) : rates.MouseReads(i - 1, dwRate);
    if (key.bLeft) {
      // A mouse that reads the driver's value holds none of its own.
      key.bOwnRate = i == 0 || rates.GetMouse(i - 1).rate.GetSource() == CStartupRate::OWN_KEY;
      continue;
    }
    if (i == 0) {
      key.hKey = hDriverKey;
    } else {
      lResult = m_pMice->OpenKey(i - 1, &key.hKey, &key.bCreated);
    }
    if (lResult == ERROR_SUCCESS && !key.bCreated) lResult = ReadValue(&key);
  }
  if (lResult != ERROR_SUCCESS) PutBack();
  return lResult;
}

LONG CRateChange::Write() {
  for (int i = 0; i < m_nKeys; ++i) {
    if (m_pKeys[i].bLeft) continue;
    const LONG lResult = WriteSampleRate(m_pKeys[i].hKey, m_dwRate);
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
    LONG lResult = ERROR_SUCCESS;
    if (key.bCreated) {
      // The key goes, and the value with it. It stays open here until the end, so that the handle
      // can still tell what became of it.
      lResult = m_pMice->DeleteKey(i - 1);
      if (lResult == ERROR_SUCCESS) key.bCreated = FALSE;
    } else if (key.bWritten) {
      lResult = !key.bHadValue ? ::RegDeleteValueA(key.hKey, KORAVEL_SAMPLE_RATE_VALUE)
                : pfnSet != nullptr
                    ? pfnSet(key.hKey, kValueName, 0, key.dwType, key.pData, key.cbData)
                    : ERROR_CALL_NOT_IMPLEMENTED;
    }
    // A key that could not be put back holds the new rate only if it is still there and nothing
    // else changed it meanwhile: another program may have deleted it.
    key.bWritten = key.bWritten && lResult != ERROR_SUCCESS && HoldsRate(key.hKey);
  }
}

BOOL CRateChange::HoldsRate(HKEY hKey) const {
  DWORD dwRate = 0;
  BOOL bDword = FALSE;
  return ReadSampleRate(hKey, &dwRate, &bDword) == ERROR_SUCCESS && bDword && dwRate == m_dwRate;
}

BOOL CRateChange::IsUnchanged() const {
  BOOL bUnchanged = TRUE;
  for (int i = 0; i < m_nKeys; ++i) bUnchanged = bUnchanged && !m_pKeys[i].bWritten;
  return bUnchanged;
}

int CRateChange::GetMiceWithNewRate() const {
  int nMice = 0;
  for (int i = 1; i < m_nKeys; ++i) nMice += m_pKeys[i].bWritten || m_pKeys[i].bOwnRate ? 1 : 0;
  return nMice;
}

CString CRateChange::FormatFailureNote() const {
  CString strNote;
  if (IsUnchanged()) {
    strNote = "Nothing was changed.";
  } else if (!IsInDriverKey()) {
    strNote.Format(
        "The old rate could not be put back everywhere. The new rate is now in %d of the %d PS/2 "
        "mice's own keys, but not in the driver's key.",
        GetMiceWithNewRate(), GetMouseCount());
  } else if (GetMiceWithNewRate() == 0) {
    strNote =
        "The old rate could not be put back everywhere. The new rate is now in the driver's key, "
        "but in no PS/2 mouse's own key.";
  } else {
    strNote.Format(
        "The old rate could not be put back everywhere. The new rate is now in the driver's key "
        "and in %d of the %d PS/2 mice's own keys.",
        GetMiceWithNewRate(), GetMouseCount());
  }
  return strNote;
}
