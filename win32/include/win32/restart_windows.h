// Restarting Windows, so that the i8042 port driver reads the new rate: it reads it only when
// Windows starts. Both enable the shutdown privilege in this process's token first, and ask for a
// planned restart for a hardware reconfiguration, without forcing programs to close (they may
// still ask to save work). Each returns ERROR_SUCCESS once Windows has taken the request;
// otherwise the error code of the step that failed.
#pragma once

#include <windows.h>

// For the settings dialog, whose user is the interactive user: ExitWindowsEx.
DWORD RestartWindows();

// For a run from a script, which runs as SYSTEM, in a service's session or none: ExitWindowsEx
// can succeed there without restarting anything, so the request goes to the system itself,
// through InitiateSystemShutdownEx (Windows XP and later), or InitiateSystemShutdown, at once.
DWORD RequestRestart();
