// The three dialogs Windows NT shows, as they stand on the screen: every text fits its control in
// the dialog's own font, and the About box's icon stands where its template puts it, at the size
// the system draws icons. At 96 DPI here, and at 144 DPI in a second runner (Wine reads the
// resolution when a process starts), as Windows draws a program that declares itself DPI-aware.
#include <gtest/gtest.h>
#include <process.h>

#include <string>

#include "settings/koravel_dlg.h"
#include "tests/support/registry_value.h"
#include "tests/support/ui_script.h"

namespace {

void ExpectTextsFit(HWND hDlg) {
  HDC hDC = ::GetDC(hDlg);
  ::SelectObject(hDC, reinterpret_cast<HFONT>(::SendMessageA(hDlg, WM_GETFONT, 0, 0)));
  for (HWND hCtrl = ::GetWindow(hDlg, GW_CHILD); hCtrl; hCtrl = ::GetWindow(hCtrl, GW_HWNDNEXT)) {
    char text[256] = "", kind[32] = "";
    ::GetWindowTextA(hCtrl, text, sizeof text);
    ::GetClassNameA(hCtrl, kind, sizeof kind);
    const bool bStatic = ::lstrcmpiA(kind, "Static") == 0;
    if (!*text || (!bStatic && ::lstrcmpiA(kind, "Button") != 0) ||
        (bStatic && (::GetWindowLongA(hCtrl, GWL_STYLE) & SS_TYPEMASK) > SS_RIGHT))
      continue;  // no text shown: none, a common control's, an image's
    RECT client, need = {0, 0, 0, 0};
    ::GetClientRect(hCtrl, &client);
    need.right = client.right;
    // A static text wraps its words (one too long for its width shows as wider).
    ::DrawTextA(hDC, text, -1, &need, DT_CALCRECT | (bStatic ? DT_WORDBREAK : DT_SINGLELINE));
    EXPECT_TRUE(need.right <= client.right && need.bottom <= client.bottom)
        << text << ": " << need.right << " x " << need.bottom << " in " << client.right << " x "
        << client.bottom;
  }
  ::ReleaseDC(hDlg, hDC);
}

using Screen = RegistryTest;

// The widest rate shown, the ten digits of 4294967295, stands in the settings dialog.
TEST_F(Screen, EveryTextFitsAndTheAboutIconStandsInPlace) {
  const char* dpi = ::getenv("KORAVEL_DPI");
  HDC hScreen = ::GetDC(nullptr);
  ASSERT_EQ(dpi ? atoi(dpi) : 96, ::GetDeviceCaps(hScreen, LOGPIXELSY));
  ::ReleaseDC(nullptr, hScreen);
  ASSERT_TRUE(SetStored(Dword(4294967295)));
  CKoravelDlg dlg;
  UiScript script;
  script
      .On("Koravel Settings",
          [](HWND hDlg) {
            ExpectTextsFit(hDlg);
            ::SendMessageA(hDlg, WM_SYSCOMMAND, IDM_ABOUT, 0);
          })
      .On("About Koravel",
          [](HWND hAbout) {
            ExpectTextsFit(hAbout);
            HWND hIcon = ::GetWindow(hAbout, GW_CHILD);
            RECT icon, place = {11, 17, 0, 0};
            ::GetWindowRect(hIcon, &icon);
            ::MapWindowPoints(nullptr, hAbout, reinterpret_cast<POINT*>(&icon), 2);
            ::MapDialogRect(hAbout, &place);
            EXPECT_EQ(std::make_tuple(place.left, place.top, ::GetSystemMetrics(SM_CXICON),
                                      ::GetSystemMetrics(SM_CYICON)),
                      std::make_tuple(icon.left, icon.top, icon.right - icon.left,
                                      icon.bottom - icon.top));
            ::PostMessageA(hAbout, WM_COMMAND, IDOK, 0);
          })
      .On("Koravel Settings",
          [](HWND hDlg) { ::SendMessageA(hDlg, WM_SYSCOMMAND, IDM_MEASURE, 0); })
      .On("Measure Rate",
          [](HWND hMeter) {
            ::SetDlgItemTextA(hMeter, IDC_MEASURED_RATE, "1000 reports a second");
            ExpectTextsFit(hMeter);
            ::PostMessageA(hMeter, WM_COMMAND, IDCANCEL, 0);
          })
      .On("Koravel Settings", [](HWND hDlg) { ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0); });
  dlg.DoModal();
}

TEST(Dpi, TheSameAt144DpiInASecondRunner) {
  HKEY hKey = nullptr;
  const DWORD dwDpi = 144;
  ::RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &hKey);
  ::RegSetValueExA(hKey, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwDpi), 4);
  char szRunner[MAX_PATH];
  ::GetModuleFileNameA(nullptr, szRunner, MAX_PATH);
  _putenv("KORAVEL_DPI=144");
  EXPECT_EQ(0, _spawnl(_P_WAIT, szRunner, szRunner, "--gtest_filter=Screen.*", nullptr));
  _putenv("KORAVEL_DPI=");
  ::RegDeleteValueA(hKey, "LogPixels");
  ::RegCloseKey(hKey);
}

}  // namespace
