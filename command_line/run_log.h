// CRunLog: the log of /log FILE, which compliance and deployment tools keep where they keep no
// output of their own: one line of JSON (command_line/json.h) appended to FILE for each run, the
// whole line in one write, so that runs appending at once never mix their lines.
//
// A line: {"schema":1,"time":"2026-12-09T18:37:41.123Z","koravel":"1.0.0.1","commandLine":"...",
// "keys":[{"key":"driver","before":60,"after":100},{"key":"ACPI\\PNP0F13\\...","before":null,
// "after":100}],"exitCode":3010}: each key by the driver's name or the mouse's instance ID, with
// the rate it held before the run and after it (the same where the run wrote nothing; none where
// the run read nothing), as AppendJsonRate writes a rate.
#pragma once

#include <afx.h>

class CStoredRates;

class CRunLog {
 public:
  // Construction
  CRunLog() = default;
  ~CRunLog();
  CRunLog(const CRunLog&) = delete;
  CRunLog& operator=(const CRunLog&) = delete;

  // Operations
  // Opens lpszFile for appending, creating it where it is not there; its error where it cannot.
  LONG Open(LPCWSTR lpszFile);
  // Appends the line of a run of lpszCommandLine that read pBefore and then pAfter (pBefore again
  // where it wrote nothing; both null where it read nothing) and ended with nExitCode; nothing
  // where no file is open. Its error where the write fails.
  LONG Append(LPCWSTR lpszCommandLine, const CStoredRates* pBefore, const CStoredRates* pAfter,
              int nExitCode);

 private:
  HANDLE m_hFile = INVALID_HANDLE_VALUE;
};
