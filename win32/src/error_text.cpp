#include "win32/error_text.h"

#include <setupapi.h>

namespace {

BOOL SystemText(DWORD dwCode, LPSTR pszText, DWORD cchText) {
  return ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                          dwCode, 0, pszText, cchText, nullptr) != 0;
}

}  // namespace

void ErrorText(DWORD dwCode, LPSTR pszText, DWORD cchText) {
  // SetupAPI's own codes are known to the system as HRESULTs of SetupAPI's facility; for any
  // other code the HRESULT form would only name another error.
  const BOOL bSetupApi = HRESULT_FROM_SETUPAPI(dwCode) != HRESULT_FROM_WIN32(dwCode);
  if (SystemText(dwCode, pszText, cchText) ||
      (bSetupApi &&
       SystemText(static_cast<DWORD>(HRESULT_FROM_SETUPAPI(dwCode)), pszText, cchText))) {
    return;
  }
  // wsprintf writes at most 1024 characters; the sentence takes fewer than 80.
  char szSentence[96];
  ::wsprintfA(szSentence, "Windows has no description of error %lu (0x%08lX).",
              static_cast<unsigned long>(dwCode), static_cast<unsigned long>(dwCode));
  ::lstrcpynA(pszText, szSentence, static_cast<int>(cchText));
}
