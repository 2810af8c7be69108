// CScriptOutput: where Koravel run from a script says what it did. Koravel is a Windows program,
// not a console program: it writes to its standard output where it was given one (a pipe, or a
// file: "Koravel /query > rates.txt", which is how deployment tools capture it), else to the
// console of the program that started it (Windows XP and later), else nowhere.
#pragma once

#include <afx.h>

class CScriptOutput {
 public:
  // Construction
  CScriptOutput();
  // Closes the console it borrowed, if any.
  ~CScriptOutput();
  CScriptOutput(const CScriptOutput&) = delete;
  CScriptOutput& operator=(const CScriptOutput&) = delete;

  // Operations
  // Writes lpszText, ANSI text whose lines end in "\r\n": as it stands to a file or a pipe, in the
  // console's own characters to a console.
  void Write(LPCSTR lpszText);

 private:
  HANDLE m_hOutput;  // null where there is nowhere to write
  BOOL m_bConsole;   // m_hOutput is a console
  BOOL m_bOwned;     // m_hOutput is the parent's console, opened here
  // Looked up at run time: Windows 95 has it in name only.
  decltype(&::WriteConsoleW) m_pfnWriteConsole;
};
