#include "command_line/command_run.h"

#include "platform_gate/platform_gate.h"
#include "win32/error_text.h"

volatile LONG CCommandRun::s_bChanging = FALSE;

CCommandRun::CCommandRun() : m_output(STD_OUTPUT_HANDLE), m_errors(STD_ERROR_HANDLE) {
  ::SetConsoleCtrlHandler(&CCommandRun::OnConsoleEvent, TRUE);
}

CCommandRun::~CCommandRun() { ::SetConsoleCtrlHandler(&CCommandRun::OnConsoleEvent, FALSE); }

BOOL WINAPI CCommandRun::OnConsoleEvent(DWORD dwEvent) {
  // Koravel may run as SYSTEM, so a user who logs off does not end it either.
  if (dwEvent != CTRL_CLOSE_EVENT && dwEvent != CTRL_SHUTDOWN_EVENT) return TRUE;
  while (s_bChanging) ::Sleep(10);
  // The next handler, the system's, ends the process.
  return FALSE;
}

int CCommandRun::Run(CCommandLine& commandLine) {
  if (!commandLine.Parse()) {
    // An argument may be of any length: its first 60 characters say which one.
    CString strText;
    if (const LPCWSTR lpszArgument = commandLine.GetErrorArgument()) {
      char szArgument[256];  // 60 characters of UTF-8
      const int cchArgument = ::lstrlenW(lpszArgument) < 60 ? ::lstrlenW(lpszArgument) : 60;
      szArgument[::WideCharToMultiByte(CP_UTF8, 0, lpszArgument, cchArgument, szArgument,
                                       sizeof szArgument - 1, nullptr, nullptr)] = '\0';
      strText.Format("Koravel: %s: \"%s\".\r\n", commandLine.GetError(), szArgument);
    } else {
      strText.Format("Koravel: %s.\r\n", commandLine.GetError());
    }
    m_errors.Write(strText);
    m_errors.Write("Koravel: nothing was done; Koravel /? lists the switches.\r\n");
    return ERROR_INVALID_PARAMETER;
  }
  if (commandLine.GetAction() == CCommandLine::HELP) return ShowHelp();
  if (!IsWindowsNt()) {
    m_errors.Write("Koravel: this is not Windows NT; nothing was touched.\r\n");
    return ERROR_OLD_WIN_VERSION;
  }
  return commandLine.GetAction() == CCommandLine::QUERY
             ? Query()
             : SetRate(commandLine.GetRate(), commandLine.IsRestart());
}

int CCommandRun::RefuseDialog() {
  return Fail(ERROR_REQUIRES_INTERACTIVE_WINDOWSTATION,
              "No one can see a window here (a service's window station, or session 0): Koravel "
              "showed none, and touched nothing. Koravel /? lists the switches, which need none.");
}

int CCommandRun::ShowHelp() {
  m_output.Write(
      "Koravel sets the PS/2 mouse sample rate that Windows uses when it starts.\r\n"
      "\r\n"
      "Koravel /query    the rates stored, a line each, fields separated by tabs:\r\n"
      "                    driver RATE\r\n"
      "                    mouse NAME INSTANCE-ID OWN-RATE RATE-AT-START\r\n"
      "                  (OWN-RATE \"none\": the mouse reads the driver's)\r\n"
      "Koravel /set N    N (10, 20, 40, 60, 80, 100 or 200) into the driver's key and\r\n"
      "  [/restart]      each PS/2 mouse's own, whole or not at all; /restart restarts\r\n"
      "                  Windows where that is needed\r\n"
      "Switches: / or -, any case; a value after a space or a colon.\r\n"
      "\r\n"
      "Exit codes: 0 done, or nothing to change; 3010 written, for the next start;\r\n"
      "1641 written, Windows restarting; 87 command line not understood, nothing done;\r\n"
      "1150 not Windows NT, nothing done; 1459 no switch where no one sees a window;\r\n"
      "1618 another change in progress, nothing done; 536936449 failed, not put back\r\n"
      "everywhere; other: Windows' error (2: key or value missing; 5: access denied;\r\n"
      "0x2000xxxx: SetupAPI's 0xE000xxxx).\r\n");
  return ERROR_SUCCESS;
}

int CCommandRun::ExitCode(LONG lError) {
  const LONG lCode =
      lError < 0 ? static_cast<LONG>(static_cast<DWORD>(lError) & 0x3FFFFFFF) : lError;
  return lCode != ERROR_SUCCESS ? static_cast<int>(lCode) : ERROR_GEN_FAILURE;
}

int CCommandRun::Fail(LONG lError, LPCSTR lpszNote) {
  char szText[2048];
  ErrorTextWithNote(static_cast<DWORD>(lError), lpszNote, szText, sizeof szText, CP_UTF8);
  const int cbText = ::lstrlenA(szText);
  m_errors.Write("Koravel: ");
  m_errors.Write(szText);
  if (cbText == 0 || szText[cbText - 1] != '\n') m_errors.Write("\r\n");
  return ExitCode(lError);
}
