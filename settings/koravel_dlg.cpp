#include "koravel_dlg.h"

#include "platform_gate/platform_gate.h"

BEGIN_MESSAGE_MAP(CKoravelDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_NOTIFY(NM_RELEASEDCAPTURE, IDC_NEW_SLIDER, OnReleasedCaptureSlider)
ON_WM_CLOSE()
ON_WM_HSCROLL()
END_MESSAGE_MAP()

CKoravelDlg::CKoravelDlg(CWnd* pParent)
    : CDialog(CKoravelDlg::IDD, pParent),
      m_hKey(nullptr),
      m_hIcon(AfxGetApp()->LoadIcon(IDI_APP)) {}

CKoravelDlg::~CKoravelDlg() {
  if (m_hKey != nullptr) ::RegCloseKey(m_hKey);
}

void CKoravelDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_NEW_SLIDER, m_slider);
  DDX_Control(pDX, IDC_CURRENT_BAR, m_progress);
  DDX_Text(pDX, IDC_CURRENT_TEXT, m_strCurrent);
  DDX_Text(pDX, IDC_NEW_TEXT, m_strNew);
}

BOOL CKoravelDlg::CheckPlatform() { return RunPlatformGate(); }

int CKoravelDlg::IconOrigin(int nClient, int nIcon) { return (nClient - nIcon + 1) / 2; }

void CKoravelDlg::OnPaint() {
  if (!IsIconic()) {
    Default();
    return;
  }
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

  const int cxIcon = ::GetSystemMetrics(SM_CXICON);
  const int cyIcon = ::GetSystemMetrics(SM_CYICON);
  RECT rect;
  GetClientRect(&rect);
  dc.DrawIcon(IconOrigin(rect.right - rect.left, cxIcon),
              IconOrigin(rect.bottom - rect.top, cyIcon), m_hIcon);
}

HCURSOR CKoravelDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CKoravelDlg::OnClose() {
  if (m_hKey != nullptr) {
    ::RegCloseKey(m_hKey);
    m_hKey = nullptr;
  }
  // For a dialog, the default turns the close into a cancel.
  Default();
}
