// CWnd: a C++ object bound to a window, with message-map dispatch.
//
// A CWnd is bound to its window once: a dialog when it is created (WM_INITDIALOG), a dialog
// control when data exchange first attaches it (SubclassWindow). From then on the window's
// messages go through WindowProc and the message map, and whatever the map does not handle goes
// on to the window's own procedure. The binding ends when the window is destroyed (WM_NCDESTROY)
// or the object is, whichever comes first; the object never destroys a window it did not create.
#pragma once

#include "afx/cmd_target.h"

class CDataExchange;
class CMenu;

class CWnd : public CCmdTarget {
 public:
  // Construction
  CWnd() = default;
  ~CWnd() override;

  // Attributes
  HWND m_hWnd = nullptr;
  HWND GetSafeHwnd() const { return m_hWnd; }
  // The object bound to hWnd, or null when none is.
  static CWnd* FromHandlePermanent(HWND hWnd);
  BOOL IsIconic() const;
  void GetClientRect(LPRECT lpRect) const;
  // The window's system menu, borrowed from the window: never destroy it. Null when the window
  // has none.
  CMenu* GetSystemMenu(BOOL bRevert) const;

  // Operations
  BOOL SubclassWindow(HWND hWnd);
  HWND UnsubclassWindow();
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL EnableWindow(BOOL bEnable = TRUE);
  void SetDlgItemText(int nID, LPCSTR lpszString);
  // A timer of the window, which goes with it: WM_TIMER with nIDEvent every nElapse
  // milliseconds, or calls of lpfnTimer where there is one. 0 when the system has no timer left.
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse,
                    void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD));
  // Centres the window over its owner (or pAlternateOwner) while that is visible and not
  // minimised, otherwise on the work area of its monitor; it stays on the work area of the
  // owner's monitor either way.
  void CenterWindow(CWnd* pAlternateOwner = nullptr);
  HICON SetIcon(HICON hIcon, BOOL bBigIcon);
  // A message box owned by this window; a null caption stands for the application's name.
  int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = nullptr, UINT nType = MB_OK);
  // TRUE copies the controls into the members, FALSE the members into the controls.
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

  // Overridables
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  virtual void DoDataExchange(CDataExchange* pDX);
  // Default processing for the message being handled: the window's own procedure.
  LRESULT Default();

  // Binds this object to hWnd and routes hWnd's messages through AfxWndProc.
  BOOL Attach(HWND hWnd);
  static LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

  DECLARE_MESSAGE_MAP()

 private:
  WNDPROC m_pfnSuper = nullptr;  // the window's procedure before we bound it
};
