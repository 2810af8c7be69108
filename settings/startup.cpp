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
  const int nRate = static_cast<int>(dwRate);

  // The bar and the slider stop at the ends of their range; the texts show the rate as stored.
  m_progress.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(MIN_RATE, MAX_RATE));
  m_progress.SendMessage(PBM_SETPOS, static_cast<WPARAM>(nRate), 0);
  m_slider.SendMessage(TBM_SETPOS, TRUE, nRate);
  m_strCurrent.Format("%d", nRate);
  m_strNew.Format("%d", nRate);
  UpdateData(FALSE);
  return TRUE;
}
