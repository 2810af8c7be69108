#include "rates/change_lock.h"

#include <sddl.h>
#include <string.h>

#include "win32/system_library.h"

namespace {

// Windows NT 4.0, which has one session, takes no backslash in an object's name.
LPCSTR MutexName() {
  OSVERSIONINFOA version;
  ::memset(&version, 0, sizeof version);
  version.dwOSVersionInfoSize = sizeof version;
  const BOOL bSessions = ::GetVersionExA(&version) && version.dwMajorVersion >= 5;
  return bSessions ? "Global\\Koravel.SampleRate.Change" : "Koravel.SampleRate.Change";
}

}  // namespace

CChangeLock::CChangeLock() : m_hMutex(nullptr), m_lError(ERROR_SUCCESS) {
  // Only SYSTEM and the administrators may open the lock that this makes: a process that runs as
  // SYSTEM and an elevated administrator both can, an ordinary user cannot. A mutex of that name
  // that someone else made first keeps its own descriptor, as Windows Installer's does. Windows
  // 2000 and later; where the descriptor cannot be made, the mutex gets the default one.
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, FALSE};
  const auto pfnConvert = SYSTEM_FUNCTION(::GetModuleHandleA("advapi32.dll"),
                                          ConvertStringSecurityDescriptorToSecurityDescriptorA);
  if (pfnConvert != nullptr) {
    pfnConvert("D:P(A;;GA;;;SY)(A;;GA;;;BA)", SDDL_REVISION_1, &attributes.lpSecurityDescriptor,
               nullptr);
  }
  m_hMutex = ::CreateMutexA(&attributes, FALSE, MutexName());
  const DWORD dwCreated = ::GetLastError();
  ::LocalFree(attributes.lpSecurityDescriptor);
  if (m_hMutex == nullptr) {
    m_lError = static_cast<LONG>(dwCreated);
    return;
  }
  switch (::WaitForSingleObject(m_hMutex, WAIT_MS)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:  // its owner ended without releasing it: the change is this one's now
      return;
    case WAIT_TIMEOUT:
      m_lError = ERROR_INSTALL_ALREADY_RUNNING;
      break;
    default:
      m_lError = static_cast<LONG>(::GetLastError());
  }
  ::CloseHandle(m_hMutex);
  m_hMutex = nullptr;
}

CChangeLock::~CChangeLock() {
  if (m_hMutex == nullptr) return;
  ::ReleaseMutex(m_hMutex);
  ::CloseHandle(m_hMutex);
}
