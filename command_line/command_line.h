// CCommandLine: what a command line asks of Koravel run from a script or a deployment tool.
//
// The command line is read as Windows passed it, in Unicode (GetCommandLineW), and its arguments
// are found after the program's name the way Windows found the program: a quoted name ends at its
// closing quote, whatever follows it ("C:\Kor Tool\Koravel.exe"/set 100). A parent may pass no
// program name at all (CreateProcess(path, "/set 100")): a command line that begins with a switch
// holds only arguments, unless that word ends in ".exe" and is a path (/tools/Koravel.exe). The
// arguments themselves are split as the C runtime splits them (quotes group, backslashes escape
// quotes).
//
// Switches begin with "/" or "-", or with the dashes that word processors and web pages put in
// place of "-" (en dash, em dash, minus sign), and are told apart without regard to case; a value
// follows after a space or a colon ("/set 200", "-SET:200"):
//   /? or /help          the switches and the exit codes
//   /query [/json]       the rates stored; /json as one line of JSON
//   /set N [/restart]    rate N, one of the PS/2 protocol's; /restart asks Windows to restart
//   /check N [/json]     whether /set N would write nothing
//   /log FILE            with any of the three: a line of JSON for the run appended to FILE
// Anything else is refused before anything is read or written: an unknown switch, a word after
// the switches, a switch given twice, a rate that is not one of the protocol's, two of /query,
// /set and /check, /restart without /set, /json with /set, /log without a file, /? with anything.
// It makes no system call.
#pragma once

#include <afx.h>

class CCommandLine {
 public:
  enum Action { NONE, HELP, QUERY, SET, CHECK };

  // Construction
  // Splits lpszCommandLine, the whole command line, program name and all.
  explicit CCommandLine(LPCWSTR lpszCommandLine);
  ~CCommandLine();
  CCommandLine(const CCommandLine&) = delete;
  CCommandLine& operator=(const CCommandLine&) = delete;

  // Attributes
  // The command line, whole, as it was given.
  LPCWSTR GetText() const { return m_pszText; }
  // The arguments after the program's name.
  int GetArgumentCount() const { return m_nArguments; }
  LPCWSTR GetArgument(int nArgument) const { return m_ppszArguments[nArgument]; }
  // Whether the first argument is a switch: a command line that begins with one asks for a run
  // from a script; any other (a file dropped on the icon, a word a shortcut passes) is the
  // dialog's.
  BOOL IsScriptRun() const;

  // Operations
  // Reads the arguments. False where they are not understood: GetError and GetErrorArgument say
  // why.
  bool Parse();

  // Attributes, after Parse
  Action GetAction() const { return m_action; }
  unsigned long GetRate() const { return m_nRate; }  // SET, CHECK: 10, 20, ... or 200
  bool IsRestart() const { return m_bRestart; }      // SET: /restart was given
  bool IsJson() const { return m_bJson; }            // QUERY, CHECK: /json was given
  LPCWSTR GetLog() const { return m_lpszLog; }       // the file of /log, or null
  // Why the command line is not understood, and the argument at fault, or null.
  const char* GetError() const { return m_lpszError; }
  LPCWSTR GetErrorArgument() const { return m_lpszErrorArgument; }

 private:
  bool Refuse(const char* lpszError, LPCWSTR lpszArgument);

  WCHAR* m_pszText;          // the command line
  WCHAR* m_pszArguments;     // the arguments, each terminated, one after the other
  LPCWSTR* m_ppszArguments;  // where each begins
  int m_nArguments = 0;
  Action m_action = NONE;
  unsigned long m_nRate = 0;
  bool m_bRestart = false;
  bool m_bJson = false;
  LPCWSTR m_lpszLog = nullptr;
  const char* m_lpszError = nullptr;
  LPCWSTR m_lpszErrorArgument = nullptr;
};
