// The system's own text for an error code, as the program shows it.
#pragma once

#include <windows.h>

// Writes into pszText (cchText characters with the terminator; at most the first cchText - 1 are
// kept) the system's text for dwCode, a Win32 error code or one of SetupAPI's own (0xE000xxxx,
// which the system describes as HRESULTs), with its line break; where the system has none, a
// sentence that gives the number, without one. Inserts ("%1") are left as they stand: there are
// no arguments to fill them with.
void ErrorText(DWORD dwCode, LPSTR pszText, DWORD cchText);

// ErrorText, then lpszNote (where not null) on a line of its own: the whole report of a failure.
void ErrorTextWithNote(DWORD dwCode, LPCSTR lpszNote, LPSTR pszText, DWORD cchText);
