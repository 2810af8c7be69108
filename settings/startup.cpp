// The settings dialog's start-up: the About entry, the platform gate, the controls, and the
// stored rate read from the registry.
#include "koravel_dlg.h"

BOOL CKoravelDlg::OnInitDialog() {
  CDialog::OnInitDialog();

  CMenu* pSysMenu = GetSystemMenu(FALSE);
  if (pSysMenu != nullptr) {
    CString strAboutMenu;
    strAboutMenu.LoadString(IDS_ABOUT_MENU);
    if (!strAboutMenu.IsEmpty()) {
      pSysMenu->AppendMenu(MF_SEPARATOR);
      pSysMenu->AppendMenu(MF_STRING, IDM_ABOUT, strAboutMenu);
    }
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

  // One handle, with full access, serves both this read and the write on OK.
  LONG lResult =
      ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, KORAVEL_PARAMETERS_KEY, 0, KEY_ALL_ACCESS, &m_hKey);
  if (lResult != ERROR_SUCCESS) {
    m_hKey = nullptr;
    // Reading through no key could only add a second, less helpful, error.
    ReportError(static_cast<DWORD>(lResult));
    return TRUE;
  }

  // A value shorter than four bytes fills only the low bytes: the rest stay zero. A longer one
  // fails with ERROR_MORE_DATA. The type is not checked: four bytes of any type are the rate.
  DWORD dwRate = 0;
  DWORD dwType = REG_DWORD;
  DWORD cbData = sizeof dwRate;
  lResult = ::RegQueryValueExA(m_hKey, KORAVEL_SAMPLE_RATE_VALUE, nullptr, &dwType,
                               reinterpret_cast<BYTE*>(&dwRate), &cbData);
  if (lResult != ERROR_SUCCESS) {
    // The dialog is closing; there is no rate to show.
    ReportError(static_cast<DWORD>(lResult));
    return TRUE;
  }
  // The texts show the rate as stored, an unsigned 32-bit number; the bar and the slider stop at
  // the nearer end of their range.
  const int nPosition = dwRate < MIN_RATE   ? MIN_RATE
                        : dwRate > MAX_RATE ? MAX_RATE
                                            : static_cast<int>(dwRate);
  m_progress.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(MIN_RATE, MAX_RATE));
  m_progress.SendMessage(PBM_SETPOS, static_cast<WPARAM>(nPosition), 0);
  m_slider.SendMessage(TBM_SETPOS, TRUE, nPosition);
  m_strCurrent.Format("%lu", static_cast<unsigned long>(dwRate));
  m_strNew.Format("%lu", static_cast<unsigned long>(dwRate));
  UpdateData(FALSE);
  return TRUE;
}
