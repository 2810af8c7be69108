#include "platform_gate/platform_gate.h"

#include <cstring>

#include "platform_gate/wrong_platform_dlg.h"

static_assert(sizeof(OSVERSIONINFOA) == 148, "the version structure of Windows NT 4.0");

BOOL IsWindowsNt() {
  // Should the call fail, the platform stays 0: not NT.
  OSVERSIONINFOA version;
  std::memset(&version, 0, sizeof version);
  version.dwOSVersionInfoSize = sizeof version;
  ::GetVersionExA(&version);
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

BOOL RunPlatformGate() {
  if (IsWindowsNt()) return TRUE;

  CWrongPlatformDlg dlg;
  dlg.DoModal();
  return FALSE;
}
