#include "sample_rate_value.h"

#include <aclapi.h>

#include <iomanip>

#include "settings/koravel_dlg.h"

StoredValue StoredValue::Dword(DWORD dwValue) {
  return Raw(REG_DWORD, {static_cast<BYTE>(dwValue), static_cast<BYTE>(dwValue >> 8),
                         static_cast<BYTE>(dwValue >> 16), static_cast<BYTE>(dwValue >> 24)});
}

StoredValue StoredValue::Raw(DWORD type, std::vector<BYTE> bytes) {
  StoredValue value;
  value.state = kPresent;
  value.type = type;
  value.bytes = std::move(bytes);
  return value;
}

StoredValue StoredValue::NoValue() {
  StoredValue value;
  value.state = kNoValue;
  return value;
}

StoredValue StoredValue::NoKey() { return StoredValue(); }

bool StoredValue::operator==(const StoredValue& other) const {
  return state == other.state &&
         (state != kPresent || (type == other.type && bytes == other.bytes));
}

std::ostream& operator<<(std::ostream& out, const StoredValue& value) {
  if (value.state == StoredValue::kNoKey) return out << "(no key)";
  if (value.state == StoredValue::kNoValue) return out << "(no value)";
  out << "type " << value.type << ", bytes";
  for (BYTE b : value.bytes) out << ' ' << std::hex << std::setw(2) << std::setfill('0') << int{b};
  return out << std::dec;
}

SampleRateValue::SampleRateValue() : m_saved(Read()) {}

SampleRateValue::~SampleRateValue() {
  Deny(false);
  Write(m_saved);
}

StoredValue SampleRateValue::Read() {
  HKEY hKey = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, KORAVEL_PARAMETERS_KEY, 0, KEY_READ, &hKey) !=
      ERROR_SUCCESS) {
    return StoredValue::NoKey();
  }
  DWORD type = 0;
  DWORD cbData = 0;
  StoredValue value = StoredValue::NoValue();
  if (::RegQueryValueExA(hKey, KORAVEL_SAMPLE_RATE_VALUE, nullptr, &type, nullptr, &cbData) ==
      ERROR_SUCCESS) {
    std::vector<BYTE> bytes(cbData);
    ::RegQueryValueExA(hKey, KORAVEL_SAMPLE_RATE_VALUE, nullptr, &type, bytes.data(), &cbData);
    bytes.resize(cbData);
    value = StoredValue::Raw(type, bytes);
  }
  ::RegCloseKey(hKey);
  return value;
}

bool SampleRateValue::Write(const StoredValue& value) {
  if (value.state == StoredValue::kNoKey) {
    const LONG lResult = ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, KORAVEL_PARAMETERS_KEY);
    return lResult == ERROR_SUCCESS || lResult == ERROR_FILE_NOT_FOUND;
  }
  HKEY hKey = nullptr;
  if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, KORAVEL_PARAMETERS_KEY, 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &hKey, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LONG lResult = ERROR_SUCCESS;
  if (value.state == StoredValue::kNoValue) {
    lResult = ::RegDeleteValueA(hKey, KORAVEL_SAMPLE_RATE_VALUE);
    if (lResult == ERROR_FILE_NOT_FOUND) lResult = ERROR_SUCCESS;
  } else {
    lResult = ::RegSetValueExA(hKey, KORAVEL_SAMPLE_RATE_VALUE, 0, value.type, value.bytes.data(),
                               static_cast<DWORD>(value.bytes.size()));
  }
  ::RegCloseKey(hKey);
  return lResult == ERROR_SUCCESS && Read() == value;
}

bool SampleRateValue::Deny(bool bDeny) {
  HKEY hKey = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, KORAVEL_PARAMETERS_KEY, 0, WRITE_DAC, &hKey) !=
      ERROR_SUCCESS) {
    return false;
  }
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID pEveryone = nullptr;
  ::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &pEveryone);
  EXPLICIT_ACCESSA access = {};
  access.grfAccessPermissions = bDeny ? KEY_READ : KEY_ALL_ACCESS;
  access.grfAccessMode = SET_ACCESS;
  access.grfInheritance = NO_INHERITANCE;
  access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  access.Trustee.ptstrName = static_cast<LPSTR>(pEveryone);
  PACL pAcl = nullptr;
  ::SetEntriesInAclA(1, &access, nullptr, &pAcl);
  SECURITY_DESCRIPTOR sd;
  ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
  ::SetSecurityDescriptorDacl(&sd, TRUE, pAcl, FALSE);
  const LONG lResult = ::RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, &sd);
  ::LocalFree(pAcl);
  ::FreeSid(pEveryone);
  ::RegCloseKey(hKey);
  return lResult == ERROR_SUCCESS;
}
