// CCommandRun: Koravel run from a script, a start-up script or a deployment tool. It shows no
// window at all (on a machine that no one watches, nothing may wait for a click), does what its
// command line asks (command_line/command_line.h), says what it did (command_line/
// script_output.h), and ends with an exit code that deployment tools know without being told:
//
//   0              done, or nothing to change
//   3010           written; takes effect when Windows restarts (ERROR_SUCCESS_REBOOT_REQUIRED)
//   1641           written, and Windows is restarting (ERROR_SUCCESS_REBOOT_INITIATED)
//   87             the command line is not understood; nothing was read or written
//   1150           Windows 95, 98 or Me: nothing was touched (ERROR_OLD_WIN_VERSION)
//   Windows' code  the registry or SetupAPI failed (2 where the driver's key or value is missing)
//   PARTLY_CHANGED a change failed and could not be put back everywhere
#pragma once

#include <afx.h>

#include "command_line/command_line.h"
#include "command_line/script_output.h"

class CPs2Mice;

class CCommandRun {
 public:
  // Its own exit code: bit 29 marks a code as an application's, so no Windows error, nor any of
  // SetupAPI's (0xE000xxxx), is the same.
  enum { PARTLY_CHANGED = 0x20000001 };

  // Construction
  CCommandRun() = default;

  // Operations
  // Does what the nArgs arguments after the program's name ask; returns the exit code.
  int Run(int nArgs, const char* const* ppszArgs);

 private:
  int ShowHelp();
  // The driver's value, and each PS/2 mouse with its own value and what it reads at start-up.
  int Query();
  // The change that the settings dialog's OK makes, and the restart where asked for.
  int SetRate(DWORD dwRate, BOOL bRestart);
  int ChangeRate(HKEY hDriverKey, DWORD dwRate, BOOL bRestart);
  // Says the system's text for lError, and lpszNote on a line of its own; returns lError.
  int Fail(LONG lError, LPCSTR lpszNote = nullptr);

  CScriptOutput m_output;
};
