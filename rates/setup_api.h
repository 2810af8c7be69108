// CSetupApi: Windows' device installation interface (SetupAPI), as Koravel uses it to find the
// mice and their keys, and what Koravel asks of one device through it: its name, whether it is a
// PS/2 mouse, and the rate it reads when Windows starts.
//
// SetupAPI is loaded at run time, from the system directory, and only where a mouse keeps a rate
// of its own: Windows 2000 (NT 5.0) and later. Windows NT 4.0 has a SetupAPI (for INF files) but
// keeps no such rate, and Windows 95 as installed has none at all: neither is asked.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include "rates/startup_rate.h"
#include "win32/system_library.h"

// The service of a PS/2 mouse: the i8042 port driver.
#define KORAVEL_PS2_SERVICE "i8042prt"

class CSetupApi {
 public:
  // Construction
  CSetupApi();
  CSetupApi(const CSetupApi&) = delete;
  CSetupApi& operator=(const CSetupApi&) = delete;

  // Attributes
  // Whether this Windows keeps a rate of a mouse's own (Windows 2000 and later): where it does
  // not, SetupAPI is not loaded, and GetError() is ERROR_NOT_SUPPORTED.
  BOOL KeepsMouseRates() const { return m_bKeepsMouseRates; }
  // ERROR_SUCCESS once every function below is there; otherwise why not.
  LONG GetError() const { return m_lError; }

  // Operations
  // The installed devices of the Mouse setup class, present or not, for m_pfnEnum;
  // INVALID_HANDLE_VALUE on failure, with the last error. The caller destroys the list with
  // m_pfnDestroy.
  HDEVINFO ListMice() const;

  // Operations on device pDevice of the list hDevices; each an error code, ERROR_SUCCESS or the
  // one that the failing call left.
  // Opens the device's own key ("Device Parameters") with samDesired into *phKey, which the
  // caller closes; ERROR_FILE_NOT_FOUND where it has none.
  LONG OpenKey(HDEVINFO hDevices, SP_DEVINFO_DATA* pDevice, REGSAM samDesired, HKEY* phKey) const;
  // The text of property dwProperty (a REG_SZ of at most 254 characters) into pszText, in code
  // page nCodePage (CP_ACP or CP_UTF8), terminated within cbText bytes; empty on failure.
  // ERROR_INVALID_DATA where the device has no such property.
  LONG ReadText(HDEVINFO hDevices, SP_DEVINFO_DATA* pDevice, DWORD dwProperty, UINT nCodePage,
                LPSTR pszText, DWORD cbText) const;
  // The name Windows shows for the device, as ReadText gives it: its friendly name, else its
  // description; empty where it has neither. 1024 bytes hold any.
  void ReadName(HDEVINFO hDevices, SP_DEVINFO_DATA* pDevice, UINT nCodePage, LPSTR pszName,
                DWORD cbName) const;
  // Whether it is a PS/2 mouse: of the Mouse setup class and served by the i8042 port driver
  // (PS/2 touchpads among them; USB and serial mice have other services).
  LONG IsPs2Mouse(HDEVINFO hDevices, SP_DEVINFO_DATA* pDevice, BOOL* pbPs2) const;
  // The rate that the device, a PS/2 mouse, reads when Windows starts.
  LONG ReadStartupRate(HDEVINFO hDevices, SP_DEVINFO_DATA* pDevice, CStartupRate* pRate) const;

  // The functions; to be called only where GetError() is ERROR_SUCCESS.
  decltype(&::SetupDiCreateDeviceInfoList) m_pfnCreateList = nullptr;
  decltype(&::SetupDiOpenDeviceInfoA) m_pfnOpenDevice = nullptr;
  decltype(&::SetupDiEnumDeviceInfo) m_pfnEnum = nullptr;
  decltype(&::SetupDiGetDeviceInstanceIdA) m_pfnInstanceId = nullptr;
  decltype(&::SetupDiGetDeviceRegistryPropertyW) m_pfnProperty = nullptr;
  decltype(&::SetupDiCreateDevRegKeyA) m_pfnCreateKey = nullptr;
  decltype(&::SetupDiDeleteDevRegKey) m_pfnDeleteKey = nullptr;
  decltype(&::SetupDiDestroyDeviceInfoList) m_pfnDestroy = nullptr;

 private:
  BOOL m_bKeepsMouseRates;
  SystemLibrary m_library;
  LONG m_lError;
  decltype(&::SetupDiGetClassDevsA) m_pfnGetClassDevs = nullptr;
  decltype(&::SetupDiOpenDevRegKey) m_pfnOpenKey = nullptr;
};
