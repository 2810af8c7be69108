#include "koravel_dlg.h"

#include "win32/error_text.h"

void CKoravelDlg::ReportError(DWORD dwCode, LPCSTR lpszNote) {
  char szText[2048];
  ErrorTextWithNote(dwCode, lpszNote, szText, sizeof szText);
  // The box has no owner, so Windows would leave the dialog usable under it: a second OK could
  // then start a second write while the first failure is still being reported.
  const BOOL bWasDisabled = EnableWindow(FALSE);
  ::MessageBoxA(nullptr, szText, "Error", MB_ICONINFORMATION);
  if (!bWasDisabled) EnableWindow(TRUE);
  SendMessage(WM_CLOSE);
}
