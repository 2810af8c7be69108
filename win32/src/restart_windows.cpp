#include "win32/restart_windows.h"

#include "win32/system_library.h"

namespace {

// Windows NT 4.0 and 2000 ignore the reason.
const DWORD kReason =
    SHTDN_REASON_FLAG_PLANNED | SHTDN_REASON_MAJOR_HARDWARE | SHTDN_REASON_MINOR_RECONFIG;

HMODULE Advapi() { return ::GetModuleHandleA("advapi32.dll"); }

// Windows NT's token and shutdown functions are looked up at run time: the program must load on
// Windows 95, whose ADVAPI32 need not have them, to show its questionnaire there. Only NT comes
// this far.
DWORD EnableShutdownPrivilege() {
  const auto pfnOpen = SYSTEM_FUNCTION(Advapi(), OpenProcessToken);
  const auto pfnLookup = SYSTEM_FUNCTION(Advapi(), LookupPrivilegeValueA);
  const auto pfnAdjust = SYSTEM_FUNCTION(Advapi(), AdjustTokenPrivileges);
  if (pfnOpen == nullptr || pfnLookup == nullptr || pfnAdjust == nullptr) {
    return ERROR_CALL_NOT_IMPLEMENTED;
  }
  HANDLE hToken = nullptr;
  if (!pfnOpen(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &hToken)) {
    return ::GetLastError();
  }
  TOKEN_PRIVILEGES privileges = {1, {{{0, 0}, SE_PRIVILEGE_ENABLED}}};
  ::SetLastError(ERROR_SUCCESS);
  if (pfnLookup(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
    // Succeeds also when the token does not hold the privilege, and says so with the last error
    // ERROR_NOT_ALL_ASSIGNED.
    pfnAdjust(hToken, FALSE, &privileges, 0, nullptr, nullptr);
  }
  const DWORD dwResult = ::GetLastError();
  ::CloseHandle(hToken);
  return dwResult;
}

}  // namespace

DWORD RestartWindows() {
  const DWORD dwResult = EnableShutdownPrivilege();
  if (dwResult != ERROR_SUCCESS) return dwResult;
  return ::ExitWindowsEx(EWX_REBOOT, kReason) ? ERROR_SUCCESS : ::GetLastError();
}

DWORD RequestRestart() {
  const DWORD dwResult = EnableShutdownPrivilege();
  if (dwResult != ERROR_SUCCESS) return dwResult;
  // This computer, no message, no time-out, programs not forced closed, a restart.
  BOOL bTaken = FALSE;
  if (const auto pfnEx = SYSTEM_FUNCTION(Advapi(), InitiateSystemShutdownExA)) {
    bTaken = pfnEx(nullptr, nullptr, 0, FALSE, TRUE, kReason);
  } else if (const auto pfn = SYSTEM_FUNCTION(Advapi(), InitiateSystemShutdownA)) {
    bTaken = pfn(nullptr, nullptr, 0, FALSE, TRUE);
  } else {
    return ERROR_CALL_NOT_IMPLEMENTED;
  }
  const DWORD dwError = ::GetLastError();
  return bTaken ? ERROR_SUCCESS : dwError != ERROR_SUCCESS ? dwError : ERROR_GEN_FAILURE;
}
