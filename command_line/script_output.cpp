#include "command_line/script_output.h"

#include "win32/system_library.h"

CScriptOutput::CScriptOutput()
    : m_hOutput(::GetStdHandle(STD_OUTPUT_HANDLE)),
      m_bConsole(FALSE),
      m_bOwned(FALSE),
      m_pfnWriteConsole(SYSTEM_FUNCTION(::GetModuleHandleA("kernel32.dll"), WriteConsoleW)) {
  // A handle that is there and names something. A Windows program started from a console without
  // redirection has none, or one of a console it is not attached to, of which GetFileType fails.
  if (m_hOutput != nullptr && m_hOutput != INVALID_HANDLE_VALUE &&
      (::GetFileType(m_hOutput) != FILE_TYPE_UNKNOWN || ::GetLastError() == NO_ERROR)) {
    DWORD dwMode = 0;
    m_bConsole = ::GetConsoleMode(m_hOutput, &dwMode);
    return;
  }
  m_hOutput = nullptr;
  const auto pfnAttach = SYSTEM_FUNCTION(::GetModuleHandleA("kernel32.dll"), AttachConsole);
  if (pfnAttach == nullptr || !pfnAttach(ATTACH_PARENT_PROCESS)) return;
  // The parent's console does not wait for a Windows program: a Ctrl+C typed there meanwhile must
  // not end a change half made.
  ::SetConsoleCtrlHandler(nullptr, TRUE);
  const HANDLE hConsole =
      ::CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
  if (hConsole == INVALID_HANDLE_VALUE) return;
  m_hOutput = hConsole;
  m_bConsole = m_bOwned = TRUE;
}

CScriptOutput::~CScriptOutput() {
  if (m_bOwned) ::CloseHandle(m_hOutput);
}

void CScriptOutput::Write(LPCSTR lpszText) {
  if (m_hOutput == nullptr) return;
  const int cchText = ::lstrlenA(lpszText);
  DWORD cbWritten = 0;
  if (!m_bConsole || m_pfnWriteConsole == nullptr) {
    ::WriteFile(m_hOutput, lpszText, static_cast<DWORD>(cchText), &cbWritten, nullptr);
    return;
  }
  // A console shows its own code page, not the ANSI one that names are in: the text goes through
  // Unicode there.
  const int cchWide = ::MultiByteToWideChar(CP_ACP, 0, lpszText, cchText, nullptr, 0);
  if (cchWide <= 0) return;
  WCHAR* pszWide = new WCHAR[cchWide];
  ::MultiByteToWideChar(CP_ACP, 0, lpszText, cchText, pszWide, cchWide);
  m_pfnWriteConsole(m_hOutput, pszWide, static_cast<DWORD>(cchWide), &cbWritten, nullptr);
  delete[] pszWide;
}
