// Choosing and applying a new rate.
#include "koravel_dlg.h"

void CKoravelDlg::OnReleasedCaptureSlider(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
  // The slider lets go of the mouse at the end of a drag or a click on its channel. Keyboard
  // moves send no such notification, so they leave the text as it was; OnOK reads the slider.
  m_strNew.Format("%d", static_cast<int>(m_slider.SendMessage(TBM_GETPOS, 0, 0)));
  UpdateData(FALSE);
  *pResult = 0;
}

void CKoravelDlg::OnOK() {
  // The slider, not the text, holds the rate to write: always 20 to 200.
  const DWORD dwRate = static_cast<DWORD>(m_slider.SendMessage(TBM_GETPOS, 0, 0));

  const int nAnswer = MessageBox("You must shutdown and restart for the change to take effect.",
                                 "Shutdown?", MB_YESNOCANCEL | MB_ICONQUESTION);
  if (nAnswer == IDCANCEL) return;

  const LONG lResult = ::RegSetValueExA(m_hKey, KORAVEL_SAMPLE_RATE_VALUE, 0, REG_DWORD,
                                        reinterpret_cast<const BYTE*>(&dwRate), sizeof dwRate);
  if (lResult != ERROR_SUCCESS) {
    // The report ends the dialog as cancelled. Exiting Windows for a change that was not stored
    // would only cost the user their session.
    ReportError(static_cast<DWORD>(lResult));
    return;
  }

  // The driver reads the rate when Windows starts. No shutdown privilege is asked for: logging
  // off needs none.
  if (nAnswer == IDYES) ::ExitWindowsEx(EWX_LOGOFF, 0xFFFFFFFF);

  CDialog::OnOK();
}
