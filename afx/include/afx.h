// afx.h - the core of Koravel's class library: the Windows headers, the library's basic
// conventions and CString.
//
// The library offers the part of the MFC 4.2 interface that Koravel uses, under the same names and
// signatures, built directly on Win32. Text is 8-bit in the ANSI code page throughout, as it was
// in an MFC 4.2 program built without _UNICODE.
//
// Classes declared here:
//   CString - an 8-bit string
#pragma once

#if defined(UNICODE) || defined(_UNICODE)
#error "Koravel's class library is ANSI only"
#endif
#ifndef STRICT
#define STRICT
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <windows.h>

// Marks a message handler in a class declaration; it has no effect on the code.
#define afx_msg

#include "afx/afx_string.h"
