// CKoravelApp: the application object. Koravel is a dialog-based program: its whole life is one
// modal run of the settings dialog, or, started with a switch, one run from a script, with no
// window and an exit code (command_line/command_run.h).
#pragma once

#include <afxwin.h>

class CKoravelApp : public CWinApp {
 public:
  // Construction
  CKoravelApp();

  // Overridables
  BOOL InitInstance() override;
  // The exit code: that of the run from a script; 0 after the dialog, as the framework's.
  int ExitInstance() override;

  DECLARE_MESSAGE_MAP()

 private:
  int m_nScriptExitCode = 0;  // of a run from a script
};

extern CKoravelApp theApp;
