#include <afxwin.h>

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) { return ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), nIDC); }

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.GetSafeHwnd() != nullptr) return;
  rControl.SubclassWindow(pDX->PrepareCtrl(nIDC));
}

namespace {

CString GetText(HWND hWnd) {
  CString text;
  const int nLength = ::GetWindowTextLengthA(hWnd);
  ::GetWindowTextA(hWnd, text.GetBuffer(nLength), nLength + 1);
  text.ReleaseBuffer();
  return text;
}

bool IsRadioButton(HWND hWnd) {
  return (::SendMessageA(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (hWndCtrl == nullptr) return;
  if (pDX->m_bSaveAndValidate) {
    value = GetText(hWndCtrl);
  } else if (GetText(hWndCtrl) != value) {
    // Setting an unchanged text would only make the control flicker.
    ::SetWindowTextA(hWndCtrl, value);
  }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (hWndCtrl == nullptr) return;
  if (pDX->m_bSaveAndValidate) value = -1;
  int nButton = 0;
  for (HWND hWnd = hWndCtrl; hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
    if (hWnd != hWndCtrl && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_GROUP) != 0) break;
    if (!IsRadioButton(hWnd)) continue;
    if (pDX->m_bSaveAndValidate) {
      if (::SendMessageA(hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED) value = nButton;
    } else {
      ::SendMessageA(hWnd, BM_SETCHECK, nButton == value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    ++nButton;
  }
}
