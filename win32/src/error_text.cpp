#include "win32/error_text.h"

#include <setupapi.h>
#include <stdio.h>

#include "win32/system_library.h"

namespace {

BOOL SystemText(DWORD dwCode, LPSTR pszText, DWORD cchText, UINT nCodePage) {
  const DWORD dwFlags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  if (nCodePage == CP_ACP) {
    return ::FormatMessageA(dwFlags, nullptr, dwCode, 0, pszText, cchText, nullptr) != 0;
  }
  // Looked up at run time: Windows 95 need not have it. The system's texts are a few hundred
  // characters at most.
  const auto pfnFormatW = SYSTEM_FUNCTION(::GetModuleHandleA("kernel32.dll"), FormatMessageW);
  WCHAR szWide[1024];
  return pfnFormatW != nullptr &&
         pfnFormatW(dwFlags, nullptr, dwCode, 0, szWide, sizeof szWide / sizeof *szWide, nullptr) !=
             0 &&
         ::WideCharToMultiByte(nCodePage, 0, szWide, -1, pszText, static_cast<int>(cchText),
                               nullptr, nullptr) != 0;
}

}  // namespace

void ErrorText(DWORD dwCode, LPSTR pszText, DWORD cchText, UINT nCodePage) {
  // SetupAPI's own codes are known to the system as HRESULTs of SetupAPI's facility; for any
  // other code the HRESULT form would only name another error.
  const BOOL bSetupApi = HRESULT_FROM_SETUPAPI(dwCode) != HRESULT_FROM_WIN32(dwCode);
  if (SystemText(dwCode, pszText, cchText, nCodePage) ||
      (bSetupApi && SystemText(static_cast<DWORD>(HRESULT_FROM_SETUPAPI(dwCode)), pszText, cchText,
                               nCodePage))) {
    return;
  }
  // The C runtime's, not USER32's wsprintf: a run from a script loads no USER32.
  char szSentence[96];
  ::_snprintf(szSentence, sizeof szSentence, "Windows has no description of error %lu (0x%08lX).",
              static_cast<unsigned long>(dwCode), static_cast<unsigned long>(dwCode));
  ::lstrcpynA(pszText, szSentence, static_cast<int>(cchText));
}

void ErrorTextWithNote(DWORD dwCode, LPCSTR lpszNote, LPSTR pszText, DWORD cchText,
                       UINT nCodePage) {
  ErrorText(dwCode, pszText, cchText, nCodePage);
  if (lpszNote == nullptr) return;
  // The system's texts end with a line break; the sentence for a code it has no text for does not.
  int cchUsed = ::lstrlenA(pszText);
  if (cchUsed == 0 || pszText[cchUsed - 1] != '\n') {
    ::lstrcpynA(pszText + cchUsed, "\r\n", static_cast<int>(cchText) - cchUsed);
    cchUsed = ::lstrlenA(pszText);
  }
  ::lstrcpynA(pszText + cchUsed, lpszNote, static_cast<int>(cchText) - cchUsed);
}
