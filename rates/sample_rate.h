// The "SampleRate" value as Koravel reads and writes it, in the i8042 port driver's parameters key
// and in a PS/2 mouse's own key alike.
#pragma once

#include <windows.h>

// The i8042 port driver's parameters key. The driver reads the mouse sample rate from its
// SampleRate when Windows starts; on Windows 2000 and later an installed PS/2 mouse's own copy
// takes its place (rates/ps2_mice.h).
#define KORAVEL_PARAMETERS_KEY "SYSTEM\\CurrentControlSet\\Services\\i8042prt\\Parameters"
#define KORAVEL_SAMPLE_RATE_VALUE "SampleRate"

// Reads the value of the open key hKey into *pdwRate: four bytes of any type are the rate, fewer
// are its low bytes (the rest zero), more fail with ERROR_MORE_DATA. *pbDword, where given, says
// whether it is a 4-byte REG_DWORD: the form Koravel writes, and the one the driver surely reads.
LONG ReadSampleRate(HKEY hKey, DWORD* pdwRate, BOOL* pbDword = nullptr);

// Writes dwRate into the open key hKey as a 4-byte REG_DWORD, whatever the value was before.
LONG WriteSampleRate(HKEY hKey, DWORD dwRate);

// Reads the driver's value into *pdwRate (and *pbDword), as ReadSampleRate does, through a key
// opened to read values only. ERROR_FILE_NOT_FOUND where the key or the value is missing.
LONG ReadParametersRate(DWORD* pdwRate, BOOL* pbDword = nullptr);

// Opens the driver's parameters key into *phKey to read and set its values, and no more: an
// administrator allowed to do that, and nothing else, can use Koravel. Never creates it.
LONG OpenParametersKey(HKEY* phKey);

// The rates of the PS/2 mouse protocol: 10, 20, 40, 60, 80, 100 and 200 reports a second. A mouse
// may refuse any other: the port driver then resets it and, after its retries, gives it up until
// the rate is set back.
BOOL IsProtocolRate(DWORD dwRate);
