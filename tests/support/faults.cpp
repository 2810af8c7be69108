#include "faults.h"

#include <initguid.h>  // before devguid.h: the setup classes are defined here
#include <devguid.h>
#include <setupapi.h>

#include "rates/change_lock.h"
#include "support/import_hook.h"

Faults g_faults;
void Reset() {
  g_faults = Faults();
  HoldChangeLock(false);
}
bool AccessWithin(REGSAM sam) {
  for (REGSAM asked : g_faults.access) sam |= asked & ~sam ? 0x80000000 : 0;
  return !(sam & 0x80000000);
}
const char kDialogRestart[] = "ExitWindowsEx 0x2 0x80010004 privileged",
           kScriptRestart[] = "InitiateSystemShutdownExA 0 0 0 0 1 0x80010004 privileged";

namespace {

BOOL Restart(const char* lpszCall) {
  HANDLE hToken = nullptr;
  ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &hToken);
  PRIVILEGE_SET set = {1, PRIVILEGE_SET_ALL_NECESSARY, {{{0, 0}, 0}}};
  ::LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &set.Privilege[0].Luid);
  BOOL bEnabled = FALSE;
  ::PrivilegeCheck(hToken, &set, &bEnabled);
  ::CloseHandle(hToken);
  g_faults.restarts.push_back(lpszCall + std::string(bEnabled ? " privileged" : ""));
  ::SetLastError(g_faults.bRefuseRestart ? ERROR_PRIVILEGE_NOT_HELD : ERROR_SUCCESS);
  return !g_faults.bRefuseRestart;
}
IMPORT_HOOK("user32.dll", ExitWindowsEx, RecordExit);
BOOL WINAPI RecordExit(UINT uFlags, DWORD dwReason) {
  char sz[64];
  return Restart((sprintf(sz, "ExitWindowsEx 0x%x 0x%lx", uFlags, dwReason), sz));
}
BOOL WINAPI Shutdown(LPSTR lpszMachine, LPSTR lpszMessage, DWORD dwTimeout, BOOL bForce,
                     BOOL bReboot, DWORD dwReason) {
  char sz[96];
  sprintf(sz, "InitiateSystemShutdownExA %d %d %lu %d %d 0x%lx", lpszMachine != nullptr,
          lpszMessage != nullptr, dwTimeout, bForce, bReboot, dwReason);
  return Restart(sz);
}

IMPORT_HOOK("advapi32.dll", RegSetValueExA, SetValue);
LONG WINAPI SetValue(HKEY hKey, LPCSTR lpszName, DWORD dw, DWORD dwType, const BYTE* p, DWORD cb) {
  const int n = ++g_faults.nWrites;
  if (g_faults.onWrite) g_faults.onWrite(n);
  if (n != g_faults.nFailWrite)
    return SetValueImport.Original<decltype(&SetValue)>()(hKey, lpszName, dw, dwType, p, cb);
  if (!g_faults.deleted.empty()) ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, g_faults.deleted.c_str());
  return ERROR_ACCESS_DENIED;
}
IMPORT_HOOK("kernel32.dll", GetVersionExA, Version);
BOOL WINAPI Version(OSVERSIONINFOA* pVersion) {
  const BOOL bResult = VersionImport.Original<decltype(&Version)>()(pVersion);
  if (g_faults.bNt4) pVersion->dwMajorVersion = 4, pVersion->dwMinorVersion = 0;
  return bResult;
}
IMPORT_HOOK("kernel32.dll", LoadLibraryA, Load);
HMODULE WINAPI Load(LPCSTR lpszPath) {
  if (g_faults.bNoSetupApi && strstr(lpszPath, "setupapi.dll"))
    return ::SetLastError(ERROR_MOD_NOT_FOUND), nullptr;
  return LoadImport.Original<decltype(&Load)>()(lpszPath);
}

BOOL WINAPI EnumDevices(HDEVINFO hSet, DWORD nIndex, SP_DEVINFO_DATA* pDevice) {
  if (g_faults.dwListingError && nIndex > 0 && g_faults.nListings >= g_faults.nFailListing)
    return ::SetLastError(g_faults.dwListingError), FALSE;
  return ::SetupDiEnumDeviceInfo(hSet, nIndex, pDevice);
}
HDEVINFO WINAPI ClassDevs(const GUID* pClass, LPCSTR lpszEnum, HWND hWnd, DWORD dwFlags) {
  ++g_faults.nListings;
  if (g_faults.bAbsent && (dwFlags & DIGCF_PRESENT))
    return ::SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_MOUSE, nullptr);
  return ::SetupDiGetClassDevsA(pClass, lpszEnum, hWnd, dwFlags);
}
HKEY WINAPI OpenDevKey(HDEVINFO hSet, SP_DEVINFO_DATA* pDevice, DWORD dwScope, DWORD dwProfile,
                       DWORD dwType, REGSAM samDesired) {
  g_faults.access.insert(samDesired);
  return ::SetupDiOpenDevRegKey(hSet, pDevice, dwScope, dwProfile, dwType, samDesired);
}
LONG WINAPI RefusePutBack(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD) {
  return ERROR_ACCESS_DENIED;
}
BOOL WINAPI Session(DWORD, DWORD* pdwSession) { return *pdwSession = 0, TRUE; }
IMPORT_HOOK("kernel32.dll", GetProcAddress, ProcAddress);
FARPROC WINAPI ProcAddress(HMODULE hModule, LPCSTR lpszName) {
  const std::string name = HIWORD(lpszName) != 0 ? lpszName : "";
  void* const pStandIn = name == "SetupDiEnumDeviceInfo"  ? reinterpret_cast<void*>(&EnumDevices)
                         : name == "SetupDiGetClassDevsA" ? reinterpret_cast<void*>(&ClassDevs)
                         : name == "SetupDiOpenDevRegKey" ? reinterpret_cast<void*>(&OpenDevKey)
                         : name == "InitiateSystemShutdownExA" ? reinterpret_cast<void*>(&Shutdown)
                         : name == "RegSetValueExW" && g_faults.bRefusePutBack
                             ? reinterpret_cast<void*>(&RefusePutBack)
                         : name == "ProcessIdToSessionId" && g_faults.bSession0
                             ? reinterpret_cast<void*>(&Session)
                             : nullptr;
  if (pStandIn != nullptr) return reinterpret_cast<FARPROC>(pStandIn);
  return ProcAddressImport.Original<decltype(&ProcAddress)>()(hModule, lpszName);
}

HANDLE g_hHeld = ::CreateEventA(nullptr, FALSE, FALSE, nullptr),
       g_hRelease = ::CreateEventA(nullptr, FALSE, FALSE, nullptr), g_hHolder = nullptr;
DWORD WINAPI HoldLock(void*) {
  const CChangeLock lock;
  return ::SetEvent(g_hHeld), ::WaitForSingleObject(g_hRelease, INFINITE);
}

}  // namespace

void HoldChangeLock(bool bHold) {
  if (bHold) {
    g_hHolder = ::CreateThread(nullptr, 0, HoldLock, nullptr, 0, nullptr);
    ::WaitForSingleObject(g_hHeld, 5000);
  } else if (g_hHolder != nullptr) {
    ::SetEvent(g_hRelease), ::WaitForSingleObject(g_hHolder, 5000), ::CloseHandle(g_hHolder);
    g_hHolder = nullptr;
  }
}
