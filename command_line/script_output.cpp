#include "command_line/script_output.h"

#include "win32/system_library.h"

CScriptOutput::CScriptOutput(DWORD nStdHandle)
    : m_hOutput(::GetStdHandle(nStdHandle)),
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
  // The second stream finds the console attached already.
  const auto pfnAttach = SYSTEM_FUNCTION(::GetModuleHandleA("kernel32.dll"), AttachConsole);
  if (pfnAttach == nullptr ||
      (!pfnAttach(ATTACH_PARENT_PROCESS) && ::GetLastError() != ERROR_ACCESS_DENIED)) {
    return;
  }
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
  if (m_bHolding) {
    m_strHeld += lpszText;
  } else {
    WriteNow(lpszText);
  }
}

void CScriptOutput::Hold(BOOL bHold) {
  m_bHolding = bHold;
  if (bHold || m_strHeld.IsEmpty()) return;
  WriteNow(m_strHeld);
  m_strHeld.Empty();
}

void CScriptOutput::WriteNow(LPCSTR lpszText) {
  const int cbText = ::lstrlenA(lpszText);
  DWORD cbWritten = 0;
  if (m_hOutput == nullptr || cbText == 0) return;
  const int cchWide = ::MultiByteToWideChar(CP_UTF8, 0, lpszText, cbText, nullptr, 0);
  // Where there is no UTF-8 (Windows 95, where Koravel only says in ASCII that this is not Windows
  // NT), the bytes go as they are.
  if (cchWide <= 0) {
    ::WriteFile(m_hOutput, lpszText, static_cast<DWORD>(cbText), &cbWritten, nullptr);
    return;
  }
  WCHAR* pszWide = new WCHAR[cchWide];
  ::MultiByteToWideChar(CP_UTF8, 0, lpszText, cbText, pszWide, cchWide);
  if (m_bConsole && m_pfnWriteConsole != nullptr) {
    m_pfnWriteConsole(m_hOutput, pszWide, static_cast<DWORD>(cchWide), &cbWritten, nullptr);
  } else {
    const int cbOem =
        ::WideCharToMultiByte(CP_OEMCP, 0, pszWide, cchWide, nullptr, 0, nullptr, nullptr);
    char* pszOem = new char[cbOem > 0 ? cbOem : 1];
    ::WideCharToMultiByte(CP_OEMCP, 0, pszWide, cchWide, pszOem, cbOem, nullptr, nullptr);
    ::WriteFile(m_hOutput, pszOem, static_cast<DWORD>(cbOem > 0 ? cbOem : 0), &cbWritten, nullptr);
    delete[] pszOem;
  }
  delete[] pszWide;
}
