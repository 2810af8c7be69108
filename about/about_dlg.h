// CAboutDlg: the About box, opened from the settings dialog's system menu.
#pragma once

#include <afxwin.h>

#include "resources/resource.h"

class CAboutDlg : public CDialog {
 public:
  // Construction
  CAboutDlg();

  // Dialog data
  enum { IDD = IDD_ABOUT };

 protected:
  // Overridables
  void DoDataExchange(CDataExchange* pDX) override;

  DECLARE_MESSAGE_MAP()
};
