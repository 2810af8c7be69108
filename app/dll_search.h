// The DLL search of an elevated process.
//
// Koravel runs with administrator rights and is typically started from a download folder, where
// anyone could have placed a DLL under a system DLL's name. Windows searches the executable's own
// folder first, so the search is limited to the system directory before anything that could load
// a DLL runs.
#pragma once

#include <windows.h>

// Limits every later LoadLibrary of this process (those made by the system on its behalf too) to
// the system directory, where the system offers that; otherwise takes at least the current
// directory out of the search. The functions are looked up at run time, so a system that lacks
// them still starts. TRUE when the search was limited to the system directory.
BOOL RestrictDllSearchToSystem();
