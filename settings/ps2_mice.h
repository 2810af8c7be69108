// CPs2Mice: the installed PS/2 mice, each with a key of its own (Windows 2000 and later).
//
// When Windows installs a PS/2 mouse, it copies the i8042 port driver's service-level SampleRate
// into the device's hardware key ("Device Parameters" under the device's Enum key), and from then
// on the driver reads that copy only: a rate reaches an installed mouse there, where Device
// Manager writes it. The mice are the present devices of the Mouse setup class whose service is
// i8042prt; USB and serial mice have other services and are never touched. SetupAPI, which lists
// them, is not in Windows NT 4.0 or 95 as installed: it is loaded at run time, from the system
// directory, and where it or one of its functions is missing there are no mice to list.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include "win32/system_library.h"

class CPs2Mice {
 public:
  // Construction
  // Lists the mice, loading SetupAPI; construct one only on Windows NT.
  CPs2Mice();
  ~CPs2Mice();
  CPs2Mice(const CPs2Mice&) = delete;
  CPs2Mice& operator=(const CPs2Mice&) = delete;

  // Operations
  // Where a mouse has a SampleRate of its own, read as the service-level one is, the first such
  // mouse in the system's order replaces *pdwRate with it. ERROR_SUCCESS also where none has;
  // otherwise the error of the listing or of the read, and *pdwRate is left as it was.
  LONG ReadRate(DWORD* pdwRate) const;
  // Writes dwRate into each mouse's own key, creating the value, and the key, where the mouse has
  // none. Stops at the first failure and returns its error.
  LONG WriteRate(DWORD dwRate) const;

 private:
  // The next PS/2 mouse from *pnIndex on, into *pDevice; FALSE after the last.
  BOOL NextMouse(DWORD* pnIndex, SP_DEVINFO_DATA* pDevice) const;

  SystemLibrary m_setupapi;
  decltype(&::SetupDiEnumDeviceInfo) m_pfnEnum;
  decltype(&::SetupDiGetDeviceRegistryPropertyA) m_pfnProperty;
  decltype(&::SetupDiOpenDevRegKey) m_pfnOpenKey;
  decltype(&::SetupDiCreateDevRegKeyA) m_pfnCreateKey;
  decltype(&::SetupDiDestroyDeviceInfoList) m_pfnDestroy;
  HDEVINFO m_hDevices;  // INVALID_HANDLE_VALUE where there is no list
  LONG m_lError;        // why the list could not be made, where SetupAPI is there to make it
};
