#include "rates/mouse_device.h"

#include <string.h>

#include "rates/setup_api.h"

CMouseDevice::CMouseDevice(LPCSTR lpszRawName) : m_strName(lpszRawName) {
  // The instance ID: the name between its prefix and the last "#{", "#" written "\" again.
  if (::strncmp(lpszRawName, "\\\\?\\", 4) != 0 && ::strncmp(lpszRawName, "\\??\\", 4) != 0) {
    m_lError = ERROR_INVALID_NAME;
    return;
  }
  LPCSTR lpszClass = nullptr;
  for (LPCSTR p = ::strstr(lpszRawName, "#{"); p != nullptr; p = ::strstr(p + 1, "#{"))
    lpszClass = p;
  const int cchId = static_cast<int>(lpszClass != nullptr ? lpszClass - lpszRawName - 4
                                                          : ::lstrlenA(lpszRawName + 4));
  LPSTR pszId = m_strName.GetBuffer(cchId);
  for (int i = 0; i < cchId; ++i) pszId[i] = lpszRawName[4 + i] == '#' ? '\\' : lpszRawName[4 + i];
  pszId[cchId] = '\0';
  m_strName.ReleaseBuffer();

  const CSetupApi setupApi;
  m_lError = setupApi.GetError();
  if (m_lError != ERROR_SUCCESS) return;
  const HDEVINFO hDevices = setupApi.m_pfnCreateList(nullptr, nullptr);
  if (hDevices == INVALID_HANDLE_VALUE) {
    m_lError = static_cast<LONG>(::GetLastError());
    return;
  }
  SP_DEVINFO_DATA device;
  device.cbSize = sizeof device;
  if (!setupApi.m_pfnOpenDevice(hDevices, m_strName, nullptr, 0, &device)) {
    m_lError = static_cast<LONG>(::GetLastError());
  } else {
    char szName[1024];
    setupApi.ReadName(hDevices, &device, CP_ACP, szName, sizeof szName);
    if (szName[0] != '\0') m_strName = szName;
    m_lError = setupApi.IsPs2Mouse(hDevices, &device, &m_bPs2);
    if (m_bPs2) setupApi.ReadStartupRate(hDevices, &device, &m_rate);
  }
  setupApi.m_pfnDestroy(hDevices);
}
