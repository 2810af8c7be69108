#include "command_line/command_line.h"

#include <string.h>

namespace {

bool IsSpace(WCHAR c) { return c == L' ' || c == L'\t'; }

// "/" and "-", and the en dash, the em dash and the minus sign that mail, word processors and web
// pages turn "-" into.
bool IsSwitchCharacter(WCHAR c) {
  return c == L'/' || c == L'-' || c == 0x2013 || c == 0x2014 || c == 0x2212;
}

// Whether the cchText characters at lpszText are lpszName, without regard to case (ASCII:
// switches are English words).
bool IsName(LPCWSTR lpszText, int cchText, const char* lpszName) {
  int n = 0;
  for (; n < cchText && lpszName[n] != '\0'; ++n) {
    const WCHAR c =
        lpszText[n] >= L'A' && lpszText[n] <= L'Z' ? lpszText[n] - L'A' + L'a' : lpszText[n];
    if (c != static_cast<WCHAR>(lpszName[n])) return false;
  }
  return n == cchText && lpszName[n] == '\0';
}

// The switches, by name; /? and /help are one. Those from SET_SWITCH to LOG_SWITCH take a value.
enum Switch {
  HELP_SWITCH,
  QUERY_SWITCH = 2,
  RESTART_SWITCH,
  JSON_SWITCH,
  SET_SWITCH,
  CHECK_SWITCH,
  LOG_SWITCH,
  SWITCH_COUNT
};
const char* const kSwitchNames[SWITCH_COUNT] = {"?",    "help", "query", "restart",
                                                "json", "set",  "check", "log"};

// The switch that the word of cchWord characters at lpszWord names, and in *ppszValue what follows
// a colon after its name, or null; -1 where it names none.
int SwitchOf(LPCWSTR lpszWord, int cchWord, LPCWSTR* ppszValue) {
  if (cchWord == 0 || !IsSwitchCharacter(lpszWord[0])) return -1;
  int cchName = 0;
  while (1 + cchName < cchWord && lpszWord[1 + cchName] != L':') ++cchName;
  *ppszValue = 1 + cchName < cchWord ? lpszWord + 2 + cchName : nullptr;
  for (int nSwitch = 0; nSwitch < SWITCH_COUNT; ++nSwitch) {
    if (IsName(lpszWord + 1, cchName, kSwitchNames[nSwitch])) return nSwitch == 1 ? 0 : nSwitch;
  }
  return -1;
}

// The rate that lpszText names, exactly as written: one of the protocol's, or 0. Compared as text,
// so that no spelling of a number (a sign, a prefix, an exponent, a value past 32 bits) comes
// through converted.
unsigned long ProtocolRate(LPCWSTR lpszText) {
  static const char* const kRates[] = {"10", "20", "40", "60", "80", "100", "200"};
  static const unsigned long kValues[] = {10, 20, 40, 60, 80, 100, 200};
  for (int n = 0; n < 7; ++n) {
    if (IsName(lpszText, ::lstrlenW(lpszText), kRates[n])) return kValues[n];
  }
  return 0;
}

}  // namespace

// Each argument takes at least one character and is followed by another (white space, or the end)
// or by the program's name: so many of each do.
CCommandLine::CCommandLine(LPCWSTR lpszCommandLine)
    : m_pszText(new WCHAR[::lstrlenW(lpszCommandLine) + 1]),
      m_pszArguments(new WCHAR[::lstrlenW(lpszCommandLine) + 1]),
      m_ppszArguments(new LPCWSTR[::lstrlenW(lpszCommandLine) / 2 + 1]) {
  ::memcpy(m_pszText, lpszCommandLine, (::lstrlenW(lpszCommandLine) + 1) * sizeof(WCHAR));
  LPCWSTR p = lpszCommandLine;
  while (IsSpace(*p)) ++p;
  // The program's name, unless the command line begins with a switch: one that Koravel knows,
  // or any word that begins as a switch does and is no program's name ("/tools/Koravel.exe" is).
  int cchWord = 0;
  while (p[cchWord] != L'\0' && !IsSpace(p[cchWord])) ++cchWord;
  LPCWSTR lpszValue = nullptr;
  const bool bExe = cchWord > 4 && IsName(p + cchWord - 4, 4, ".exe");
  if (SwitchOf(p, cchWord, &lpszValue) < 0 && (!IsSwitchCharacter(*p) || bExe)) {
    if (*p == L'"') {
      for (++p; *p != L'\0' && *p != L'"';) ++p;
      if (*p == L'"') ++p;
    } else {
      p += cchWord;
    }
  }
  // The arguments, as the C runtime splits them: none takes more room than it had.
  WCHAR* pszOut = m_pszArguments;
  for (;;) {
    while (IsSpace(*p)) ++p;
    if (*p == L'\0') break;
    m_ppszArguments[m_nArguments++] = pszOut;
    for (bool bQuoted = false; *p != L'\0' && (bQuoted || !IsSpace(*p));) {
      int nBackslashes = 0;
      for (; *p == L'\\'; ++p) ++nBackslashes;
      // Backslashes are themselves, except before a quote: there they come in pairs, and an odd
      // one out makes the quote a character. Inside quotes, two quotes are one character.
      for (int n = *p == L'"' ? nBackslashes / 2 : nBackslashes; n > 0; --n) *pszOut++ = L'\\';
      if (*p != L'"') {
        if (*p != L'\0' && (bQuoted || !IsSpace(*p))) *pszOut++ = *p++;
      } else if (nBackslashes % 2 != 0 || (bQuoted && p[1] == L'"')) {
        *pszOut++ = L'"';
        p += nBackslashes % 2 != 0 ? 1 : 2;
      } else {
        bQuoted = !bQuoted;
        ++p;
      }
    }
    *pszOut++ = L'\0';
  }
}

