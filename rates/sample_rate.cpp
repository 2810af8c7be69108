#include "rates/sample_rate.h"

LONG ReadSampleRate(HKEY hKey, DWORD* pdwRate, BOOL* pbDword) {
  DWORD dwRate = 0;
  DWORD dwType = REG_DWORD;
  DWORD cbData = sizeof dwRate;
  const LONG lResult = ::RegQueryValueExA(hKey, KORAVEL_SAMPLE_RATE_VALUE, nullptr, &dwType,
                                          reinterpret_cast<BYTE*>(&dwRate), &cbData);
  if (lResult == ERROR_SUCCESS) *pdwRate = dwRate;
  if (pbDword != nullptr) {
    *pbDword = lResult == ERROR_SUCCESS && dwType == REG_DWORD && cbData == sizeof dwRate;
  }
  return lResult;
}

LONG WriteSampleRate(HKEY hKey, DWORD dwRate) {
  return ::RegSetValueExA(hKey, KORAVEL_SAMPLE_RATE_VALUE, 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&dwRate), sizeof dwRate);
}

LONG ReadParametersRate(DWORD* pdwRate, BOOL* pbDword) {
  HKEY hKey = nullptr;
  LONG lResult =
      ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, KORAVEL_PARAMETERS_KEY, 0, KEY_QUERY_VALUE, &hKey);
  if (lResult != ERROR_SUCCESS) return lResult;
  lResult = ReadSampleRate(hKey, pdwRate, pbDword);
  ::RegCloseKey(hKey);
  return lResult;
}

LONG OpenParametersKey(HKEY* phKey) {
  const LONG lResult = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, KORAVEL_PARAMETERS_KEY, 0,
                                       KEY_QUERY_VALUE | KEY_SET_VALUE, phKey);
  if (lResult != ERROR_SUCCESS) *phKey = nullptr;
  return lResult;
}

BOOL IsProtocolRate(DWORD dwRate) {
  return dwRate == 10 || dwRate == 20 || dwRate == 40 || dwRate == 60 || dwRate == 80 ||
         dwRate == 100 || dwRate == 200;
}
