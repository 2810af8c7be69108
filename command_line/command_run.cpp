#include "command_line/command_run.h"

#include "platform_gate/platform_gate.h"
#include "win32/error_text.h"

int CCommandRun::Run(int nArgs, const char* const* ppszArgs) {
  CCommandLine commandLine;
  if (!commandLine.Parse(nArgs, ppszArgs)) {
    // An argument may be of any length: its first 60 characters say which one.
    CString strText;
    if (commandLine.GetErrorArgument() != nullptr) {
      strText.Format("Koravel: %s: \"%.60s\".\r\n", commandLine.GetError(),
                     commandLine.GetErrorArgument());
    } else {
      strText.Format("Koravel: %s.\r\n", commandLine.GetError());
    }
    m_output.Write(strText);
    m_output.Write("Koravel: nothing was done; Koravel /? lists the switches.\r\n");
    return ERROR_INVALID_PARAMETER;
  }
  if (commandLine.GetAction() == CCommandLine::HELP) return ShowHelp();
  if (!IsWindowsNt()) {
    m_output.Write("Koravel: this is not Windows NT; nothing was touched.\r\n");
    return ERROR_OLD_WIN_VERSION;
  }
  return commandLine.GetAction() == CCommandLine::QUERY
             ? Query()
             : SetRate(commandLine.GetRate(), commandLine.IsRestart());
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
      "1150 not Windows NT, nothing done; 536870913 failed, not put back everywhere;\r\n"
      "other: Windows' error (2: key or value missing; 5: access denied).\r\n");
  return ERROR_SUCCESS;
}

int CCommandRun::Fail(LONG lError, LPCSTR lpszNote) {
  char szText[2048];
  ErrorTextWithNote(static_cast<DWORD>(lError), lpszNote, szText, sizeof szText);
  const int cchText = ::lstrlenA(szText);
  m_output.Write("Koravel: ");
  m_output.Write(szText);
  if (cchText == 0 || szText[cchText - 1] != '\n') m_output.Write("\r\n");
  return lError;
}
