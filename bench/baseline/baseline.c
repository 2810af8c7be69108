/* The benchmark's baseline: Koravel's settings dialog on bare Win32, in C, with no class library.
   It shows the same template, adds the same system-menu entries and icons, opens the same key,
   reads the same value and, as Koravel does, the first PS/2 mouse's own through SetupAPI loaded at
   run time; it fills the same controls the same way, and ends on OK, Cancel or close. It writes
   nothing. */
#include <windows.h>
#include <commctrl.h>
#include <setupapi.h>

#include "resource.h"

#define PARAMETERS_KEY "SYSTEM\\CurrentControlSet\\Services\\i8042prt\\Parameters"

static const GUID kMouseClass = {
    0x4d36e96f, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
static HKEY g_hKey;

/* The first PS/2 mouse's own rate, where one has one, into *pdwRate (Windows 2000 and later). */
static void ReadMouseRate(DWORD* pdwRate) {
  typedef HDEVINFO(WINAPI * GetClassDevsFn)(const GUID*, PCSTR, HWND, DWORD);
  typedef BOOL(WINAPI * EnumFn)(HDEVINFO, DWORD, SP_DEVINFO_DATA*);
  typedef BOOL(WINAPI * PropertyFn)(HDEVINFO, SP_DEVINFO_DATA*, DWORD, DWORD*, BYTE*, DWORD,
                                    DWORD*);
  typedef HKEY(WINAPI * OpenKeyFn)(HDEVINFO, SP_DEVINFO_DATA*, DWORD, DWORD, DWORD, REGSAM);
  typedef BOOL(WINAPI * DestroyFn)(HDEVINFO);
  OSVERSIONINFOA version = {sizeof version, 0, 0, 0, 0, ""};
  char szPath[MAX_PATH + 16];
  HMODULE hSetupApi;
  HDEVINFO hSet;
  SP_DEVINFO_DATA device;
  DWORD nIndex;
  BOOL bFound;
  if (!GetVersionExA(&version) || version.dwMajorVersion < 5 ||
      GetSystemDirectoryA(szPath, MAX_PATH) == 0) {
    return;
  }
  lstrcatA(szPath, "\\setupapi.dll");
  if ((hSetupApi = LoadLibraryA(szPath)) == NULL) return;
  {
    GetClassDevsFn pfnGetClassDevs =
        (GetClassDevsFn)(void*)GetProcAddress(hSetupApi, "SetupDiGetClassDevsA");
    EnumFn pfnEnum = (EnumFn)(void*)GetProcAddress(hSetupApi, "SetupDiEnumDeviceInfo");
    PropertyFn pfnProperty =
        (PropertyFn)(void*)GetProcAddress(hSetupApi, "SetupDiGetDeviceRegistryPropertyA");
    OpenKeyFn pfnOpenKey = (OpenKeyFn)(void*)GetProcAddress(hSetupApi, "SetupDiOpenDevRegKey");
    DestroyFn pfnDestroy =
        (DestroyFn)(void*)GetProcAddress(hSetupApi, "SetupDiDestroyDeviceInfoList");
    if (pfnGetClassDevs && pfnEnum && pfnProperty && pfnOpenKey && pfnDestroy &&
        (hSet = pfnGetClassDevs(&kMouseClass, NULL, NULL, 0)) != INVALID_HANDLE_VALUE) {
      for (nIndex = 0; device.cbSize = sizeof device, pfnEnum(hSet, nIndex, &device); ++nIndex) {
        char szService[64] = "";
        DWORD dwType = 0, dwRate = 0, cbData = sizeof dwRate;
        HKEY hKey;
        if (!pfnProperty(hSet, &device, SPDRP_SERVICE, &dwType, (BYTE*)szService,
                         sizeof szService - 1, NULL) ||
            dwType != REG_SZ || lstrcmpiA(szService, "i8042prt") != 0) {
          continue;
        }
        hKey = pfnOpenKey(hSet, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
        if (hKey == INVALID_HANDLE_VALUE) continue;
        bFound = RegQueryValueExA(hKey, "SampleRate", NULL, &dwType, (BYTE*)&dwRate, &cbData) ==
                 ERROR_SUCCESS;
        RegCloseKey(hKey);
        if (bFound) {
          *pdwRate = dwRate; /* the first mouse with a rate of its own */
          break;
        }
      }
      pfnDestroy(hSet);
    }
  }
  FreeLibrary(hSetupApi);
}

static void FillControls(HWND hDlg) {
  HMENU hSysMenu = GetSystemMenu(hDlg, FALSE);
  char szText[64];
  HICON hIcon = LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDI_APP));
  HWND hSlider = GetDlgItem(hDlg, IDC_NEW_SLIDER);
  HWND hBar = GetDlgItem(hDlg, IDC_CURRENT_BAR);
  DWORD dwRate = 0, dwType = REG_DWORD, cbData = sizeof dwRate;

  if (hSysMenu != NULL &&
      LoadStringA(GetModuleHandleA(NULL), IDS_ABOUT_MENU, szText, sizeof szText)) {
    AppendMenuA(hSysMenu, MF_SEPARATOR, 0, NULL);
    AppendMenuA(hSysMenu, MF_STRING, IDM_ABOUT, szText);
  }
  if (hSysMenu != NULL &&
      LoadStringA(GetModuleHandleA(NULL), IDS_MEASURE_MENU, szText, sizeof szText)) {
    AppendMenuA(hSysMenu, MF_STRING, IDM_MEASURE, szText);
  }
  SendMessageA(hDlg, WM_SETICON, ICON_BIG, (LPARAM)hIcon);
  SendMessageA(hDlg, WM_SETICON, ICON_SMALL, (LPARAM)hIcon);
  SendMessageA(hSlider, TBM_SETRANGE, FALSE, MAKELPARAM(20, 200));
  SendMessageA(hSlider, TBM_SETTICFREQ, 10, 0);
  SendMessageA(hSlider, TBM_SETPAGESIZE, 0, 10);

  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PARAMETERS_KEY, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                    &g_hKey) != ERROR_SUCCESS ||
      RegQueryValueExA(g_hKey, "SampleRate", NULL, &dwType, (BYTE*)&dwRate, &cbData) !=
          ERROR_SUCCESS) {
    EndDialog(hDlg, IDABORT);
    return;
  }
  ReadMouseRate(&dwRate);
  SendMessageA(hBar, PBM_SETRANGE, 0, MAKELPARAM(20, 200));
  SendMessageA(hBar, PBM_SETPOS, (WPARAM)dwRate, 0);
  SendMessageA(hSlider, TBM_SETPOS, TRUE, (LPARAM)dwRate);
  wsprintfA(szText, "%d", (int)dwRate);
  SetDlgItemTextA(hDlg, IDC_CURRENT_TEXT, szText);
  SetDlgItemTextA(hDlg, IDC_NEW_TEXT, szText);
}

static INT_PTR CALLBACK SettingsProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
  (void)lParam;
  switch (message) {
    case WM_INITDIALOG:
      FillControls(hDlg);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(hDlg, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      EndDialog(hDlg, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
  INT_PTR nResult;
  (void)hPrevInstance;
  (void)lpCmdLine;
  (void)nCmdShow;
  InitCommonControls();
  nResult = DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_SETTINGS), NULL, SettingsProc, 0);
  if (g_hKey != NULL) RegCloseKey(g_hKey);
  return (int)nResult;
}
