// Small readers of text that the tests compare.
#pragma once

#include <windows.h>

#include <string>

// The system's message text for an error code, inserts left as they stand; empty when none.
std::string SystemText(DWORD dwCode);
// The text of control nID of dialog hDlg.
std::string ItemText(HWND hDlg, int nID);
