// CPs2Mice: the installed PS/2 mice, each with a key of its own (Windows 2000 and later).
//
// When Windows installs a PS/2 mouse, it copies the i8042 port driver's service-level SampleRate
// into the device's hardware key ("Device Parameters" under the device's Enum key), and from then
// on the driver reads that copy only: a rate reaches an installed mouse there, where Device
// Manager writes it. The mice are the present devices of the Mouse setup class whose service is
// i8042prt (PS/2 touchpads among them); USB and serial mice have other services and are never
// touched. Windows NT 4.0 keeps no such copy: there, and wherever SetupAPI or one of its
// functions is missing, there is no list, and SetupAPI is not even loaded. It is loaded at run
// time, from the system directory: Windows NT 4.0 and 95 as installed do not have it.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include "win32/system_library.h"

// The service of a PS/2 mouse: the i8042 port driver.
#define KORAVEL_PS2_SERVICE "i8042prt"

class CPs2Mice {
 public:
  // Construction
  // Lists the mice; construct one only on Windows NT.
  CPs2Mice();
  ~CPs2Mice();
  CPs2Mice(const CPs2Mice&) = delete;
  CPs2Mice& operator=(const CPs2Mice&) = delete;

  // Attributes
  // Whether the mice were listed; FALSE where there is no list, or where listing them failed.
  BOOL IsListed() const { return m_hDevices != INVALID_HANDLE_VALUE && m_lError == ERROR_SUCCESS; }
  // Why listing the mice failed; ERROR_SUCCESS where it did not, or where there is no list.
  LONG GetError() const { return m_lError; }
  int GetCount() const { return m_nMice; }

  // Operations
  // Where a mouse has a SampleRate of its own, read as the service-level one is, the first such
  // mouse in the system's order replaces *pdwRate with it. ERROR_SUCCESS also where none has;
  // otherwise the error of the listing or of the read, and *pdwRate is left as it was.
  LONG ReadRate(DWORD* pdwRate) const;
  // Opens the own key of mouse nMouse (0 to GetCount() - 1) to query and set values into *phKey,
  // which the caller closes. Where the mouse has none, creates it, and *pbCreated says so.
  LONG OpenKey(int nMouse, HKEY* phKey, BOOL* pbCreated) const;
  // Deletes the own key of mouse nMouse again, after OpenKey created it; close it first.
  LONG DeleteKey(int nMouse) const;

 private:
  // Whether the device is a PS/2 mouse, one served by the i8042 port driver.
  BOOL IsPs2Mouse(SP_DEVINFO_DATA* pDevice) const;
  // Appends a mouse to m_pMice.
  void Add(const SP_DEVINFO_DATA& device);

  SystemLibrary m_setupapi;
  decltype(&::SetupDiEnumDeviceInfo) m_pfnEnum;
  decltype(&::SetupDiGetDeviceRegistryPropertyA) m_pfnProperty;
  decltype(&::SetupDiOpenDevRegKey) m_pfnOpenKey;
  decltype(&::SetupDiCreateDevRegKeyA) m_pfnCreateKey;
  decltype(&::SetupDiDeleteDevRegKey) m_pfnDeleteKey;
  decltype(&::SetupDiDestroyDeviceInfoList) m_pfnDestroy;
  HDEVINFO m_hDevices;       // INVALID_HANDLE_VALUE where there is no list
  SP_DEVINFO_DATA* m_pMice;  // the PS/2 mice among the devices, in the system's order
  int m_nMice;
  int m_nAlloc;  // entries m_pMice has room for
  LONG m_lError;
};
