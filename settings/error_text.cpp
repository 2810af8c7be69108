#include "settings/error_text.h"

namespace {

BOOL SystemText(DWORD dwCode, char* pszText, DWORD cchText) {
  return ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                          dwCode, 0, pszText, cchText, nullptr) != 0;
}

}  // namespace

CString ErrorText(DWORD dwCode) {
  // SetupAPI's own codes are known to the system as HRESULTs of SetupAPI's facility; for any
  // other code the HRESULT form would only name another error.
  const BOOL bSetupApi = HRESULT_FROM_SETUPAPI(dwCode) != HRESULT_FROM_WIN32(dwCode);
  char szText[2048];
  CString strText;
  if (SystemText(dwCode, szText, sizeof szText) ||
      (bSetupApi &&
       SystemText(static_cast<DWORD>(HRESULT_FROM_SETUPAPI(dwCode)), szText, sizeof szText))) {
    strText = szText;
  } else {
    strText.Format("Windows has no description of error %lu (0x%08lX).",
                   static_cast<unsigned long>(dwCode), static_cast<unsigned long>(dwCode));
  }
  return strText;
}
