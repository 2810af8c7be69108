/* The benchmark's baseline: Koravel's settings dialog on bare Win32, in C, with no class library.
   It shows the same template, adds the same system-menu entry and icons, opens the same key, reads
   the same value and fills the same controls the same way, and ends on OK, Cancel or close. It
   writes nothing. */
#include <windows.h>
#include <commctrl.h>

#include "resource.h"

#define PARAMETERS_KEY "SYSTEM\\CurrentControlSet\\Services\\i8042prt\\Parameters"

static HKEY g_hKey;

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
  SendMessageA(hDlg, WM_SETICON, ICON_BIG, (LPARAM)hIcon);
  SendMessageA(hDlg, WM_SETICON, ICON_SMALL, (LPARAM)hIcon);
  SendMessageA(hSlider, TBM_SETRANGE, FALSE, MAKELPARAM(20, 200));
  SendMessageA(hSlider, TBM_SETTICFREQ, 10, 0);
  SendMessageA(hSlider, TBM_SETPAGESIZE, 0, 10);

  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PARAMETERS_KEY, 0, KEY_ALL_ACCESS, &g_hKey) !=
          ERROR_SUCCESS ||
      RegQueryValueExA(g_hKey, "SampleRate", NULL, &dwType, (BYTE*)&dwRate, &cbData) !=
          ERROR_SUCCESS) {
    EndDialog(hDlg, IDABORT);
    return;
  }
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
