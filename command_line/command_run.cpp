#include "command_line/command_run.h"

#include "command_line/run_log.h"
#include "platform_gate/platform_gate.h"
#include "rates/stored_rates.h"
#include "win32/error_text.h"

volatile LONG CCommandRun::s_lChange = IDLE;

CCommandRun::CCommandRun() : m_output(STD_OUTPUT_HANDLE), m_errors(STD_ERROR_HANDLE) {
  ::SetConsoleCtrlHandler(&CCommandRun::OnConsoleEvent, TRUE);
}

CCommandRun::~CCommandRun() {
  ::SetConsoleCtrlHandler(&CCommandRun::OnConsoleEvent, FALSE);
  delete m_pBefore;
  delete m_pAfter;
}

const CStoredRates& CCommandRun::Read() {
  CStoredRates*& pRates = m_pBefore == nullptr ? m_pBefore : m_pAfter;
  delete pRates;
  pRates = new CStoredRates;
  return *pRates;
}

BOOL WINAPI CCommandRun::OnConsoleEvent(DWORD dwEvent) {
  if (dwEvent == CTRL_C_EVENT || dwEvent == CTRL_BREAK_EVENT) return TRUE;
  // A run as SYSTEM hears every user's logoff, and goes on; the logoff of its own user ends it once
  // this returns, which waits for a change in progress.
  if (dwEvent == CTRL_LOGOFF_EVENT) {
    while (s_lChange == CHANGING) ::Sleep(10);
    return TRUE;
  }
  if (dwEvent != CTRL_CLOSE_EVENT && dwEvent != CTRL_SHUTDOWN_EVENT) return FALSE;
  // The process ends once this returns, but its other threads run on until then: from here on no
  // change may begin.
  while (::InterlockedCompareExchange(&s_lChange, CLOSING, IDLE) == CHANGING) ::Sleep(10);
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
  // Windows 95 has no log to keep (nor the Unicode file functions to open one).
  if (!IsWindowsNt()) {
    m_errors.Write("Koravel: this is not Windows NT; nothing was touched.\r\n");
    return ERROR_OLD_WIN_VERSION;
  }
  // The log is opened first: a run whose log cannot be kept reads and writes nothing.
  CRunLog log;
  if (commandLine.GetLog() != nullptr) {
    const LONG lResult = log.Open(commandLine.GetLog());
    if (lResult != ERROR_SUCCESS) {
      return Fail(lResult, "The log cannot be opened for appending: nothing was read or written.");
    }
  }
  int nExit;
  if (commandLine.GetAction() == CCommandLine::QUERY) {
    nExit = Query(commandLine.IsJson());
  } else if (commandLine.GetAction() == CCommandLine::CHECK) {
    nExit = Check(commandLine.GetRate(), commandLine.IsJson());
  } else {
    nExit = SetRate(commandLine.GetRate(), commandLine.IsRestart());
  }
  const LONG lLogged = log.Append(commandLine.GetText(), m_pBefore,
                                  m_pAfter != nullptr ? m_pAfter : m_pBefore, nExit);
  // A change's line is in the log before a closing console may end the process, and before what
  // it says is written, which may block.
  ::InterlockedCompareExchange(&s_lChange, IDLE, CHANGING);
  m_output.Hold(FALSE), m_errors.Hold(FALSE);
  if (lLogged != ERROR_SUCCESS) {
    // A run that only read failed at what it was asked for; a change stays what it was.
    const int nLogExit = Fail(lLogged, "The run's line could not be appended to the log.");
    if (commandLine.GetAction() != CCommandLine::SET) nExit = nLogExit;
  }
  return nExit;
}

int CCommandRun::RefuseDialog() {
  return Fail(ERROR_REQUIRES_INTERACTIVE_WINDOWSTATION,
              "No one can see a window here: Koravel showed none and changed nothing. Koravel /? "
              "lists its switches.");
}

int CCommandRun::ShowHelp() {
  m_output.Write(
      "Koravel: the PS/2 mouse sample rate that Windows uses when it starts.\r\n"
      "  /query             the rates stored, a line each, separated by tabs\r\n"
      "  /set N [/restart]  N (10 20 40 60 80 100 200) for the driver and each PS/2\r\n"
      "                     mouse, whole or none; then a restart, if needed\r\n"
      "  /check N           0 if /set N would write nothing, 1 if it would\r\n"
      "  /json              with /query or /check: a line of JSON, in UTF-8\r\n"
      "  /log FILE          a line of JSON for the run, appended to FILE\r\n"
      "Exit codes: 0 done; 3010 written, restart needed; 1641 restarting; 87 not\r\n"
      "understood; 1150 not NT; 1459 no switch where no one sees; 1618 another\r\n"
      "change running; 536936449 not put back everywhere; else Windows' error.\r\n");
  return ERROR_SUCCESS;
}

int CCommandRun::ExitCode(LONG lError) {
  // Negative as exit codes: SetupAPI's (their customer bit set) without their two severity bits,
  // 0x2000xxxx; a Win32 error as an HRESULT as itself; any other without its sign.
  const DWORD dwError = static_cast<DWORD>(lError);
  const DWORD dwCode = lError >= 0                                   ? dwError
                       : (dwError & 0x20000000) != 0                 ? dwError & 0x3FFFFFFF
                       : HRESULT_FACILITY(dwError) == FACILITY_WIN32 ? HRESULT_CODE(dwError)
                                                                     : dwError & 0x7FFFFFFF;
  return dwCode == ERROR_SUCCESS            ? ERROR_GEN_FAILURE
         : dwCode == ERROR_INVALID_FUNCTION ? WINDOWS_ERROR_1
                                            : static_cast<int>(dwCode);
}

int CCommandRun::Fail(LONG lError, LPCSTR lpszNote) {
  // In one write: runs that share a console or a file do not mix their lines.
  char szText[2048];
  ErrorTextWithNote(static_cast<DWORD>(lError), lpszNote, szText, sizeof szText, CP_UTF8);
  CString strText = "Koravel: ";
  strText += szText;
  if (strText[strText.GetLength() - 1] != '\n') strText += "\r\n";
  m_errors.Write(strText);
  return ExitCode(lError);
}
