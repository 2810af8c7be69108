// Choosing and applying a new rate.
#include "koravel_dlg.h"

#include "rates/change_lock.h"
#include "rates/ps2_mice.h"
#include "rates/rate_change.h"
#include "rates/sample_rate.h"
#include "rates/stored_rates.h"
#include "win32/restart_windows.h"

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

namespace {

// The question before a change: what the restart will do, where that is not simply the change.
CString RestartPrompt(DWORD dwRate, const CPs2Mice& mice) {
  CString strRate, strPrompt;
  // 10 is one too, but out of the slider's reach.
  if (!IsProtocolRate(dwRate)) {
    strRate.Format(
        "%lu is not one of the rates PS/2 mice are made for (20, 40, 60, 80, 100 and 200 reports "
        "a second). A mouse that refuses it does not work after the restart until the rate is "
        "set back, with the keyboard.\r\n\r\n",
        static_cast<unsigned long>(dwRate));
  }
  const BOOL bNoMouse = mice.IsListed() && mice.GetCount() == 0;
  strPrompt.Format("%s%s%s", static_cast<LPCSTR>(strRate),
                   bNoMouse ? "No PS/2 mouse is installed, so no mouse changes now. The new rate "
                              "applies to a PS/2 mouse installed later.\r\n\r\n"
                            : "",
                   "You must shutdown and restart for the change to take effect.");
  return strPrompt;
}

}  // namespace

void CKoravelDlg::OnOK() {
  // The slider, not the text, holds the rate to write: always 20 to 200.
  const DWORD dwRate = static_cast<DWORD>(m_slider.GetPos());

  // An installed PS/2 mouse reads its own copy of the rate (Windows 2000 and later), so the rate
  // goes there too, as Device Manager writes it. The mice are listed before the question, which
  // says so where there is none.
  const CPs2Mice mice;
  if (mice.GetError() != ERROR_SUCCESS) {
    ReportError(static_cast<DWORD>(mice.GetError()), "Nothing was changed.");
    return;
  }
  const int nAnswer =
      MessageBox(RestartPrompt(dwRate, mice), "Shutdown?", MB_YESNOCANCEL | MB_ICONQUESTION);
  if (nAnswer == IDCANCEL) return;

  // Whole or none, and one change at a time on the machine: a change stored in some of the keys
  // the driver reads, and not in others, would look applied and not be. What is stored is read
  // again under the lock, which is released before anything waits for a click.
  LONG lResult = ERROR_SUCCESS;
  CString strNote = "Nothing was changed.";
  {
    const CChangeLock lock;
    lResult = lock.GetError();
    if (lResult == ERROR_SUCCESS) {
      const CStoredRates rates;
      CRateChange change;
      lResult = change.Prepare(m_hKey, rates, dwRate);
      if (lResult == ERROR_SUCCESS) lResult = change.Write();
      if (lResult != ERROR_SUCCESS) strNote = change.FormatFailureNote();
    }
  }
  if (lResult != ERROR_SUCCESS) {
    // The report ends the dialog as cancelled; Windows is not restarted after a failure.
    ReportError(static_cast<DWORD>(lResult), strNote);
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
