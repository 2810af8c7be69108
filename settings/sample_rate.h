// The "SampleRate" value as Koravel reads and writes it, in the i8042 port driver's parameters key
// and in a PS/2 mouse's own key alike.
#pragma once

#include <windows.h>

#define KORAVEL_SAMPLE_RATE_VALUE "SampleRate"

// Reads the value of the open key hKey into *pdwRate: four bytes of any type are the rate, fewer
// are its low bytes (the rest zero), more fail with ERROR_MORE_DATA. The type is not examined.
LONG ReadSampleRate(HKEY hKey, DWORD* pdwRate);

// Writes dwRate into the open key hKey as a 4-byte REG_DWORD, whatever the value was before.
LONG WriteSampleRate(HKEY hKey, DWORD dwRate);
