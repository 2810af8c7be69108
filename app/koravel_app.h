// CKoravelApp: the application object. Koravel is a dialog-based program: its whole life is one
// modal run of the settings dialog.
#pragma once

#include <afxwin.h>

class CKoravelApp : public CWinApp {
 public:
  // Construction
  CKoravelApp();

  // Overridables
  BOOL InitInstance() override;

  DECLARE_MESSAGE_MAP()
};

extern CKoravelApp theApp;
