// CDialog: a modal dialog built from a dialog template in the application's resources.
//
// DoModal runs the system's modal dialog loop. The dialog window is bound to the object when it
// receives WM_INITDIALOG, before OnInitDialog runs, so every later message, including those sent
// during OnInitDialog, goes through the message map. Messages the map leaves alone go to the
// system's default dialog procedure; in particular WM_CLOSE becomes the IDCANCEL command, as it
// does for any dialog. Once OnInitDialog has returned, a dialog that it did not move, and that is
// not a child window, is centred (CWnd::CenterWindow).
#pragma once

#include "afx/wnd.h"

class CDialog : public CWnd {
 public:
  // Construction
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

  // Operations
  // Runs the dialog and returns the result passed to EndDialog, or -1 when the dialog could not
  // be created.
  virtual int DoModal();
  void EndDialog(int nResult);

  // Overridables
  // Called before the dialog is first shown; the default copies the members into the controls.
  // TRUE gives the focus to the first tab stop.
  virtual BOOL OnInitDialog();
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;

 protected:
  // The defaults end the dialog: OnOK with IDOK after taking the controls into the members,
  // OnCancel with IDCANCEL.
  virtual void OnOK();
  virtual void OnCancel();

  UINT m_nIDHelp;  // the template's resource ID
  CWnd* m_pParentWnd;

  DECLARE_MESSAGE_MAP()

 private:
  static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  // The window that owns a modal run: the parent given, else the application's main window.
  HWND GetSafeOwner() const;
};
