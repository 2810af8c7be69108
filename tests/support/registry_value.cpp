#include "registry_value.h"

#include "settings/koravel_dlg.h"

namespace {

// The wide functions store and hand back the bytes as they are; the ANSI ones convert strings.
const wchar_t kParameters[] = L"" KORAVEL_PARAMETERS_KEY;
const wchar_t kValue[] = L"" KORAVEL_SAMPLE_RATE_VALUE;

}  // namespace

Stored ReadStored(LPCWSTR kKey) {
  if (kKey == nullptr) kKey = kParameters;
  HKEY hKey = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS) {
    return kNoKey;
  }
  DWORD type = 0;
  BYTE bytes[256];
  DWORD cbData = sizeof bytes;
  const bool bFound =
      ::RegQueryValueExW(hKey, kValue, nullptr, &type, bytes, &cbData) == ERROR_SUCCESS;
  ::RegCloseKey(hKey);
  return bFound ? Stored{type, {bytes, bytes + cbData}} : kNoValue;
}

bool SetStored(const Stored& value, LPCWSTR kKey) {
  if (kKey == nullptr) kKey = kParameters;
  if (value == kNoKey) {
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kKey);
  } else if (value == kNoValue) {
    HKEY hKey = nullptr;
    ::RegCreateKeyW(HKEY_LOCAL_MACHINE, kKey, &hKey);
    ::RegDeleteValueW(hKey, kValue);
    ::RegCloseKey(hKey);
  } else {
    ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, kKey, kValue, value.first, value.second.data(),
                      static_cast<DWORD>(value.second.size()));
  }
  return ReadStored(kKey) == value;
}
