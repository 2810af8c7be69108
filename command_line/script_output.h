// CScriptOutput: where Koravel run from a script says what it did; one object a stream. Koravel is
// a Windows program, not a console program: it writes to its standard output or standard error
// where it was given one (a pipe, or a file: "Koravel /query > rates.txt", which is how deployment
// tools capture it), else to the console of the program that started it (Windows XP and later),
// else nowhere.
//
// Koravel's texts are UTF-8 (names and Windows' texts are read in Unicode). A console is written
// in Unicode; a file or a pipe in the OEM code page, the one that cmd, PowerShell and remote shells
// decode a program's output with (JSON is ASCII, the same in every code page).
//
// While a change holds the machine's change lock, what it says is held back, and written once the
// lock is released: a console paused by a selection, or a pipe that no one reads, would otherwise
// keep the lock from every other change for as long as it blocks.
#pragma once

#include <afx.h>

class CScriptOutput {
 public:
  // Construction
  // The stream nStdHandle: STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
  explicit CScriptOutput(DWORD nStdHandle);
  // Closes the console it borrowed, if any.
  ~CScriptOutput();
  CScriptOutput(const CScriptOutput&) = delete;
  CScriptOutput& operator=(const CScriptOutput&) = delete;

  // Operations
  // Writes lpszText, UTF-8 text whose lines end in "\r\n"; or, while held, keeps it.
  void Write(LPCSTR lpszText);
  // Holds back what is written from now on (bHold), or writes what was held and stops holding.
  void Hold(BOOL bHold);

 private:
  void WriteNow(LPCSTR lpszText);

  CString m_strHeld;
  BOOL m_bHolding = FALSE;
  HANDLE m_hOutput;  // null where there is nowhere to write
  BOOL m_bConsole;   // m_hOutput is a console
  BOOL m_bOwned;     // m_hOutput is the parent's console, opened here
  // Looked up at run time: Windows 95 has it in name only.
  decltype(&::WriteConsoleW) m_pfnWriteConsole;
};
