// CCommandLine: what a command line asks of Koravel run from a script or a deployment tool.
//
// Switches begin with "/" or "-" and are told apart without regard to case; a value follows after
// a space or a colon ("/set 200", "-SET:200"):
//   /? or /help          the switches and the exit codes
//   /query               the rates stored
//   /set N [/restart]    rate N, one of the PS/2 protocol's; /restart asks Windows to restart
// Anything else is refused before anything is read or written: an unknown switch, a word after
// the switches, a switch given twice, a rate that is not one of the protocol's, /set with /query,
// /restart without /set, /? with anything. It reads only the arguments: no system call.
#pragma once

class CCommandLine {
 public:
  enum Action { NONE, HELP, QUERY, SET };

  // Construction
  CCommandLine() = default;

  // Operations
  // Whether lpszArg is a switch: a command line whose first argument is one asks for a run from a
  // script; any other (a file dropped on the icon, a word a shortcut passes) is the dialog's.
  static bool IsSwitch(const char* lpszArg);
  // Reads the nArgs arguments after the program's name. False where they are not understood:
  // GetError and GetErrorArgument say why.
  bool Parse(int nArgs, const char* const* ppszArgs);

  // Attributes
  Action GetAction() const { return m_action; }
  unsigned long GetRate() const { return m_nRate; }  // SET: 10, 20, 40, 60, 80, 100 or 200
  bool IsRestart() const { return m_bRestart; }      // SET: /restart was given
  // Why the command line is not understood, and the argument at fault, or null.
  const char* GetError() const { return m_lpszError; }
  const char* GetErrorArgument() const { return m_lpszErrorArgument; }

 private:
  bool Refuse(const char* lpszError, const char* lpszArgument);

  Action m_action = NONE;
  unsigned long m_nRate = 0;
  bool m_bRestart = false;
  const char* m_lpszError = nullptr;
  const char* m_lpszErrorArgument = nullptr;
};
