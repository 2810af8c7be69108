#include "rates/ps2_mice.h"

#include <initguid.h>
#include <string.h>

#include "rates/sample_rate.h"

namespace {

// The Mouse setup class. Defined here: MinGW has no library that holds it.
DEFINE_GUID(GUID_DEVCLASS_MOUSE, 0x4d36e96f, 0xe325, 0x11ce, 0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1,
            0x03, 0x18);

// SetupAPI's answer, or the registry's, where a device has no key of its own.
bool NoKey(DWORD dwError) {
  return dwError == ERROR_KEY_DOES_NOT_EXIST || dwError == ERROR_FILE_NOT_FOUND;
}

// Windows 2000 (NT 5.0) and later keep a rate of each PS/2 mouse's own. Windows NT 4.0 keeps none,
// though it has a SetupAPI (for INF files): there it is not consulted at all.
LPCSTR SetupApiWhereMiceKeepRates() {
  OSVERSIONINFOA version;
  ::memset(&version, 0, sizeof version);
  version.dwOSVersionInfoSize = sizeof version;
  return ::GetVersionExA(&version) && version.dwMajorVersion >= 5 ? "setupapi.dll" : nullptr;
}

}  // namespace

CPs2Mice::CPs2Mice()
    : m_setupapi(SetupApiWhereMiceKeepRates()),
      m_pfnEnum(SYSTEM_FUNCTION(m_setupapi.GetHandle(), SetupDiEnumDeviceInfo)),
      m_pfnProperty(SYSTEM_FUNCTION(m_setupapi.GetHandle(), SetupDiGetDeviceRegistryPropertyA)),
      m_pfnOpenKey(SYSTEM_FUNCTION(m_setupapi.GetHandle(), SetupDiOpenDevRegKey)),
      m_pfnCreateKey(SYSTEM_FUNCTION(m_setupapi.GetHandle(), SetupDiCreateDevRegKeyA)),
      m_pfnDeleteKey(SYSTEM_FUNCTION(m_setupapi.GetHandle(), SetupDiDeleteDevRegKey)),
      m_pfnDestroy(SYSTEM_FUNCTION(m_setupapi.GetHandle(), SetupDiDestroyDeviceInfoList)),
      m_hDevices(INVALID_HANDLE_VALUE),
      m_pMice(nullptr),
      m_nMice(0),
      m_nAlloc(0),
      m_lError(ERROR_SUCCESS) {
  const auto pfnGetClassDevs = SYSTEM_FUNCTION(m_setupapi.GetHandle(), SetupDiGetClassDevsA);
  if (pfnGetClassDevs == nullptr || m_pfnEnum == nullptr || m_pfnProperty == nullptr ||
      m_pfnOpenKey == nullptr || m_pfnCreateKey == nullptr || m_pfnDeleteKey == nullptr ||
      m_pfnDestroy == nullptr) {
    return;
  }
  m_hDevices = pfnGetClassDevs(&GUID_DEVCLASS_MOUSE, nullptr, nullptr, DIGCF_PRESENT);
  if (m_hDevices == INVALID_HANDLE_VALUE) {
    m_lError = static_cast<LONG>(::GetLastError());
    return;
  }
  // Only the end of the list ends the listing: a mouse left out would keep its old rate.
  SP_DEVINFO_DATA device;
  for (DWORD nIndex = 0;; ++nIndex) {
    device.cbSize = sizeof device;
    if (!m_pfnEnum(m_hDevices, nIndex, &device)) {
      const DWORD dwError = ::GetLastError();
      if (dwError != ERROR_NO_MORE_ITEMS) m_lError = static_cast<LONG>(dwError);
      return;
    }
    if (IsPs2Mouse(&device)) Add(device);
  }
}

CPs2Mice::~CPs2Mice() {
  delete[] m_pMice;
  if (m_hDevices != INVALID_HANDLE_VALUE) m_pfnDestroy(m_hDevices);
}

BOOL CPs2Mice::IsPs2Mouse(SP_DEVINFO_DATA* pDevice) const {
  // Zeroed, and read with room for the terminator: a REG_SZ need not carry one.
  char szService[64];
  ::memset(szService, 0, sizeof szService);
  DWORD dwType = 0;
  return m_pfnProperty(m_hDevices, pDevice, SPDRP_SERVICE, &dwType,
                       reinterpret_cast<BYTE*>(szService), sizeof szService - 1, nullptr) &&
         dwType == REG_SZ && ::lstrcmpiA(szService, KORAVEL_PS2_SERVICE) == 0;
}

void CPs2Mice::Add(const SP_DEVINFO_DATA& device) {
  if (m_nMice == m_nAlloc) {
    m_nAlloc = m_nAlloc != 0 ? 2 * m_nAlloc : 4;
    SP_DEVINFO_DATA* pMice = new SP_DEVINFO_DATA[m_nAlloc];
    if (m_nMice != 0) ::memcpy(pMice, m_pMice, m_nMice * sizeof *pMice);
    delete[] m_pMice;
    m_pMice = pMice;
  }
  m_pMice[m_nMice++] = device;
}

LONG CPs2Mice::ReadRate(DWORD* pdwRate) const {
  if (m_lError != ERROR_SUCCESS) return m_lError;
  for (int nMouse = 0; nMouse < m_nMice; ++nMouse) {
    const HKEY hKey =
        m_pfnOpenKey(m_hDevices, &m_pMice[nMouse], DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
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

LONG CPs2Mice::OpenKey(int nMouse, HKEY* phKey, BOOL* pbCreated) const {
  SP_DEVINFO_DATA* pDevice = &m_pMice[nMouse];
  *pbCreated = FALSE;
  *phKey = m_pfnOpenKey(m_hDevices, pDevice, DICS_FLAG_GLOBAL, 0, DIREG_DEV,
                        KEY_QUERY_VALUE | KEY_SET_VALUE);
  if (*phKey == INVALID_HANDLE_VALUE) {
    const DWORD dwError = ::GetLastError();
    if (!NoKey(dwError)) {
      *phKey = nullptr;
      return static_cast<LONG>(dwError);
    }
    // As Device Manager does for a mouse that has no key of its own yet.
    *phKey = m_pfnCreateKey(m_hDevices, pDevice, DICS_FLAG_GLOBAL, 0, DIREG_DEV, nullptr, nullptr);
    if (*phKey == INVALID_HANDLE_VALUE) {
      *phKey = nullptr;
      return static_cast<LONG>(::GetLastError());
    }
    *pbCreated = TRUE;
  }
  return ERROR_SUCCESS;
}

LONG CPs2Mice::DeleteKey(int nMouse) const {
  return m_pfnDeleteKey(m_hDevices, &m_pMice[nMouse], DICS_FLAG_GLOBAL, 0, DIREG_DEV)
             ? ERROR_SUCCESS
             : static_cast<LONG>(::GetLastError());
}
