#include "devices.h"

#include <windows.h>
#include <initguid.h>  // after windows.h and before devguid.h: the setup classes are defined here
#include <devguid.h>
#include <sddl.h>
#include <setupapi.h>

std::wstring OwnKey(const char* id) {
  return L"SYSTEM\\CurrentControlSet\\Enum\\" + std::wstring(id, id + strlen(id)) +
         L"\\Device Parameters";
}

void Install(const char* id, const char* service, const Stored& own, const char* name) {
  HDEVINFO hSet = ::SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_MOUSE, nullptr);
  SP_DEVINFO_DATA device = {sizeof device, {}, 0, 0};
  const auto Set = [&](DWORD dwProperty, const char* text) {
    return ::SetupDiSetDeviceRegistryPropertyA(hSet, &device, dwProperty,
                                               reinterpret_cast<const BYTE*>(text),
                                               static_cast<DWORD>(strlen(text) + 1));
  };
  ASSERT_TRUE(
      ::SetupDiCreateDeviceInfoA(hSet, id, &GUID_DEVCLASS_MOUSE, nullptr, nullptr, 0, &device) &&
      ::SetupDiRegisterDeviceInfo(hSet, &device, 0, nullptr, nullptr, nullptr) &&
      Set(SPDRP_SERVICE, service) && (name == nullptr || Set(SPDRP_FRIENDLYNAME, name)));
  ::SetupDiDestroyDeviceInfoList(hSet);
  ASSERT_TRUE(own == kNoKey || SetStored(own, OwnKey(id).c_str()));
}

void Uninstall(const char* id) {
  Protect(OwnKey(id), "D:(A;;KA;;;WD)");  // where a test took the rights away
  const std::string key = "SYSTEM\\CurrentControlSet\\Enum\\" + std::string(id);
  ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.substr(0, key.rfind('\\')).c_str());
}

bool Protect(const std::wstring& key, const char* sddl) {
  PSECURITY_DESCRIPTOR pSD = nullptr;
  HKEY hKey = nullptr;
  ::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &pSD, nullptr);
  const bool bSet = ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, WRITE_DAC, &hKey) == 0 &&
                    ::RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, pSD) == 0;
  ::RegCloseKey(hKey), ::LocalFree(pSD);
  return bSet;
}
