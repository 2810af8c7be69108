// Choosing and applying a new rate.
#include "koravel_dlg.h"

#include "settings/ps2_mice.h"
#include "settings/restart_windows.h"
#include "settings/sample_rate.h"

void CKoravelDlg::ShowNewRate() {
  m_strNew.Format("%d", m_slider.GetPos());
  UpdateData(FALSE);
}

void CKoravelDlg::OnReleasedCaptureSlider(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
  // The slider lets go of the mouse at the end of a drag or a click on its channel.
  ShowNewRate();
  *pResult = 0;
}

void CKoravelDlg::OnHScroll(UINT /*nSBCode*/, UINT /*nPos*/, CScrollBar* pScrollBar) {
  // The slider reports every move here, by mouse, keyboard or wheel, so that the text never shows
  // a rate other than the one that OK writes.
  if (pScrollBar != nullptr && pScrollBar->GetSafeHwnd() == m_slider.GetSafeHwnd()) {
    ShowNewRate();
  } else {
    Default();
  }
}

void CKoravelDlg::OnOK() {
  // The slider, not the text, holds the rate to write: always 20 to 200.
  const DWORD dwRate = static_cast<DWORD>(m_slider.GetPos());

  const int nAnswer = MessageBox("You must shutdown and restart for the change to take effect.",
                                 "Shutdown?", MB_YESNOCANCEL | MB_ICONQUESTION);
  if (nAnswer == IDCANCEL) return;

  // An installed PS/2 mouse reads its own copy of the rate (Windows 2000 and later), so the rate
  // is written there too, as Device Manager writes it.
  LONG lResult = WriteSampleRate(m_hKey, dwRate);
  if (lResult == ERROR_SUCCESS) lResult = CPs2Mice().WriteRate(dwRate);
  if (lResult != ERROR_SUCCESS) {
    // The report ends the dialog as cancelled. Restarting Windows for a change that was not stored
    // everywhere the driver reads it would only cost the user their session.
    ReportError(static_cast<DWORD>(lResult));
    return;
  }

  // The driver reads the rate when Windows starts. The rate stays written whatever the restart
  // does; if Windows does not take the request, the report says so and that the rate is saved.
  if (nAnswer == IDYES) {
    const DWORD dwResult = RestartWindows();
    if (dwResult != ERROR_SUCCESS) {
      ReportError(dwResult, "The new rate is saved and takes effect when Windows next starts.");
      return;
    }
  }
  CDialog::OnOK();
}
