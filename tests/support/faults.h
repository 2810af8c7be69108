// Faults and records that the test prefix cannot have for real, through the runner's import table
// and GetProcAddress (the program looks up SetupAPI and Windows NT's newer functions by name).
// Each is off until a test sets it; Reset sets them all back.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

struct Faults {
  int nFailWrite = 0;                // the nth RegSetValueExA is refused with access denied ...
  std::wstring deleted;              // ... once HKLM\deleted is deleted, where given
  std::function<void(int)> onWrite;  // called with n before the nth RegSetValueExA
  DWORD dwListingError = 0;          // SetupDiEnumDeviceInfo fails with it after the first device,
  int nFailListing = 1;              // from the nth listing of the mice on
  int nListings = 0;
  bool bRefusePutBack = false;  // every RegSetValueExW is refused
  bool bNt4 = false;            // GetVersionExA says Windows NT 4.0
  bool bNoSetupApi = false;     // setupapi.dll does not load
  bool bAbsent = false;         // every installed mouse is absent: a list of present ones is empty
  bool bSession0 = false;       // the process runs in session 0
  bool bRefuseRestart = false;  // ExitWindowsEx and InitiateSystemShutdownExA refuse
  // Each request to restart: the function, its arguments, and whether the shutdown privilege
  // (which Wine does not check, and starts disabled) was enabled.
  std::vector<std::string> restarts;
  std::set<REGSAM> access;  // asked of SetupDiOpenDevRegKey
  int nWrites = 0;
};
extern Faults g_faults;
void Reset();
// Whether SetupDiOpenDevRegKey was asked for no more than sam.
bool AccessWithin(REGSAM sam);
// Holds the change lock on a thread of its own, as another run would, or releases it.
void HoldChangeLock(bool bHold);
// The text of a planned restart for a hardware reconfiguration, with the privilege, by
// ExitWindowsEx (the dialog's) or InitiateSystemShutdownExA (a script's).
extern const char kDialogRestart[], kScriptRestart[];
