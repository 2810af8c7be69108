#include "command_line/command_line.h"

namespace {

// Whether lpszText is lpszName, without regard to case (ASCII: switches are English words).
bool IsName(const char* lpszText, const char* lpszName) {
  for (; *lpszName != '\0'; ++lpszText, ++lpszName) {
    const char c = *lpszText >= 'A' && *lpszText <= 'Z' ? *lpszText - 'A' + 'a' : *lpszText;
    if (c != *lpszName) return false;
  }
  return *lpszText == '\0';
}

// The rate that lpszText names, exactly as written: one of the protocol's, or 0. Compared as text,
// so that no spelling of a number (a sign, a prefix, an exponent, a value past 32 bits) comes
// through converted.
unsigned long ProtocolRate(const char* lpszText) {
  static const char* const kRates[] = {"10", "20", "40", "60", "80", "100", "200"};
  static const unsigned long kValues[] = {10, 20, 40, 60, 80, 100, 200};
  for (int n = 0; n < 7; ++n) {
    if (IsName(lpszText, kRates[n])) return kValues[n];
  }
  return 0;
}

}  // namespace

bool CCommandLine::IsSwitch(const char* lpszArg) { return *lpszArg == '/' || *lpszArg == '-'; }

bool CCommandLine::Refuse(const char* lpszError, const char* lpszArgument) {
  // A command line not understood asks for nothing.
  m_action = NONE;
  m_nRate = 0;
  m_bRestart = false;
  m_lpszError = lpszError;
  m_lpszErrorArgument = lpszArgument;
  return false;
}

bool CCommandLine::Parse(int nArgs, const char* const* ppszArgs) {
  bool bHelp = false, bQuery = false, bSet = false;
  for (int n = 0; n < nArgs; ++n) {
    const char* const lpszArg = ppszArgs[n];
    if (!IsSwitch(lpszArg)) return Refuse("this is not a switch", lpszArg);
    // The name, and a value after a colon.
    char szName[8] = "";
    int cchName = 0;
    for (; lpszArg[1 + cchName] != '\0' && lpszArg[1 + cchName] != ':'; ++cchName) {
      if (cchName == 7) return Refuse("this switch is unknown", lpszArg);
      szName[cchName] = lpszArg[1 + cchName];
    }
    const char* lpszValue = lpszArg[1 + cchName] == ':' ? lpszArg + 2 + cchName : nullptr;
    bool* pbGiven = IsName(szName, "?") || IsName(szName, "help") ? &bHelp
                    : IsName(szName, "query")                     ? &bQuery
                    : IsName(szName, "set")                       ? &bSet
                    : IsName(szName, "restart")                   ? &m_bRestart
                                                                  : nullptr;
    if (pbGiven == nullptr) return Refuse("this switch is unknown", lpszArg);
    if (*pbGiven) return Refuse("this switch is given twice", lpszArg);
    *pbGiven = true;
    if (pbGiven == &bSet) {
      // The rate follows after a colon, or as the next argument, whatever it looks like.
      if (lpszValue == nullptr && n + 1 < nArgs) lpszValue = ppszArgs[++n];
      m_nRate = lpszValue != nullptr ? ProtocolRate(lpszValue) : 0;
      if (m_nRate == 0) {
        return Refuse("/set needs a rate: 10, 20, 40, 60, 80, 100 or 200",
                      lpszValue != nullptr ? lpszValue : lpszArg);
      }
    } else if (lpszValue != nullptr) {
      return Refuse("this switch takes no value", lpszArg);
    }
  }
  if (bHelp && nArgs > 1) return Refuse("/? goes alone", nullptr);
  if (bQuery && bSet) return Refuse("/query and /set do not go together", nullptr);
  if (m_bRestart && !bSet) return Refuse("/restart goes only with /set", nullptr);
  m_action = bHelp ? HELP : bQuery ? QUERY : bSet ? SET : NONE;
  return m_action != NONE || Refuse("there is nothing to do", nullptr);
}
