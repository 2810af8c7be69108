#include <afxwin.h>

#include "win32/system_library.h"

namespace {

// The window property that holds the bound CWnd*.
const char kWndProperty[] = "Koravel.AfxWnd";

// The message being handled, for Default(). Handlers can send messages that are handled before
// they return, so AfxWndProc saves and restores it around each call.
struct CurrentMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
CurrentMessage g_current = {0, 0, 0};

// The work area of the monitor that hWnd is on. Windows NT 4.0 and 95 know one monitor only, and
// neither the functions that tell monitors apart: there, the work area of the screen.
RECT WorkAreaOf(HWND hWnd) {
  const HMODULE hUser = ::GetModuleHandleA("user32.dll");
  const auto pfnMonitorFromWindow = SYSTEM_FUNCTION(hUser, MonitorFromWindow);
  const auto pfnGetMonitorInfo = SYSTEM_FUNCTION(hUser, GetMonitorInfoA);
  MONITORINFO monitor;
  monitor.cbSize = sizeof monitor;
  if (pfnMonitorFromWindow != nullptr && pfnGetMonitorInfo != nullptr &&
      pfnGetMonitorInfo(pfnMonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return monitor.rcWork;
  }
  RECT work = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

}  // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd() {
  if (m_hWnd != nullptr) UnsubclassWindow();
  if (CWinApp* pApp = AfxGetApp()) {
    if (pApp->m_pMainWnd == this) pApp->m_pMainWnd = nullptr;
  }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
  return hWnd != nullptr ? static_cast<CWnd*>(::GetPropA(hWnd, kWndProperty)) : nullptr;
}

BOOL CWnd::Attach(HWND hWnd) {
  if (hWnd == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWnd) != nullptr) return FALSE;
  if (!::SetPropA(hWnd, kWndProperty, this)) return FALSE;
  m_hWnd = hWnd;
  m_pfnSuper = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::AfxWndProc)));
  return TRUE;
}

BOOL CWnd::SubclassWindow(HWND hWnd) { return Attach(hWnd); }

HWND CWnd::UnsubclassWindow() {
  HWND hWnd = m_hWnd;
  if (hWnd == nullptr) return nullptr;
  if (m_pfnSuper != nullptr) {
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  }
  ::RemovePropA(hWnd, kWndProperty);
  m_pfnSuper = nullptr;
  m_hWnd = nullptr;
  return hWnd;
}

LRESULT CALLBACK CWnd::AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* pWnd = FromHandlePermanent(hWnd);
  if (pWnd == nullptr) return ::DefWindowProcA(hWnd, message, wParam, lParam);
  const CurrentMessage saved = g_current;
  g_current = {message, wParam, lParam};
  const LRESULT lResult = pWnd->WindowProc(message, wParam, lParam);
  g_current = saved;
  // The window is gone once WM_NCDESTROY has been handled.
  if (message == WM_NCDESTROY) pWnd->UnsubclassWindow();
  return lResult;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT lResult = 0;
  if (!OnWndMsg(message, wParam, lParam, &lResult))
    lResult = DefWindowProc(message, wParam, lParam);
  return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper != nullptr) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  return DefWindowProc(g_current.message, g_current.wParam, g_current.lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    *pResult = 0;
    return TRUE;
  }
  if (message == WM_NOTIFY) return OnNotify(wParam, lParam, pResult);

  const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(GetMessageMap(), message, 0, 0);
  if (pEntry == nullptr) return FALSE;
  switch (pEntry->nSig) {
    case AfxSig_vv:
      (this->*pEntry->pfn.pfn_vv)();
      *pResult = 0;
      return TRUE;
    case AfxSig_vw:
      (this->*pEntry->pfn.pfn_vw)(static_cast<UINT_PTR>(wParam));
      *pResult = 0;
      return TRUE;
    case AfxSig_vwl:
      (this->*pEntry->pfn.pfn_vwl)(static_cast<UINT>(wParam), lParam);
      *pResult = 0;
      return TRUE;
    case AfxSig_lwl:
      *pResult = (this->*pEntry->pfn.pfn_lwl)(wParam, lParam);
      return TRUE;
    case AfxSig_hv:
      *pResult = reinterpret_cast<LRESULT>((this->*pEntry->pfn.pfn_hv)());
      return TRUE;
    case AfxSig_vwwW: {
      // The control that scrolled, as a temporary CScrollBar for its window: never bound to it,
      // and valid only during the call. Null for a window's own scroll bar.
      CScrollBar temporary;
      temporary.m_hWnd = reinterpret_cast<HWND>(lParam);
      (this->*pEntry->pfn.pfn_vwwW)(LOWORD(wParam), HIWORD(wParam),
                                    lParam != 0 ? &temporary : nullptr);
      temporary.m_hWnd = nullptr;
      *pResult = 0;
      return TRUE;
    }
    default:
      return FALSE;
  }
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
  return OnCmdMsg(LOWORD(wParam), HIWORD(wParam), nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM /*wParam*/, LPARAM lParam, LRESULT* pResult) {
  const NMHDR* pHeader = reinterpret_cast<const NMHDR*>(lParam);
  if (pHeader == nullptr) return FALSE;
  const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(GetMessageMap(), WM_NOTIFY, pHeader->code,
                                                    static_cast<UINT>(pHeader->idFrom));
  if (pEntry == nullptr || pEntry->nSig != AfxSigNotify_v) return FALSE;
  *pResult = 0;
  (this->*pEntry->pfn.pfnNotify_v)(reinterpret_cast<NMHDR*>(lParam), pResult);
  return TRUE;
}

void CWnd::DoDataExchange(CDataExchange* /*pDX*/) {}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
  HWND hOwner =
      pAlternateOwner != nullptr ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
  RECT over, rect;
  const RECT work = WorkAreaOf(hOwner != nullptr ? hOwner : m_hWnd);
  if (hOwner == nullptr || !::IsWindowVisible(hOwner) || ::IsIconic(hOwner)) {
    over = work;
  } else {
    ::GetWindowRect(hOwner, &over);
  }
  ::GetWindowRect(m_hWnd, &rect);
  const int cx = rect.right - rect.left, cy = rect.bottom - rect.top;
  // Centred, but kept on the work area, its top left corner first.
  int x = (over.left + over.right - cx) / 2, y = (over.top + over.bottom - cy) / 2;
  if (x + cx > work.right) x = work.right - cx;
  if (y + cy > work.bottom) y = work.bottom - cy;
  if (x < work.left) x = work.left;
  if (y < work.top) y = work.top;
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }

void CWnd::GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const {
  return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }

void CWnd::SetDlgItemText(int nID, LPCSTR lpszString) {
  ::SetDlgItemTextA(m_hWnd, nID, lpszString);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse,
                        void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD)) {
  return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
  return reinterpret_cast<HICON>(
      SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
  return ::MessageBoxA(GetSafeHwnd(), lpszText,
                       lpszCaption != nullptr ? lpszCaption : AfxGetAppName(), nType);
}
