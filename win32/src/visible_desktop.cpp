#include "win32/visible_desktop.h"

#include <string.h>

#include "win32/system_library.h"

BOOL IsDesktopVisible() {
  // Loaded here if need be: Koravel loads USER32 only for a window (win32/src/lazy_load.cpp).
  const HMODULE hUser = ::LoadLibraryA("user32.dll");
  const auto pfnStation = SYSTEM_FUNCTION(hUser, GetProcessWindowStation);
  const auto pfnInformation = SYSTEM_FUNCTION(hUser, GetUserObjectInformationA);
  const HWINSTA hStation = pfnStation != nullptr ? pfnStation() : nullptr;
  USEROBJECTFLAGS flags = {FALSE, FALSE, WSF_VISIBLE};
  DWORD cbNeeded = 0;  // optional only in later documentation
  if (hStation != nullptr && pfnInformation != nullptr &&
      pfnInformation(hStation, UOI_FLAGS, &flags, sizeof flags, &cbNeeded) &&
      (flags.dwFlags & WSF_VISIBLE) == 0) {
    return FALSE;
  }
  OSVERSIONINFOA version;
  ::memset(&version, 0, sizeof version);
  version.dwOSVersionInfoSize = sizeof version;
  const auto pfnSession = SYSTEM_FUNCTION(::GetModuleHandleA("kernel32.dll"), ProcessIdToSessionId);
  DWORD dwSession = 1;
  return !(::GetVersionExA(&version) && version.dwMajorVersion >= 6 && pfnSession != nullptr &&
           pfnSession(::GetCurrentProcessId(), &dwSession) && dwSession == 0);
}
