#include "rates/mouse_device.h"

#include <initguid.h>  // before devguid.h: the setup classes are defined here
#include <devguid.h>
#include <setupapi.h>
#include <string.h>

#include "rates/ps2_mice.h"
#include "rates/sample_rate.h"
#include "win32/system_library.h"

namespace {

// The longest instance ID and its terminator (MAX_DEVICE_ID_LEN of the configuration manager).
const DWORD kInstanceIdSize = 200;

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether the cchId characters at lpszId, raw input's name for a device between its prefix and
// "#{", name the instance ID lpszInstance: the same but for "#" in the place of each backslash,
// without regard to case. Instance IDs are ASCII.
BOOL IsNameOf(LPCSTR lpszId, int cchId, LPCSTR lpszInstance) {
  int i = 0;
  for (; i < cchId && lpszInstance[i] != '\0'; ++i) {
    if (Upper(lpszInstance[i] == '\\' ? '#' : lpszInstance[i]) != Upper(lpszId[i])) return FALSE;
  }
  return i == cchId && lpszInstance[i] == '\0';
}

LONG ReadDriverRate(DWORD* pdwRate) {
  HKEY hKey = nullptr;
  LONG lResult =
      ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, KORAVEL_PARAMETERS_KEY, 0, KEY_QUERY_VALUE, &hKey);
  if (lResult != ERROR_SUCCESS) return lResult;
  lResult = ReadSampleRate(hKey, pdwRate);
  ::RegCloseKey(hKey);
  return lResult;
}

}  // namespace

CMouseDevice::CMouseDevice(LPCSTR lpszRawName) {
  // The instance ID part of the name.
  if (::strncmp(lpszRawName, "\\\\?\\", 4) != 0 && ::strncmp(lpszRawName, "\\??\\", 4) != 0) return;
  const LPCSTR lpszId = lpszRawName + 4;
  const LPCSTR lpszClass = ::strstr(lpszId, "#{");
  const int cchId =
      lpszClass != nullptr ? static_cast<int>(lpszClass - lpszId) : ::lstrlenA(lpszId);

  const SystemLibrary setupapi("setupapi.dll");
  const HMODULE hSetupApi = setupapi.GetHandle();
  const auto pfnGetClassDevs = SYSTEM_FUNCTION(hSetupApi, SetupDiGetClassDevsA);
  const auto pfnEnum = SYSTEM_FUNCTION(hSetupApi, SetupDiEnumDeviceInfo);
  const auto pfnInstanceId = SYSTEM_FUNCTION(hSetupApi, SetupDiGetDeviceInstanceIdA);
  const auto pfnProperty = SYSTEM_FUNCTION(hSetupApi, SetupDiGetDeviceRegistryPropertyA);
  const auto pfnOpenKey = SYSTEM_FUNCTION(hSetupApi, SetupDiOpenDevRegKey);
  const auto pfnDestroy = SYSTEM_FUNCTION(hSetupApi, SetupDiDestroyDeviceInfoList);
  if (pfnGetClassDevs == nullptr || pfnEnum == nullptr || pfnInstanceId == nullptr ||
      pfnProperty == nullptr || pfnOpenKey == nullptr || pfnDestroy == nullptr) {
    return;
  }
  const HDEVINFO hDevices =
      pfnGetClassDevs(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
  if (hDevices == INVALID_HANDLE_VALUE) return;
  SP_DEVINFO_DATA device;
  device.cbSize = sizeof device;
  char szInstance[kInstanceIdSize];
  for (DWORD nIndex = 0; pfnEnum(hDevices, nIndex, &device); ++nIndex) {
    if (!pfnInstanceId(hDevices, &device, szInstance, sizeof szInstance, nullptr) ||
        !IsNameOf(lpszId, cchId, szInstance)) {
      continue;
    }
    // Zeroed, and read with room for the terminator: a REG_SZ need not carry one.
    const auto Read = [&](DWORD dwProperty, char* pszText, DWORD cbText) {
      ::memset(pszText, 0, cbText);
      DWORD dwType = 0;
      return pfnProperty(hDevices, &device, dwProperty, &dwType, reinterpret_cast<BYTE*>(pszText),
                         cbText - 1, nullptr) &&
             dwType == REG_SZ;
    };
    if (!Read(SPDRP_FRIENDLYNAME, m_szName, sizeof m_szName) || m_szName[0] == '\0') {
      Read(SPDRP_DEVICEDESC, m_szName, sizeof m_szName);
    }
    char szService[64];
    m_bPs2 = ::IsEqualGUID(device.ClassGuid, GUID_DEVCLASS_MOUSE) &&
             Read(SPDRP_SERVICE, szService, sizeof szService) &&
             ::lstrcmpiA(szService, KORAVEL_PS2_SERVICE) == 0;
    if (m_bPs2) {
      const HKEY hKey =
          pfnOpenKey(hDevices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
      if (hKey != INVALID_HANDLE_VALUE) {
        m_lRateResult = ReadSampleRate(hKey, &m_dwRate);
        ::RegCloseKey(hKey);
      }
      // Without a value of its own, the mouse reads the driver's.
      if (m_lRateResult == ERROR_FILE_NOT_FOUND) m_lRateResult = ReadDriverRate(&m_dwRate);
    }
    break;
  }
  pfnDestroy(hDevices);
}

LONG CMouseDevice::GetRate(DWORD* pdwRate) const {
  if (m_lRateResult == ERROR_SUCCESS) *pdwRate = m_dwRate;
  return m_lRateResult;
}
