// Whether anyone can see this process's windows.
#pragma once

#include <windows.h>

// FALSE on a window station that is not visible (a service's), and in session 0 of Windows Vista
// and later, which holds services only and whose desktop no one sees: a window there waits for a
// click that never comes. TRUE elsewhere, and where the system does not say (Windows 95 and NT
// 4.0 have no sessions; Windows 95 has no window stations). The functions are looked up at run
// time, so that the program still loads where they are missing.
BOOL IsDesktopVisible();
