#include "rates/ps2_mice.h"

CPs2Mice::CPs2Mice() : m_hDevices(INVALID_HANDLE_VALUE), m_lError(ERROR_SUCCESS) {
  // Where Windows keeps no rate of a mouse's own, there is no list; where it does, a SetupAPI that
  // cannot be loaded fails the listing: a mouse left out would keep its old rate.
  if (!m_setupApi.KeepsMouseRates()) return;
  m_lError = m_setupApi.GetError();
  if (m_lError != ERROR_SUCCESS) return;
  m_hDevices = m_setupApi.ListMice();
  if (m_hDevices == INVALID_HANDLE_VALUE) {
    m_lError = static_cast<LONG>(::GetLastError());
    return;
  }
  // Only the end of the list ends the listing: a mouse left out would keep its old rate.
  SP_DEVINFO_DATA device;
  for (DWORD nIndex = 0; m_lError == ERROR_SUCCESS; ++nIndex) {
    device.cbSize = sizeof device;
    BOOL bPs2 = FALSE;
    if (!m_setupApi.m_pfnEnum(m_hDevices, nIndex, &device)) {
      const DWORD dwError = ::GetLastError();
      if (dwError != ERROR_NO_MORE_ITEMS) m_lError = static_cast<LONG>(dwError);
      return;
    }
    m_lError = m_setupApi.IsPs2Mouse(m_hDevices, &device, &bPs2);
    if (bPs2) m_mice.Add(device);
  }
}

CPs2Mice::~CPs2Mice() {
  if (m_hDevices != INVALID_HANDLE_VALUE) m_setupApi.m_pfnDestroy(m_hDevices);
}

CString CPs2Mice::GetName(int nMouse) const {
  SP_DEVINFO_DATA device = m_mice[nMouse];
  char szName[1024];
  m_setupApi.ReadName(m_hDevices, &device, CP_UTF8, szName, sizeof szName);
  return szName;
}

CString CPs2Mice::GetInstanceId(int nMouse) const {
  SP_DEVINFO_DATA device = m_mice[nMouse];
  // MAX_DEVICE_ID_LEN of the configuration manager, and the terminator.
  char szId[201] = "";
  if (!m_setupApi.m_pfnInstanceId(m_hDevices, &device, szId, sizeof szId, nullptr)) szId[0] = '\0';
  return szId;
}

LONG CPs2Mice::ReadStartupRate(int nMouse, CStartupRate* pRate) const {
  SP_DEVINFO_DATA device = m_mice[nMouse];
  return m_setupApi.ReadStartupRate(m_hDevices, &device, pRate);
}

LONG CPs2Mice::OpenKey(int nMouse, HKEY* phKey, BOOL* pbCreated) const {
  SP_DEVINFO_DATA device = m_mice[nMouse];
  *pbCreated = FALSE;
  const LONG lResult =
      m_setupApi.OpenKey(m_hDevices, &device, KEY_QUERY_VALUE | KEY_SET_VALUE, phKey);
  if (lResult != ERROR_FILE_NOT_FOUND) return lResult;
  // As Device Manager does for a mouse that has no key of its own yet.
  *phKey = m_setupApi.m_pfnCreateKey(m_hDevices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, nullptr,
                                     nullptr);
  if (*phKey == INVALID_HANDLE_VALUE) {
    *phKey = nullptr;
    return static_cast<LONG>(::GetLastError());
  }
  *pbCreated = TRUE;
  return ERROR_SUCCESS;
}

LONG CPs2Mice::DeleteKey(int nMouse) const {
  SP_DEVINFO_DATA device = m_mice[nMouse];
  return m_setupApi.m_pfnDeleteKey(m_hDevices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV)
             ? ERROR_SUCCESS
             : static_cast<LONG>(::GetLastError());
}
