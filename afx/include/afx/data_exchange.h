// CDataExchange and the DDX_ functions: copying values between a dialog's members and its
// controls, in the direction that m_bSaveAndValidate names.
#pragma once

#include <windows.h>

class CWnd;
class CString;

class CDataExchange {
 public:
  // Construction
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);
  CDataExchange(const CDataExchange&) = delete;
  CDataExchange& operator=(const CDataExchange&) = delete;

  // Attributes
  BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
  CWnd* m_pDlgWnd;

  // Operations
  // The dialog's control nIDC, or null when the dialog has none of that ID.
  HWND PrepareCtrl(int nIDC);
};

// Binds rControl to control nIDC, once: later exchanges leave it as it is.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// The control's window text.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// The index of the checked button in the radio group that starts at control nIDC and runs to the
// next control with WS_GROUP; -1 when none is checked. Loading -1 clears the group.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
