// CMouseDevice: what Windows knows of a mouse that raw input names (Windows XP and later): the
// name it shows for the device, whether the device is one of the PS/2 mice whose rate Koravel sets
// (rates/ps2_mice.h), and the rate stored for it. It only reads.
#pragma once

#include <windows.h>

class CMouseDevice {
 public:
  // Construction
  // Looks up the device that raw input names lpszRawName: "\\?\" (on Windows XP "\??\"), the
  // device's instance ID with each "\" written "#", then "#{interface class}". SetupAPI is loaded
  // for the look-up, from the system directory, and freed again.
  explicit CMouseDevice(LPCSTR lpszRawName);

  // Attributes
  // The name Windows shows for the device: its friendly name, else its description. Empty where
  // the device is not found.
  LPCSTR GetName() const { return m_szName; }
  // Whether it is a PS/2 mouse, whose rate Koravel sets.
  BOOL IsPs2() const { return m_bPs2; }
  // For a PS/2 mouse, the rate it reads when Windows starts, as stored: its own, or the driver's
  // where it has none. ERROR_SUCCESS, or the error of the read (ERROR_FILE_NOT_FOUND where
  // neither is stored).
  LONG GetRate(DWORD* pdwRate) const;

 private:
  char m_szName[256] = "";
  BOOL m_bPs2 = FALSE;
  LONG m_lRateResult = ERROR_FILE_NOT_FOUND;
  DWORD m_dwRate = 0;
};
