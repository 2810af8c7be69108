// CCommandRun: Koravel run from a script, a start-up script or a deployment tool. It shows no
// window at all (on a machine that no one watches, nothing may wait for a click), does what its
// command line asks (command_line/command_line.h), says what it did (command_line/
// script_output.h): the data (/query's lines, what /set wrote where) on standard output, what went
// wrong on standard error. It ends with an exit code that deployment tools know without being told,
// never below 1 for a failure (a batch file's "if errorlevel 1" reads a negative code as success):
//
//   0              done, or nothing to change; /check: compliant
//   1              /check: not compliant (/set would write)
//   3010           written; takes effect when Windows restarts (ERROR_SUCCESS_REBOOT_REQUIRED)
//   1641           written, and Windows is restarting (ERROR_SUCCESS_REBOOT_INITIATED)
//   87             the command line is not understood; nothing was read or written
//   1150           Windows 95, 98 or Me: nothing was touched (ERROR_OLD_WIN_VERSION)
//   1459           started without a switch where no one can see a window: nothing was touched
//                  (ERROR_REQUIRES_INTERACTIVE_WINDOWSTATION)
//   1618           another change held the machine's change lock: nothing was changed
//                  (ERROR_INSTALL_ALREADY_RUNNING, which deployment tools retry)
//   Windows' code  the registry or SetupAPI failed (2 where the driver's key or value is missing);
//                  SetupAPI's own (0xE000xxxx) without their two severity bits, 0x2000xxxx
//   PARTLY_CHANGED a change failed and could not be put back everywhere
//   WINDOWS_ERROR_1  Windows' error 1, should it come: 1 is /check's "not compliant"
#pragma once

#include <afx.h>

#include "command_line/command_line.h"
#include "command_line/script_output.h"

class CStoredRates;

class CCommandRun {
 public:
  // Its own exit codes: bit 29 marks a code as an application's, and bit 16 keeps them apart from
  // every Windows error and every one of SetupAPI's in the form Koravel gives them (0x2000xxxx).
  enum { PARTLY_CHANGED = 0x20010001, WINDOWS_ERROR_1 = 0x20010002 };

  // Construction
  // Handles the events of a console it may write to (OnConsoleEvent), until destroyed.
  CCommandRun();
  ~CCommandRun();
  CCommandRun(const CCommandRun&) = delete;
  CCommandRun& operator=(const CCommandRun&) = delete;

  // Operations
  // Does what commandLine asks, a command line that IsScriptRun; returns the exit code.
  int Run(CCommandLine& commandLine);
  // For a start that would show the settings dialog where no one can see it: says so on standard
  // error and returns ERROR_REQUIRES_INTERACTIVE_WINDOWSTATION, having touched nothing.
  int RefuseDialog();

  // The exit code for the failure lError: a Win32 error as it is (1 as WINDOWS_ERROR_1),
  // SetupAPI's 0xE000xxxx as 0x2000xxxx; never 0, never below.
  static int ExitCode(LONG lError);
  // The handler of the console Koravel may write to: Ctrl+C, Ctrl+Break and a user's logoff are
  // ignored, and a console that closes, or Windows shutting down, ends the process only once a
  // change in progress is whole and logged, and before another begins. Windows allows it five
  // seconds; a change takes a fraction of one.
  static BOOL WINAPI OnConsoleEvent(DWORD dwEvent);

 private:
  int ShowHelp();
  // The driver's value, and each PS/2 mouse with its own value and what it reads at start-up; as
  // lines separated by tabs, or as JSON.
  int Query(BOOL bJson);
  // Whether /set dwRate would write nothing: 0 where it would not, 1 where it would, said in one
  // line of text or JSON. It only reads.
  int Check(DWORD dwRate, BOOL bJson);
  // The change that the settings dialog's OK makes, and the restart where asked for.
  int SetRate(DWORD dwRate, BOOL bRestart);
  // The change itself, under the change lock, between two readings of what is stored: 0 where
  // nothing was to be written, or where no PS/2 mouse is installed; 3010 once written.
  int ChangeRate(DWORD dwRate);
  // Reads what is stored: the first reading of the run, or the one after its change.
  const CStoredRates& Read();
  // A name in a line of text: a control character in it (a tab or a line break would split the
  // line or its fields; an escape would steer a terminal) as a space.
  static CString Field(CString str);
  // Says the system's text for lError, and lpszNote on a line of its own, on standard error;
  // returns its exit code.
  int Fail(LONG lError, LPCSTR lpszNote = nullptr);

  CScriptOutput m_output;  // the data
  CScriptOutput m_errors;  // what went wrong
  // What the run read first and last, for the log; the same where it wrote nothing; owned.
  CStoredRates* m_pBefore = nullptr;
  CStoredRates* m_pAfter = nullptr;
  // Whether a change is being read, written and logged, or the console is closing, for
  // OnConsoleEvent, which runs on a thread of its own.
  enum { IDLE, CHANGING, CLOSING };
  static volatile LONG s_lChange;
};
