#include "koravel_dlg.h"

void CKoravelDlg::ReportError(DWORD dwCode, LPCSTR lpszNote) {
  // Inserts are ignored: the call has no arguments to fill them with, and a system text that
  // holds one ("%1") must be shown as it stands rather than read arguments that are not there.
  char szText[2048];
  CString strMessage;
  if (::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, dwCode,
                       0, szText, sizeof szText, nullptr) != 0) {
    strMessage = szText;
  } else {
    strMessage.Format("Windows has no description of error %lu (0x%08lX).",
                      static_cast<unsigned long>(dwCode), static_cast<unsigned long>(dwCode));
  }
  if (lpszNote != nullptr) {
    // The system's texts end with a line break; the one above does not.
    const LPCSTR lpszText = strMessage;
    const int nLength = strMessage.GetLength();
    CString strText;
    strText.Format(nLength > 0 && lpszText[nLength - 1] == '\n' ? "%s%s" : "%s\r\n%s", lpszText,
                   lpszNote);
    strMessage = strText;
  }
  // The box has no owner, so Windows would leave the dialog usable under it: a second OK could
  // then start a second write while the first failure is still being reported.
  const BOOL bWasDisabled = EnableWindow(FALSE);
  ::MessageBoxA(nullptr, strMessage, "Error", MB_ICONINFORMATION);
  if (!bWasDisabled) EnableWindow(TRUE);
  SendMessage(WM_CLOSE);
}
