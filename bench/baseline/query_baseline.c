/* The benchmark's bare script run: the work of Koravel /query on bare Win32, in C, with no class
   library: the driver's SampleRate; the installed devices of the Mouse class through SetupAPI,
   loaded at run time, those of the i8042 port driver each with its name (read in Unicode, written
   in the OEM code page), instance ID, own value and what it reads at start-up. It prints the same
   lines as Koravel /query for the values the benchmark sets (a value of its own or none), to its
   standard output, and writes nothing else. */
#include <windows.h>
#include <setupapi.h>
#include <stdio.h>

#define PARAMETERS_KEY "SYSTEM\\CurrentControlSet\\Services\\i8042prt\\Parameters"

static const GUID kMouseClass = {
    0x4d36e96f, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

typedef HDEVINFO(WINAPI* GetClassDevsFn)(const GUID*, PCSTR, HWND, DWORD);
typedef BOOL(WINAPI* EnumFn)(HDEVINFO, DWORD, SP_DEVINFO_DATA*);
typedef BOOL(WINAPI* PropertyFn)(HDEVINFO, SP_DEVINFO_DATA*, DWORD, DWORD*, BYTE*, DWORD, DWORD*);
typedef BOOL(WINAPI* InstanceIdFn)(HDEVINFO, SP_DEVINFO_DATA*, PSTR, DWORD, DWORD*);
typedef HKEY(WINAPI* OpenKeyFn)(HDEVINFO, SP_DEVINFO_DATA*, DWORD, DWORD, DWORD, REGSAM);
typedef BOOL(WINAPI* DestroyFn)(HDEVINFO);

static HANDLE g_hOut;

static void Write(const char* pszText) {
  DWORD cbWritten;
  WriteFile(g_hOut, pszText, (DWORD)lstrlenA(pszText), &cbWritten, NULL);
}

/* Property dwProperty of the device, in the OEM code page; empty where it has none. */
static void ReadText(PropertyFn pfn, HDEVINFO hSet, SP_DEVINFO_DATA* pDevice, DWORD dwProperty,
                     char* pszText, int cbText) {
  WCHAR szWide[256] = {0};
  DWORD dwType = 0;
  pszText[0] = '\0';
  if (pfn(hSet, pDevice, dwProperty, &dwType, (BYTE*)szWide, sizeof szWide - 2, NULL) &&
      dwType == REG_SZ) {
    WideCharToMultiByte(CP_OEMCP, 0, szWide, -1, pszText, cbText, NULL, NULL);
  }
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  char szPath[MAX_PATH + 16], szLine[1024];
  DWORD dwDriver = 0, dwType, cbData = sizeof dwDriver, nIndex;
  HKEY hKey;
  HMODULE hSetupApi;
  HDEVINFO hSet;
  SP_DEVINFO_DATA device;
  (void)hInstance, (void)hPrevInstance, (void)lpCmdLine, (void)nCmdShow;
  g_hOut = GetStdHandle(STD_OUTPUT_HANDLE);
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PARAMETERS_KEY, 0, KEY_QUERY_VALUE, &hKey) != 0) return 2;
  if (RegQueryValueExA(hKey, "SampleRate", NULL, &dwType, (BYTE*)&dwDriver, &cbData) != 0) return 2;
  RegCloseKey(hKey);
  _snprintf(szLine, sizeof szLine, "driver\t%lu\r\n", dwDriver);
  Write(szLine);
  GetSystemDirectoryA(szPath, MAX_PATH);
  lstrcatA(szPath, "\\setupapi.dll");
  if ((hSetupApi = LoadLibraryA(szPath)) == NULL) return 126;
  {
    GetClassDevsFn pfnGetClassDevs =
        (GetClassDevsFn)(void*)GetProcAddress(hSetupApi, "SetupDiGetClassDevsA");
    EnumFn pfnEnum = (EnumFn)(void*)GetProcAddress(hSetupApi, "SetupDiEnumDeviceInfo");
    PropertyFn pfnProperty =
        (PropertyFn)(void*)GetProcAddress(hSetupApi, "SetupDiGetDeviceRegistryPropertyW");
    InstanceIdFn pfnId =
        (InstanceIdFn)(void*)GetProcAddress(hSetupApi, "SetupDiGetDeviceInstanceIdA");
    OpenKeyFn pfnOpenKey = (OpenKeyFn)(void*)GetProcAddress(hSetupApi, "SetupDiOpenDevRegKey");
    DestroyFn pfnDestroy =
        (DestroyFn)(void*)GetProcAddress(hSetupApi, "SetupDiDestroyDeviceInfoList");
    hSet = pfnGetClassDevs(&kMouseClass, NULL, NULL, 0);
    for (nIndex = 0; device.cbSize = sizeof device, pfnEnum(hSet, nIndex, &device); ++nIndex) {
      char szService[64], szName[1024], szId[201] = "", szOwn[16] = "none";
      DWORD dwOwn = 0, dwRate = dwDriver;
      ReadText(pfnProperty, hSet, &device, SPDRP_SERVICE, szService, sizeof szService);
      if (lstrcmpiA(szService, "i8042prt") != 0) continue;
      ReadText(pfnProperty, hSet, &device, SPDRP_FRIENDLYNAME, szName, sizeof szName);
      if (szName[0] == '\0')
        ReadText(pfnProperty, hSet, &device, SPDRP_DEVICEDESC, szName, sizeof szName);
      pfnId(hSet, &device, szId, sizeof szId, NULL);
      hKey = pfnOpenKey(hSet, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
      cbData = sizeof dwOwn;
      if (hKey != INVALID_HANDLE_VALUE) {
        if (RegQueryValueExA(hKey, "SampleRate", NULL, &dwType, (BYTE*)&dwOwn, &cbData) == 0) {
          _snprintf(szOwn, sizeof szOwn, "%lu", dwOwn);
          dwRate = dwOwn;
        }
        RegCloseKey(hKey);
      }
      _snprintf(szLine, sizeof szLine, "mouse\t%s\t%s\t%s\t%lu\r\n", szName, szId, szOwn, dwRate);
      Write(szLine);
    }
    pfnDestroy(hSet);
  }
  return 0;
}
