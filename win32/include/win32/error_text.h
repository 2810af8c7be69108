// The system's own text for an error code, as the program shows it.
#pragma once

#include <windows.h>

// Writes into pszText (cchText bytes with the terminator; at most the first cchText - 1 are kept)
// the system's text for dwCode, a Win32 error code or one of SetupAPI's own (0xE000xxxx, which the
// system describes as HRESULTs), with its line break; where the system has none, a sentence that
// gives the number, without one. Inserts ("%1") are left as they stand: there are no arguments to
// fill them with. The text is in code page nCodePage: CP_ACP, as the dialogs show it, or CP_UTF8
// for a script's output, read from the system in Unicode (Windows NT only).
void ErrorText(DWORD dwCode, LPSTR pszText, DWORD cchText, UINT nCodePage = CP_ACP);

// ErrorText, then lpszNote (where not null) on a line of its own: the whole report of a failure.
void ErrorTextWithNote(DWORD dwCode, LPCSTR lpszNote, LPSTR pszText, DWORD cchText,
                       UINT nCodePage = CP_ACP);
