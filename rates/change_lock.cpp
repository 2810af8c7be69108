#include "rates/change_lock.h"

#include <string.h>

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

CChangeLock::CChangeLock() : m_hMutex(::CreateMutexA(nullptr, FALSE, MutexName())) {
  // Created by a change running as SYSTEM, the mutex grants administrators the right to wait for
  // it and release it, and no more: opened with that alone.
  if (m_hMutex == nullptr && ::GetLastError() == ERROR_ACCESS_DENIED) {
    m_hMutex = ::OpenMutexA(SYNCHRONIZE, FALSE, MutexName());
  }
  if (m_hMutex == nullptr) {
    m_lError = static_cast<LONG>(::GetLastError());
    return;
  }
  switch (::WaitForSingleObject(m_hMutex, WAIT_MS)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:  // the change that held it ended half done; this one starts afresh
      m_lError = ERROR_SUCCESS;
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
