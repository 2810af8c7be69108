#include "koravel_dlg.h"

#include "settings/error_text.h"

void CKoravelDlg::ReportError(DWORD dwCode, LPCSTR lpszNote) {
  CString strMessage = ErrorText(dwCode);
  if (lpszNote != nullptr) {
    // The system's texts end with a line break; the one for a code it has no text for does not.
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
