#include "registry_value.h"

#include "rates/sample_rate.h"

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
  BYTE bytes[256];
  DWORD type = 0, cbData = sizeof bytes;
  const bool bFound =
      ::RegQueryValueExW(hKey, kValue, nullptr, &type, bytes, &cbData) == ERROR_SUCCESS;
  ::RegCloseKey(hKey);
  return bFound ? Stored{type, {bytes, bytes + cbData}} : kNoValue;
}

bool SetStored(const Stored& value, LPCWSTR kKey) {
  if (kKey == nullptr) kKey = kParameters;
  if (value == kNoKey) {
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kKey);
  } else if (value == kNoValue) {  // the key, without the value
    ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, kKey, kValue, REG_NONE, nullptr, 0);
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kKey, kValue);
  } else {
    ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, kKey, kValue, value.first, value.second.data(),
                      static_cast<DWORD>(value.second.size()));
  }
  return ReadStored(kKey) == value;
}