CCommandLine::~CCommandLine() {
  delete[] m_pszText;
  delete[] m_ppszArguments;
  delete[] m_pszArguments;
}

BOOL CCommandLine::IsScriptRun() const {
  return GetArgumentCount() > 0 && IsSwitchCharacter(GetArgument(0)[0]);
}

bool CCommandLine::Refuse(const char* lpszError, LPCWSTR lpszArgument) {
  // A command line not understood asks for nothing.
  m_action = NONE;
  m_nRate = 0;
  m_bRestart = m_bJson = false;
  m_lpszLog = nullptr;
  m_lpszError = lpszError;
  m_lpszErrorArgument = lpszArgument;
  return false;
}

bool CCommandLine::Parse() {
  bool bGiven[SWITCH_COUNT] = {};
  for (int n = 0; n < GetArgumentCount(); ++n) {
    const LPCWSTR lpszArg = GetArgument(n);
    if (!IsSwitchCharacter(lpszArg[0])) return Refuse("this is not a switch", lpszArg);
    LPCWSTR lpszValue = nullptr;
    const int nSwitch = SwitchOf(lpszArg, ::lstrlenW(lpszArg), &lpszValue);
    if (nSwitch < 0) return Refuse("this switch is unknown", lpszArg);
    if (bGiven[nSwitch]) return Refuse("this switch is given twice", lpszArg);
    bGiven[nSwitch] = true;
    if (nSwitch < SET_SWITCH) {
      if (lpszValue != nullptr) return Refuse("this switch takes no value", lpszArg);
      continue;
    }
    // The value follows after a colon, or as the next argument, whatever it looks like.
    if (lpszValue == nullptr && n + 1 < GetArgumentCount()) lpszValue = GetArgument(++n);
    if (nSwitch == LOG_SWITCH) {
      m_lpszLog = lpszValue;
      if (lpszValue == nullptr || *lpszValue == L'\0') return Refuse("/log needs a file", lpszArg);
      continue;
    }
    m_nRate = lpszValue != nullptr ? ProtocolRate(lpszValue) : 0;
    if (m_nRate == 0) {
      return Refuse(nSwitch == SET_SWITCH ? "/set needs a rate: 10, 20, 40, 60, 80, 100 or 200"
                                          : "/check needs a rate: 10, 20, 40, 60, 80, 100 or 200",
                    lpszValue != nullptr ? lpszValue : lpszArg);
    }
  }
  m_bRestart = bGiven[RESTART_SWITCH];
  m_bJson = bGiven[JSON_SWITCH];
  if (bGiven[HELP_SWITCH] && GetArgumentCount() > 1) return Refuse("/? goes alone", nullptr);
  if (bGiven[QUERY_SWITCH] + bGiven[SET_SWITCH] + bGiven[CHECK_SWITCH] > 1) {
    return Refuse("/query, /set and /check go one at a time", nullptr);
  }
  if (m_bRestart && !bGiven[SET_SWITCH]) return Refuse("/restart goes only with /set", nullptr);
  if (m_bJson && bGiven[SET_SWITCH])
    return Refuse("/json goes only with /query or /check", nullptr);
  m_action = bGiven[HELP_SWITCH]    ? HELP
             : bGiven[QUERY_SWITCH] ? QUERY
             : bGiven[SET_SWITCH]   ? SET
             : bGiven[CHECK_SWITCH] ? CHECK
                                    : NONE;
  return m_action != NONE || Refuse("there is nothing to do", nullptr);
}
