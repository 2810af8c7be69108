// Reading and finding windows by what a person sees of them, for the tests and the probe alike.
#pragma once

#include <windows.h>

#include <string>

// A window's caption, read without sending a message to another process: a program that is
// starting up or hung must not stall a search.
std::string WindowCaption(HWND hWnd);
std::string WindowClass(HWND hWnd);
// A visible top-level window with this caption: of one thread, or of any process when
// dwThreadId is 0. Null when there is none.
HWND FindVisibleWindow(const char* caption, DWORD dwThreadId = 0);
