#include <afxwin.h>
#include <commctrl.h>

#include "win32/system_library.h"

namespace {

// Templates may hold common controls, whose window classes must exist before the dialog does.
// COMCTL32 is loaded here, for the first dialog, and stays: a program that makes no window (run
// from a script) never loads it, nor pays for its start. It is loaded by name, so that the
// manifest's Common Controls 6 stands in for the system's version 5. Version 6 registers the
// classes only through InitCommonControlsEx, which COMCTL32 has from version 4.70 on; version 4.00
// (Windows NT 4.0 and 95 as installed) has InitCommonControls only.
void RegisterCommonControls() {
  const HMODULE hComctl = ::LoadLibraryA("comctl32.dll");
  const auto pfnInitEx = SYSTEM_FUNCTION(hComctl, InitCommonControlsEx);
  static const INITCOMMONCONTROLSEX controls = {
      sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
  if (pfnInitEx == nullptr || !pfnInitEx(&controls)) {
    if (const auto pfnInit = SYSTEM_FUNCTION(hComctl, InitCommonControls)) pfnInit();
  }
}

}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}

HWND CDialog::GetSafeOwner() const {
  if (m_pParentWnd != nullptr) return m_pParentWnd->GetSafeHwnd();
  const CWnd* pMain = AfxGetMainWnd();
  return pMain != nullptr && pMain != this ? pMain->GetSafeHwnd() : nullptr;
}

int CDialog::DoModal() {
  RegisterCommonControls();
  const LPCSTR lpszTemplate = MAKEINTRESOURCEA(m_nIDHelp);
  const INT_PTR nResult =
      ::DialogBoxParamA(AfxFindResourceHandle(lpszTemplate, RT_DIALOG), lpszTemplate,
                        GetSafeOwner(), &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  return static_cast<int>(nResult);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM /*wParam*/, LPARAM lParam) {
  // Once bound, the dialog's messages reach the object through AfxWndProc, which hands what the
  // map leaves alone to the system's dialog procedure; that calls back here, and FALSE tells it
  // to do its default processing.
  if (message != WM_INITDIALOG) return FALSE;
  CDialog* pDialog = reinterpret_cast<CDialog*>(lParam);
  if (!pDialog->Attach(hWnd)) {
    ::EndDialog(hWnd, -1);
    return FALSE;
  }
  RECT before, after;
  ::GetWindowRect(hWnd, &before);
  const BOOL bResult = pDialog->OnInitDialog();
  // A dialog that is not a child window, and that its OnInitDialog did not move, opens centred.
  ::GetWindowRect(hWnd, &after);
  if (!(::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) && ::EqualRect(&before, &after)) {
    pDialog->CenterWindow();
  }
  return bResult;
}

void CDialog::EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) {
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  // Commands the dialog does not handle go on to the application, as in a frame window.
  CWinApp* pApp = AfxGetApp();
  return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
