// CChangeLock: one change of the rate at a time on this machine. A start-up script, a deployment
// tool and the settings dialog may all change it in the same minute; two changes that interleave
// could leave the driver's key holding one rate and a mouse's key the other, each reporting
// success. Every change holds this lock while it reads what is stored and writes.
//
// The lock is a named mutex in the Global\ namespace, so that every session shares it (the
// services' session 0 and each user's), as Windows Installer's own is. Where its owner ended
// without releasing it, Windows hands it on as abandoned: the next change takes it over.
#pragma once

#include <windows.h>

class CChangeLock {
 public:
  // How long a change waits for another to end: a change takes a fraction of a second. Below the
  // five seconds after which Windows shows a window that does not answer as hung: the dialog's OK
  // waits on the dialog's thread.
  enum { WAIT_MS = 4000 };

  // Construction
  // Takes the lock, waiting up to WAIT_MS for it.
  CChangeLock();
  // Releases it, if taken.
  ~CChangeLock();
  CChangeLock(const CChangeLock&) = delete;
  CChangeLock& operator=(const CChangeLock&) = delete;

  // Attributes
  // ERROR_SUCCESS once taken; ERROR_INSTALL_ALREADY_RUNNING where another change held it all the
  // while (the code that deployment tools retry); otherwise why it could not be taken.
  LONG GetError() const { return m_lError; }

 private:
  HANDLE m_hMutex;
  LONG m_lError;
};
