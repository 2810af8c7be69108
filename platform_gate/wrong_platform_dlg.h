// CWrongPlatformDlg: the questionnaire shown instead of the settings when Koravel runs on
// something other than Windows NT. It asks why, and answers the chosen reason.
#pragma once

#include <afxwin.h>

#include "resources/resource.h"

class CWrongPlatformDlg : public CDialog {
 public:
  // Construction
  explicit CWrongPlatformDlg(CWnd* pParent = nullptr);

  // Dialog data
  enum { IDD = IDD_WRONG_PLATFORM };
  int m_nChoice;  // index of the checked reason, 0 to 4; -1 when none is checked

 protected:
  // Overridables
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;

  DECLARE_MESSAGE_MAP()
};
