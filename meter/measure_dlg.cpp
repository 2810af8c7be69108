#include "meter/measure_dlg.h"

#include "win32/error_text.h"

CRateMeter* CMeasureDlg::s_pMeter = nullptr;

BEGIN_MESSAGE_MAP(CMeasureDlg, CDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

CMeasureDlg::CMeasureDlg(CWnd* pParent) : CDialog(CMeasureDlg::IDD, pParent), m_hHook(nullptr) {}

// The dialog has ended, however it ended, by the time DoModal returns and the object goes.
CMeasureDlg::~CMeasureDlg() { RemoveHook(); }

void CMeasureDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_MEASURED_RATE, m_strRate);
}

BOOL CMeasureDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  s_pMeter = &m_meter;
  m_hHook = ::SetWindowsHookExA(WH_MOUSE_LL, &CMeasureDlg::MouseProc, AfxGetInstanceHandle(), 0);
  if (m_hHook == nullptr) {
    char szError[2048];
    ErrorText(::GetLastError(), szError, sizeof szError);
    CString strText;
    strText.Format("The rate cannot be measured on this Windows.\r\n%s", szError);
    SetDlgItemText(IDC_MEASURE_TEXT, strText);
  } else {
    SetTimer(1, REFRESH, nullptr);
  }
  return TRUE;
}

LRESULT CALLBACK CMeasureDlg::MouseProc(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HC_ACTION && wParam == WM_MOUSEMOVE && s_pMeter != nullptr) {
    s_pMeter->AddMove(reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->time);
  }
  return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

void CMeasureDlg::OnTimer(UINT_PTR /*nIDEvent*/) {
  // Between measurements (a pause, and the start of the movement after it) the last rate stays.
  const int nRate = m_meter.GetRate();
  if (nRate < 0) return;
  m_strRate.Format("%d reports a second", nRate);
  UpdateData(FALSE);
}

void CMeasureDlg::RemoveHook() {
  if (m_hHook == nullptr) return;
  ::UnhookWindowsHookEx(m_hHook);
  m_hHook = nullptr;
  s_pMeter = nullptr;
}
