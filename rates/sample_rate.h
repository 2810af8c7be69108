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
// are its low bytes (the rest zero), more fail with ERROR_MORE_DATA. The type is not examined.
LONG ReadSampleRate(HKEY hKey, DWORD* pdwRate);

// Writes dwRate into the open key hKey as a 4-byte REG_DWORD, whatever the value was before.
LONG WriteSampleRate(HKEY hKey, DWORD dwRate);
