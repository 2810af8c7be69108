// The settings dialog's start-up: the About entry, the platform gate, the controls, and the
// stored rate read from the registry.
#include "koravel_dlg.h"

#include "rates/sample_rate.h"
#include "rates/stored_rates.h"

BOOL CKoravelDlg::OnInitDialog() {
  CDialog::OnInitDialog();

  // The About and Measure Rate entries, after a separator; an entry whose text is empty is left
  // out, and the separator with both.
  CMenu* pSysMenu = GetSystemMenu(FALSE);
  if (pSysMenu != nullptr) {
    CString strAboutMenu, strMeasureMenu;
    strAboutMenu.LoadString(IDS_ABOUT_MENU);
    strMeasureMenu.LoadString(IDS_MEASURE_MENU);
    if (!strAboutMenu.IsEmpty() || !strMeasureMenu.IsEmpty()) pSysMenu->AppendMenu(MF_SEPARATOR);
    if (!strAboutMenu.IsEmpty()) pSysMenu->AppendMenu(MF_STRING, IDM_ABOUT, strAboutMenu);
    if (!strMeasureMenu.IsEmpty()) pSysMenu->AppendMenu(MF_STRING, IDM_MEASURE, strMeasureMenu);
  }

  if (!CheckPlatform()) {
    SendMessage(WM_CLOSE);
    return TRUE;
  }

  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);

  m_slider.SetRange(MIN_RATE, MAX_RATE, FALSE);
  m_slider.SendMessage(TBM_SETTICFREQ, 10, 0);
  m_slider.SendMessage(TBM_SETPAGESIZE, 0, 10);

  // The key is opened here to read and set values, as the change on OK needs it: a key that
  // refuses that is reported now, not after the question.
  LONG lResult = OpenParametersKey(&m_hKey);
  if (lResult != ERROR_SUCCESS) {
    // Reading through no key could only add a second, less helpful, error.
    ReportError(static_cast<DWORD>(lResult));
    return TRUE;
  }

  // On Windows 2000 and later an installed PS/2 mouse reads its own copy of the rate, where it
  // has one, when Windows starts: the rate in effect is what the first mouse reads.
  const CStoredRates rates;
  lResult = rates.GetDriverResult();
  if (lResult == ERROR_SUCCESS) lResult = rates.GetMice().GetError();
  DWORD dwRate = rates.GetDriverRate();
  if (lResult == ERROR_SUCCESS && rates.GetMouseCount() > 0) {
    const CStartupRate& rate = rates.GetMouse(0).rate;
    lResult = rates.GetMouse(0).lRateResult;
    // The driver's value was just read: only another program can have deleted it since.
    if (rate.GetSource() == CStartupRate::NOT_STORED) lResult = ERROR_FILE_NOT_FOUND;
    dwRate = rate.GetRate();
  }
  if (lResult != ERROR_SUCCESS) {
    // The dialog is closing; there is no rate to show.
    ReportError(static_cast<DWORD>(lResult));
    return TRUE;
  }
  // The upper text shows the rate as stored, an unsigned 32-bit number; the bar and the slider
  // stop at the nearer end of their range, and the lower text shows the rate that OK would write.
  const int nPosition = dwRate < MIN_RATE   ? MIN_RATE
                        : dwRate > MAX_RATE ? MAX_RATE
                                            : static_cast<int>(dwRate);
  m_progress.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(MIN_RATE, MAX_RATE));
  m_progress.SendMessage(PBM_SETPOS, static_cast<WPARAM>(nPosition), 0);
  m_slider.SendMessage(TBM_SETPOS, TRUE, nPosition);
  m_strCurrent.Format("%lu", static_cast<unsigned long>(dwRate));
  ShowNewRate();
  return TRUE;
}
