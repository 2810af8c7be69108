#include "rates/setup_api.h"

#include <initguid.h>
#include <string.h>

namespace {

// The Mouse setup class. Defined here: MinGW has no library that holds it.
DEFINE_GUID(GUID_DEVCLASS_MOUSE, 0x4d36e96f, 0xe325, 0x11ce, 0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1,
            0x03, 0x18);

BOOL WindowsKeepsMouseRates() {
  OSVERSIONINFOA version;
  ::memset(&version, 0, sizeof version);
  version.dwOSVersionInfoSize = sizeof version;
  return ::GetVersionExA(&version) && version.dwMajorVersion >= 5;
}

// The error of a SetupAPI call that failed, as a registry call's result.
LONG LastError() { return static_cast<LONG>(::GetLastError()); }

}  // namespace

CSetupApi::CSetupApi()
    : m_bKeepsMouseRates(WindowsKeepsMouseRates()),
      m_library(m_bKeepsMouseRates ? "setupapi.dll" : nullptr),
      m_lError(ERROR_NOT_SUPPORTED) {
  const HMODULE hModule = m_library.GetHandle();
  if (hModule == nullptr) {
    // The loader's error; none where it was not even asked (a system directory too long).
    const LONG lError = LastError();
    if (m_bKeepsMouseRates) m_lError = lError != ERROR_SUCCESS ? lError : ERROR_MOD_NOT_FOUND;
    return;
  }
  m_pfnGetClassDevs = SYSTEM_FUNCTION(hModule, SetupDiGetClassDevsA);
  m_pfnCreateList = SYSTEM_FUNCTION(hModule, SetupDiCreateDeviceInfoList);
  m_pfnOpenDevice = SYSTEM_FUNCTION(hModule, SetupDiOpenDeviceInfoA);
  m_pfnEnum = SYSTEM_FUNCTION(hModule, SetupDiEnumDeviceInfo);
  m_pfnInstanceId = SYSTEM_FUNCTION(hModule, SetupDiGetDeviceInstanceIdA);
  m_pfnProperty = SYSTEM_FUNCTION(hModule, SetupDiGetDeviceRegistryPropertyW);
  m_pfnOpenKey = SYSTEM_FUNCTION(hModule, SetupDiOpenDevRegKey);
  m_pfnCreateKey = SYSTEM_FUNCTION(hModule, SetupDiCreateDevRegKeyA);
  m_pfnDeleteKey = SYSTEM_FUNCTION(hModule, SetupDiDeleteDevRegKey);
  m_pfnDestroy = SYSTEM_FUNCTION(hModule, SetupDiDestroyDeviceInfoList);
  const bool bAll = m_pfnGetClassDevs && m_pfnCreateList && m_pfnOpenDevice && m_pfnEnum &&
                    m_pfnInstanceId && m_pfnProperty && m_pfnOpenKey && m_pfnCreateKey &&
                    m_pfnDeleteKey && m_pfnDestroy;
  m_lError = bAll ? ERROR_SUCCESS : ERROR_PROC_NOT_FOUND;
}

LONG CSetupApi::ReadText(HDEVINFO hDevices, SP_DEVINFO_DATA* pDevice, DWORD dwProperty,
                         UINT nCodePage, LPSTR pszText, DWORD cbText) const {
  // Read in Unicode, whatever the code page: a name outside the ANSI code page keeps its letters.
  // Zeroed, and read with room for the terminator: a REG_SZ need not carry one.
  WCHAR szWide[256];
  ::memset(szWide, 0, sizeof szWide);
  pszText[0] = '\0';
  DWORD dwType = 0;
  if (!m_pfnProperty(hDevices, pDevice, dwProperty, &dwType, reinterpret_cast<BYTE*>(szWide),
                     sizeof szWide - sizeof *szWide, nullptr)) {
    return LastError();
  }
  if (dwType != REG_SZ) return ERROR_INVALID_DATA;
  return ::WideCharToMultiByte(nCodePage, 0, szWide, -1, pszText, static_cast<int>(cbText), nullptr,
                               nullptr) != 0
             ? ERROR_SUCCESS
             : LastError();
}

void CSetupApi::ReadName(HDEVINFO hDevices, SP_DEVINFO_DATA* pDevice, UINT nCodePage, LPSTR pszName,
                         DWORD cbName) const {
  if (ReadText(hDevices, pDevice, SPDRP_FRIENDLYNAME, nCodePage, pszName, cbName) !=
          ERROR_SUCCESS ||
      pszName[0] == '\0') {
    ReadText(hDevices, pDevice, SPDRP_DEVICEDESC, nCodePage, pszName, cbName);
  }
}

LONG CSetupApi::IsPs2Mouse(HDEVINFO hDevices, SP_DEVINFO_DATA* pDevice, BOOL* pbPs2) const {
  *pbPs2 = FALSE;
  if (!::IsEqualGUID(pDevice->ClassGuid, GUID_DEVCLASS_MOUSE)) return ERROR_SUCCESS;
  char szService[64];
  const LONG lResult =
      ReadText(hDevices, pDevice, SPDRP_SERVICE, CP_ACP, szService, sizeof szService);
  // No service, or one too long to be the port driver's, is another service.
  if (lResult == ERROR_INVALID_DATA || lResult == ERROR_INSUFFICIENT_BUFFER) return ERROR_SUCCESS;
  *pbPs2 = lResult == ERROR_SUCCESS && ::lstrcmpiA(szService, KORAVEL_PS2_SERVICE) == 0;
  return lResult;
}

HDEVINFO CSetupApi::ListMice() const {
  // Installed, present or not: the driver reads the key of a mouse that is not there at this start
  // (a KVM switched away, a docking station's port) the next time it is.
  return m_pfnGetClassDevs(&GUID_DEVCLASS_MOUSE, nullptr, nullptr, 0);
}

LONG CSetupApi::OpenKey(HDEVINFO hDevices, SP_DEVINFO_DATA* pDevice, REGSAM samDesired,
                        HKEY* phKey) const {
  *phKey = m_pfnOpenKey(hDevices, pDevice, DICS_FLAG_GLOBAL, 0, DIREG_DEV, samDesired);
  if (*phKey != INVALID_HANDLE_VALUE) return ERROR_SUCCESS;
  *phKey = nullptr;
  // SetupAPI's answer where a device has no key of its own; Wine's is the registry's.
  const LONG lError = LastError();
  return lError == static_cast<LONG>(ERROR_KEY_DOES_NOT_EXIST) ? ERROR_FILE_NOT_FOUND : lError;
}

LONG CSetupApi::ReadStartupRate(HDEVINFO hDevices, SP_DEVINFO_DATA* pDevice,
                                CStartupRate* pRate) const {
  HKEY hKey = nullptr;
  const LONG lOpened = OpenKey(hDevices, pDevice, KEY_QUERY_VALUE, &hKey);
  const LONG lResult = pRate->Read(hKey, lOpened);
  if (hKey != nullptr) ::RegCloseKey(hKey);
  return lResult;
}
