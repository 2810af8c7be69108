// CCommandRun: Koravel run from a script, a start-up script or a deployment tool. It shows no
// window at all (on a machine that no one watches, nothing may wait for a click), does what its
// command line asks (command_line/command_line.h), says what it did (command_line/
// script_output.h): the data (/query's lines, what /set wrote where) on standard output, what went
// wrong on standard error. It ends with an exit code that deployment tools know without being told,
// never below 1 for a failure (a batch file's "if errorlevel 1" reads a negative code as success):
//
//   0              done, or nothing to change
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
#pragma once

#include <afx.h>

#include "command_line/command_line.h"
#include "command_line/script_output.h"

class CCommandRun {
 public:
  // Its own exit code: bit 29 marks a code as an application's, and bit 16 keeps it apart from
  // every Windows error and every one of SetupAPI's in the form Koravel gives them (0x2000xxxx).
  enum { PARTLY_CHANGED = 0x20010001 };

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

  // The exit code for the failure lError: a Win32 error as it is, SetupAPI's and any other with
  // the high bit (negative as an exit code) without its two severity bits; never 0.
  static int ExitCode(LONG lError);
  // The handler of the console Koravel may write to: Ctrl+C and Ctrl+Break are ignored, and a
  // console that closes (or a log-off or a shutdown) ends the process only once a change in
  // progress is whole. Windows allows it five seconds; a change takes a fraction of one.
  static BOOL WINAPI OnConsoleEvent(DWORD dwEvent);

 private:
  int ShowHelp();
  // The driver's value, and each PS/2 mouse with its own value and what it reads at start-up.
  int Query();
  // The change that the settings dialog's OK makes, and the restart where asked for.
  int SetRate(DWORD dwRate, BOOL bRestart);
  // The change itself, under the change lock: 0 where nothing was to be written, or where no PS/2
  // mouse is installed; 3010 once written.
  int ChangeRate(DWORD dwRate);
  // Says the system's text for lError, and lpszNote on a line of its own, on standard error;
  // returns its exit code.
  int Fail(LONG lError, LPCSTR lpszNote = nullptr);

  CScriptOutput m_output;  // the data
  CScriptOutput m_errors;  // what went wrong
  // Set while a change is read and written, for OnConsoleEvent (on a thread of its own).
  static volatile LONG s_bChanging;
};
