#include "koravel_app.h"

#include <afxres.h>

#include "app/dll_search.h"
#include "command_line/command_run.h"
#include "settings/koravel_dlg.h"
#include "win32/visible_desktop.h"

BEGIN_MESSAGE_MAP(CKoravelApp, CWinApp)
ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

// No name of our own: the framework's default, the executable's name, is the application's name.
// The application object is constructed before WinMain, so this is the first of Koravel's code to
// run: the DLL search is limited here, before anything could load a DLL.
CKoravelApp::CKoravelApp() : CWinApp(nullptr) { RestrictDllSearchToSystem(); }

CKoravelApp theApp;

BOOL CKoravelApp::InitInstance() {
  // A first argument that is a switch asks for a run from a script. Any other start (no
  // arguments, a file dropped on the icon, a word that a shortcut passes) is the dialog's, the
  // arguments ignored, as they always were; but not where no one can see it, where it would wait
  // for ever. The command line is read as Windows passed it, in Unicode (Windows 95 implements
  // GetCommandLineW too).
  CCommandLine commandLine(::GetCommandLineW());
  if (commandLine.IsScriptRun()) {
    m_nScriptExitCode = CCommandRun().Run(commandLine);
    return FALSE;
  }
  if (!IsDesktopVisible()) {
    m_nScriptExitCode = CCommandRun().RefuseDialog();
    return FALSE;
  }

  Enable3dControls();

  CKoravelDlg dlg;
  m_pMainWnd = &dlg;
  dlg.DoModal();

  // The dialog has ended, so there is no message loop to run: FALSE ends the program.
  return FALSE;
}

int CKoravelApp::ExitInstance() {
  CWinApp::ExitInstance();
  return m_nScriptExitCode;
}
