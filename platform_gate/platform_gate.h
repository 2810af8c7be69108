// The platform gate: Koravel changes a setting of Windows NT only.
#pragma once

#include <windows.h>

// TRUE on Windows NT; FALSE elsewhere, and where the system does not say.
BOOL IsWindowsNt();

// TRUE on Windows NT. Elsewhere the questionnaire runs first, and the answer is FALSE whether the
// user answered or closed it: the program does nothing on that platform.
BOOL RunPlatformGate();
