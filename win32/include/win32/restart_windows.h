// Restarting Windows, so that the i8042 port driver reads the new rate: it reads it only when
// Windows starts.
#pragma once

#include <windows.h>

// Enables the shutdown privilege in this process's token and asks Windows to restart, as a planned
// hardware reconfiguration, without forcing programs to close (they may still ask to save work).
// ERROR_SUCCESS once Windows has taken the request; otherwise the error code of the step that
// failed.
DWORD RestartWindows();
