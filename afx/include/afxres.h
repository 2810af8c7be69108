// afxres.h - the framework's standard command IDs, for resource scripts and code alike.
#pragma once

#include <winresrc.h>

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define ID_HELP 0xE146
