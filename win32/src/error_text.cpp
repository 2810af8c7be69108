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

void ErrorTextWithNote(DWORD dwCode, LPCSTR lpszNote, LPSTR pszText, DWORD cchText) {
  ErrorText(dwCode, pszText, cchText);
  if (lpszNote == nullptr) return;
  // The system's texts end with a line break; the sentence for a code it has no text for does not.
  int cchUsed = ::lstrlenA(pszText);
  if (cchUsed == 0 || pszText[cchUsed - 1] != '\n') {
    ::lstrcpynA(pszText + cchUsed, "\r\n", static_cast<int>(cchText) - cchUsed);
    cchUsed = ::lstrlenA(pszText);
  }
  ::lstrcpynA(pszText + cchUsed, lpszNote, static_cast<int>(cchText) - cchUsed);
}
