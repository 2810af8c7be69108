// CWinApp: the one application object of the process, and the framework's global functions.
#pragma once

#include "afx/cmd_target.h"

class CWnd;

class CWinApp : public CCmdTarget {
 public:
  // Construction
  // lpszAppName null means the executable's base name. There is one CWinApp per process.
  explicit CWinApp(LPCSTR lpszAppName = nullptr);
  ~CWinApp() override;

  // Attributes
  LPCSTR m_pszAppName = nullptr;
  LPCSTR m_pszExeName = nullptr;       // the executable's base name, without extension
  LPCSTR m_pszHelpFilePath = nullptr;  // the executable's path with the extension .HLP
  HINSTANCE m_hInstance = nullptr;
  LPSTR m_lpCmdLine = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;
  CWnd* m_pMainWnd = nullptr;  // not owned

  // Operations
  HICON LoadIcon(UINT nIDResource) const;
  // Kept for the programs that call it: every Windows that Koravel runs on draws dialog controls
  // in three dimensions by itself, so there is nothing to load.
  BOOL Enable3dControls();

  // Overridables
  virtual BOOL InitInstance();
  // The message loop, for an application whose InitInstance returns TRUE.
  virtual int Run();
  virtual int ExitInstance();

  // Command handlers
  // Opens the application's help file at its contents (ID_HELP).
  afx_msg void OnHelp();

  DECLARE_MESSAGE_MAP()

 private:
  friend BOOL AfxWinInit(HINSTANCE, HINSTANCE, LPSTR, int);
  void SetModuleNames(HINSTANCE hInstance);

  LPCSTR m_pszGivenAppName;
  int m_nExitCode = 0;         // the WM_QUIT code that ended Run
  char* m_pchNames = nullptr;  // m_pszExeName and m_pszHelpFilePath point into it; owned
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
LPCSTR AfxGetAppName();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// The module that holds resource lpszName of type lpszType: the application's own.
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
// Fills in the application object's module attributes; AfxWinMain calls it first.
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
// The framework's entry: initialise, InitInstance, then Run or ExitInstance.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
