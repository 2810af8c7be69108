// CKoravelApp: the application object. Koravel is a dialog-based program: its whole life is one
// modal run of the settings dialog, or, started with a switch (or where no one could see the
// dialog), one run from a script, with no window and an exit code (command_line/command_run.h).
#pragma once

#include <afxwin.h>

class CKoravelApp : public CWinApp {
 public:
  // Construction
  CKoravelApp();

  // Overridables
  BOOL InitInstance() override;
  // The exit code: that of the run without a window; 0 after the dialog, as the framework's.
  int ExitInstance() override;

  DECLARE_MESSAGE_MAP()

 private:
  int m_nScriptExitCode = 0;  // of a run without a window
};

extern CKoravelApp theApp;
