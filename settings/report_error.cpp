#include "koravel_dlg.h"

#include "win32/error_text.h"

void CKoravelDlg::ReportError(DWORD dwCode, LPCSTR lpszNote) {
  char szText[2048];
  ErrorText(dwCode, szText, sizeof szText);
  CString strMessage = szText;
  if (lpszNote != nullptr) {
    // The system's texts end with a line break; the one for a code it has no text for does not.
    const int nLength = strMessage.GetLength();
    strMessage.Format(nLength > 0 && szText[nLength - 1] == '\n' ? "%s%s" : "%s\r\n%s", szText,
                      lpszNote);
  }
  // The box has no owner, so Windows would leave the dialog usable under it: a second OK could
  // then start a second write while the first failure is still being reported.
  const BOOL bWasDisabled = EnableWindow(FALSE);
  ::MessageBoxA(nullptr, strMessage, "Error", MB_ICONINFORMATION);
  if (!bWasDisabled) EnableWindow(TRUE);
  SendMessage(WM_CLOSE);
}
