#include "settings/ps2_mice.h"

#include <initguid.h>

#include "settings/sample_rate.h"

namespace {

// The Mouse setup class. Defined here: MinGW has no library that holds it.
DEFINE_GUID(GUID_DEVCLASS_MOUSE, 0x4d36e96f, 0xe325, 0x11ce, 0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1,
            0x03, 0x18);

// SetupAPI's answer, or the registry's, where a device has no key of its own.
bool NoKey(DWORD dwError) {
  return dwError == ERROR_KEY_DOES_NOT_EXIST || dwError == ERROR_FILE_NOT_FOUND;
}

}  // namespace

CPs2Mice::CPs2Mice()
    : m_setupapi("setupapi.dll"),
      m_pfnEnum(SYSTEM_FUNCTION(m_setupapi.GetHandle(), SetupDiEnumDeviceInfo)),
      m_pfnProperty(SYSTEM_FUNCTION(m_setupapi.GetHandle(), SetupDiGetDeviceRegistryPropertyA)),
      m_pfnOpenKey(SYSTEM_FUNCTION(m_setupapi.GetHandle(), SetupDiOpenDevRegKey)),
      m_pfnCreateKey(SYSTEM_FUNCTION(m_setupapi.GetHandle(), SetupDiCreateDevRegKeyA)),
      m_pfnDestroy(SYSTEM_FUNCTION(m_setupapi.GetHandle(), SetupDiDestroyDeviceInfoList)),
      m_hDevices(INVALID_HANDLE_VALUE),
      m_lError(ERROR_SUCCESS) {
  const auto pfnGetClassDevs = SYSTEM_FUNCTION(m_setupapi.GetHandle(), SetupDiGetClassDevsA);
  if (pfnGetClassDevs == nullptr || m_pfnEnum == nullptr || m_pfnProperty == nullptr ||
      m_pfnOpenKey == nullptr || m_pfnCreateKey == nullptr || m_pfnDestroy == nullptr) {
    return;
  }
  m_hDevices = pfnGetClassDevs(&GUID_DEVCLASS_MOUSE, nullptr, nullptr, DIGCF_PRESENT);
  if (m_hDevices == INVALID_HANDLE_VALUE) m_lError = static_cast<LONG>(::GetLastError());
}

CPs2Mice::~CPs2Mice() {
  if (m_hDevices != INVALID_HANDLE_VALUE) m_pfnDestroy(m_hDevices);
}

BOOL CPs2Mice::NextMouse(DWORD* pnIndex, SP_DEVINFO_DATA* pDevice) const {
  if (m_hDevices == INVALID_HANDLE_VALUE) return FALSE;
  for (;; ++*pnIndex) {
    pDevice->cbSize = sizeof *pDevice;
    if (!m_pfnEnum(m_hDevices, *pnIndex, pDevice)) return FALSE;  // ERROR_NO_MORE_ITEMS
    char szService[64];
    DWORD dwType = 0;
    if (m_pfnProperty(m_hDevices, pDevice, SPDRP_SERVICE, &dwType,
                      reinterpret_cast<BYTE*>(szService), sizeof szService, nullptr) &&
        dwType == REG_SZ && ::lstrcmpiA(szService, "i8042prt") == 0) {
      ++*pnIndex;
      return TRUE;
    }
  }
}

LONG CPs2Mice::ReadRate(DWORD* pdwRate) const {
  if (m_lError != ERROR_SUCCESS) return m_lError;
  SP_DEVINFO_DATA device;
  for (DWORD nIndex = 0; NextMouse(&nIndex, &device);) {
    const HKEY hKey =
        m_pfnOpenKey(m_hDevices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
    if (hKey == INVALID_HANDLE_VALUE) {
      // A mouse without a key of its own has no rate of its own either.
      const DWORD dwError = ::GetLastError();
      if (NoKey(dwError)) continue;
      return static_cast<LONG>(dwError);
    }
    const LONG lResult = ReadSampleRate(hKey, pdwRate);
    ::RegCloseKey(hKey);
    if (lResult != ERROR_FILE_NOT_FOUND) return lResult;
  }
  return ERROR_SUCCESS;
}

LONG CPs2Mice::WriteRate(DWORD dwRate) const {
  if (m_lError != ERROR_SUCCESS) return m_lError;
  SP_DEVINFO_DATA device;
  for (DWORD nIndex = 0; NextMouse(&nIndex, &device);) {
    HKEY hKey = m_pfnOpenKey(m_hDevices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_SET_VALUE);
    if (hKey == INVALID_HANDLE_VALUE) {
      const DWORD dwError = ::GetLastError();
      if (!NoKey(dwError)) return static_cast<LONG>(dwError);
      // As Device Manager does for a mouse that has no key of its own yet.
      hKey = m_pfnCreateKey(m_hDevices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, nullptr, nullptr);
      if (hKey == INVALID_HANDLE_VALUE) return static_cast<LONG>(::GetLastError());
    }
    const LONG lResult = WriteSampleRate(hKey, dwRate);
    ::RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS) return lResult;
  }
  return ERROR_SUCCESS;
}
