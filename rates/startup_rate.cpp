#include "rates/startup_rate.h"

#include "rates/sample_rate.h"

LONG CStartupRate::Read(HKEY hOwnKey, LONG lOpenError) {
  // A key that failed to open for any other reason than not being there leaves the own value,
  // and so the rate, unknown.
  m_lOwnResult = hOwnKey != nullptr            ? ReadSampleRate(hOwnKey, &m_dwRate, &m_bDword)
                 : lOpenError != ERROR_SUCCESS ? lOpenError
                                               : ERROR_INVALID_HANDLE;
  m_lError = m_lOwnResult;
  if (m_lOwnResult == ERROR_SUCCESS) {
    m_source = OWN_KEY;
  } else if (m_lOwnResult == ERROR_FILE_NOT_FOUND) {
    m_lError = ReadParametersRate(&m_dwRate, &m_bDword);
    m_source = m_lError == ERROR_SUCCESS ? DRIVER_KEY : UNKNOWN;
    if (m_lError == ERROR_FILE_NOT_FOUND) {
      m_source = NOT_STORED;
      m_lError = ERROR_SUCCESS;
    }
  } else {
    m_source = UNKNOWN;
  }
  return m_lError;
}

CString CStartupRate::Format() const {
  CString str;
  if (m_source == OWN_KEY || m_source == DRIVER_KEY) {
    str.Format("%lu", static_cast<unsigned long>(m_dwRate));
  } else if (m_source == NOT_STORED) {
    str = "none stored";
  } else {
    str = FormatUnknown(m_lError);
  }
  return str;
}

CString CStartupRate::FormatUnknown(LONG lError) {
  CString str;
  str.Format(
      static_cast<DWORD>(lError) <= 0xFFFF ? "unknown (error %lu)" : "unknown (error 0x%08lX)",
      static_cast<unsigned long>(lError));
  return str;
}
