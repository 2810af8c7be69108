#include <afxwin.h>
#include <afxres.h>

#include <cstring>

namespace {
CWinApp* g_pApp = nullptr;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName) : m_pszGivenAppName(lpszAppName) {
  g_pApp = this;
  m_pszAppName = lpszAppName;
}

CWinApp::~CWinApp() {
  if (g_pApp == this) g_pApp = nullptr;
  delete[] m_pchNames;
}

void CWinApp::SetModuleNames(HINSTANCE hInstance) {
  char szPath[MAX_PATH];
  const DWORD nLength = ::GetModuleFileNameA(hInstance, szPath, MAX_PATH);
  if (nLength == 0 || nLength >= MAX_PATH) return;

  // Both names in a block of the object's own: the help file's path, then the executable's name.
  delete[] m_pchNames;
  m_pchNames = new char[2 * MAX_PATH];
  char* const pszHelpFilePath = m_pchNames;
  char* const pszExeName = m_pchNames + MAX_PATH;

  // The help file sits beside the executable: C:\Dir\Name.EXE -> C:\Dir\Name.HLP.
  std::strcpy(pszHelpFilePath, szPath);
  char* pDot = std::strrchr(pszHelpFilePath, '.');
  if (pDot != nullptr && std::strchr(pDot, '\\') == nullptr &&
      pDot - pszHelpFilePath + 5 < MAX_PATH) {
    std::strcpy(pDot, ".HLP");
  }
  m_pszHelpFilePath = pszHelpFilePath;

  const char* pName = std::strrchr(szPath, '\\');
  pName = pName != nullptr ? pName + 1 : szPath;
  std::strcpy(pszExeName, pName);
  pDot = std::strrchr(pszExeName, '.');
  if (pDot != nullptr) *pDot = '\0';
  m_pszExeName = pszExeName;
  if (m_pszGivenAppName == nullptr) m_pszAppName = pszExeName;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
  const LPCSTR lpszName = MAKEINTRESOURCEA(nIDResource);
  return ::LoadIconA(AfxFindResourceHandle(lpszName, RT_GROUP_ICON), lpszName);
}

BOOL CWinApp::Enable3dControls() { return TRUE; }

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() {
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  m_nExitCode = static_cast<int>(msg.wParam);
  return ExitInstance();
}

int CWinApp::ExitInstance() { return m_nExitCode; }

void CWinApp::OnHelp() {
  if (m_pszHelpFilePath == nullptr) return;
  ::WinHelpA(m_pMainWnd != nullptr ? m_pMainWnd->GetSafeHwnd() : nullptr, m_pszHelpFilePath,
             HELP_FINDER, 0);
}

CWinApp* AfxGetApp() { return g_pApp; }

CWnd* AfxGetMainWnd() { return g_pApp != nullptr ? g_pApp->m_pMainWnd : nullptr; }

LPCSTR AfxGetAppName() {
  return g_pApp != nullptr && g_pApp->m_pszAppName != nullptr ? g_pApp->m_pszAppName : "";
}

HINSTANCE AfxGetInstanceHandle() {
  return g_pApp != nullptr && g_pApp->m_hInstance != nullptr ? g_pApp->m_hInstance
                                                             : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

HINSTANCE AfxFindResourceHandle(LPCSTR /*lpszName*/, LPCSTR /*lpszType*/) {
  return AfxGetResourceHandle();
}

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPSTR lpCmdLine, int nCmdShow) {
  if (g_pApp == nullptr) return FALSE;
  g_pApp->m_hInstance = hInstance;
  g_pApp->m_lpCmdLine = lpCmdLine;
  g_pApp->m_nCmdShow = nCmdShow;
  g_pApp->SetModuleNames(hInstance);
  return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  CWinApp* pApp = AfxGetApp();
  if (pApp == nullptr || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow)) return -1;
  if (!pApp->InitInstance()) return pApp->ExitInstance();
  return pApp->Run();
}
