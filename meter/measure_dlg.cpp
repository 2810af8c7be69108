#include "meter/measure_dlg.h"

#include "rates/mouse_device.h"
#include "win32/error_text.h"
#include "win32/system_library.h"

CRateMeter* CMeasureDlg::s_pMeter = nullptr;

BEGIN_MESSAGE_MAP(CMeasureDlg, CDialog)
ON_WM_TIMER()
ON_MESSAGE(WM_INPUT, OnInput)
END_MESSAGE_MAP()

CMeasureDlg::CMeasureDlg(CWnd* pParent)
    : CDialog(CMeasureDlg::IDD, pParent),
      m_bRawInput(FALSE),
      m_hHook(nullptr),
      m_pfnGetData(SYSTEM_FUNCTION(::GetModuleHandleA("user32.dll"), GetRawInputData)),
      m_pfnGetInfo(SYSTEM_FUNCTION(::GetModuleHandleA("user32.dll"), GetRawInputDeviceInfoA)) {}

// The dialog has ended, however it ended, by the time DoModal returns and the object goes.
CMeasureDlg::~CMeasureDlg() {
  if (m_bRawInput) RegisterMice(RIDEV_REMOVE, nullptr);
  if (m_hHook != nullptr) {
    ::UnhookWindowsHookEx(m_hHook);
    s_pMeter = nullptr;
  }
}

void CMeasureDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_MEASURE_LIST, m_list);
}

BOOL CMeasureDlg::RegisterMice(DWORD dwFlags, HWND hTarget) const {
  const auto pfnRegister =
      SYSTEM_FUNCTION(::GetModuleHandleA("user32.dll"), RegisterRawInputDevices);
  // Usage page 1 (generic desktop controls), usage 2: mice.
  const RAWINPUTDEVICE mice = {1, 2, dwFlags, hTarget};
  return pfnRegister != nullptr && m_pfnGetData != nullptr && m_pfnGetInfo != nullptr &&
         pfnRegister(&mice, 1, sizeof mice);
}

BOOL CMeasureDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  RECT rect;
  m_list.GetClientRect(&rect);
  // Half for the name, three tenths for the stored rate, which may be "unknown (error N)".
  const int cxList = rect.right - rect.left;
  m_list.InsertColumn(0, "Mouse", LVCFMT_LEFT, cxList / 2);
  m_list.InsertColumn(1, "Stored rate", LVCFMT_LEFT, cxList * 3 / 10);
  m_list.InsertColumn(2, "Measured rate", LVCFMT_LEFT, cxList - cxList / 2 - cxList * 3 / 10);

  // Raw input reaches the window even while another has the focus.
  m_bRawInput = RegisterMice(RIDEV_INPUTSINK, m_hWnd);
  if (!m_bRawInput) {
    s_pMeter = &m_meter;
    m_hHook = ::SetWindowsHookExA(WH_MOUSE_LL, &CMeasureDlg::MouseProc, AfxGetInstanceHandle(), 0);
    if (m_hHook == nullptr) {
      char szError[2048];
      ErrorText(::GetLastError(), szError, sizeof szError);
      s_pMeter = nullptr;
      CString strText;
      strText.Format("The rate cannot be measured on this Windows.\r\n%s", szError);
      SetDlgItemText(IDC_MEASURE_TEXT, strText);
      return TRUE;
    }
    SetDlgItemText(IDC_MEASURE_TEXT,
                   "This Windows does not tell mice apart: every mouse that moves counts, all in "
                   "one row. Move only the mouse to be measured, in circles, steadily: a mouse "
                   "reports only while it moves, so a slow hand reads low.");
  }
  SetTimer(1, REFRESH, nullptr);
  return TRUE;
}

LRESULT CMeasureDlg::OnInput(WPARAM /*wParam*/, LPARAM lParam) {
  RAWINPUT input;
  UINT cbInput = sizeof input;
  if (m_pfnGetData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &input, &cbInput,
                   sizeof input.header) != static_cast<UINT>(-1) &&
      input.header.dwType == RIM_TYPEMOUSE) {
    // Stamped when the report came in, as the hook's are, not when it is handled here. A report
    // without movement (a button, the wheel) is not counted; for a device that reports where it
    // points, lLastX and lLastY are that position.
    const RAWMOUSE& mouse = input.data.mouse;
    const DWORD dwTime = static_cast<DWORD>(::GetMessageTime());
    if (mouse.usFlags & MOUSE_MOVE_ABSOLUTE) {
      m_meter.AddPosition(input.header.hDevice, mouse.lLastX, mouse.lLastY, dwTime);
    } else if (mouse.lLastX != 0 || mouse.lLastY != 0) {
      m_meter.Add(input.header.hDevice, dwTime);
    }
  }
  // The system's clean-up of the input.
  return Default();
}

LRESULT CALLBACK CMeasureDlg::MouseProc(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HC_ACTION && wParam == WM_MOUSEMOVE && s_pMeter != nullptr) {
    s_pMeter->Add(nullptr, reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->time);
  }
  return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

void CMeasureDlg::AddRow(int nRow) {
  const HANDLE hDevice = m_meter.GetDevice(nRow);
  CString strStored;
  if (!m_bRawInput) {
    m_list.InsertItem(nRow, "All mice together");
  } else if (hDevice == nullptr) {
    // Windows gives no device for input that programs send, nor for a precision touchpad's.
    m_list.InsertItem(nRow, "Precision touchpad, or input sent by a program");
    strStored = "not a PS/2 mouse";
  } else {
    char szName[1024] = "";
    UINT cchName = sizeof szName;
    if (m_pfnGetInfo(hDevice, RIDI_DEVICENAME, szName, &cchName) == static_cast<UINT>(-1)) {
      m_list.InsertItem(nRow, "Unnamed mouse");
      strStored = CStartupRate::FormatUnknown(static_cast<LONG>(::GetLastError()));
    } else {
      // What cannot be looked up is shown as unknown, never guessed.
      const CMouseDevice device(szName);
      m_list.InsertItem(nRow, device.GetName());
      strStored = device.GetError() != ERROR_SUCCESS
                      ? CStartupRate::FormatUnknown(device.GetError())
                  : device.IsPs2() ? device.GetStartupRate().Format()
                                   : CString("not a PS/2 mouse");
    }
  }
  m_list.SetItemText(nRow, 1, strStored);
}

void CMeasureDlg::OnTimer(UINT_PTR /*nIDEvent*/) {
  for (int nRow = 0; nRow < m_meter.GetDeviceCount(); ++nRow) {
    if (nRow == m_list.GetItemCount()) AddRow(nRow);
    // Between measurements (a pause, and the start of the movement after it) the last rate stays.
    const int nRate = m_meter.GetRate(nRow);
    if (nRate < 0) continue;
    CString strRate;
    strRate.Format("%d", nRate);
    m_list.SetItemText(nRow, 2, strRate);
  }
}
