// The settings dialog's start-up against the real registry, and the dialogs on the screen.
#include <gtest/gtest.h>

#include "settings/koravel_dlg.h"
#include "support/import_hook.h"
#include "support/registry_value.h"
#include "support/ui_script.h"

namespace {

// The current and new rate texts, the bar and the slider; or the error boxes instead.
using Shown = std::tuple<std::string, std::string, LRESULT, LRESULT, std::vector<MessageBoxCall>>;
Shown Rate(const std::string& text, LRESULT nPos) {  // the new-rate text shows the slider's
  return {text, std::to_string(nPos), nPos, nPos, {}};
}
Shown Error(DWORD dwCode) {
  return {"", "", 0, 0, {{nullptr, SystemText(dwCode), "Error", MB_ICONINFORMATION, false}}};
}

// Runs the dialog until it shows the rate, then cancels it; or until the report ends it.
Shown Start(bool bError, const std::function<void(CKoravelDlg&)>& inspect = nullptr) {
  CKoravelDlg dlg;
  MessageBoxes boxes;
  Shown shown;
  UiScript script;
  script.EndsEarly(bError);
  script.On("Koravel Settings", [&](HWND hDlg) {
    shown = {ItemText(hDlg, IDC_CURRENT_TEXT),
             ItemText(hDlg, IDC_NEW_TEXT),
             dlg.m_progress.SendMessage(PBM_GETPOS),
             dlg.m_slider.SendMessage(TBM_GETPOS),
             {}};
    if (inspect) inspect(dlg);
    ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
  std::get<4>(shown) = boxes.calls;
  return shown;
}

using StartupTest = RegistryTest;

// Four bytes of any type are the rate, fewer its low bytes; the value is left as it was.
TEST_F(StartupTest, EachStoredValueIsShownOrItsErrorReportedAndLeftAsItWas) {
  const std::pair<Stored, Shown> cases[] = {
      {Dword(60), Rate("60", 60)},
      {Dword(19), Rate("19", 20)},
      {Dword(201), Rate("201", 200)},
      {Dword(2147483648), Rate("2147483648", 200)},
      {Dword(4294967295), Rate("4294967295", 200)},
      {{REG_SZ, {'a', 0, 'b', 0, 0, 0, 0, 0}}, Rate("25185", 200)},  // "ab" in the code page
      {{REG_BINARY, {60}}, Rate("60", 60)},
      {{REG_DWORD, {0xFF, 0xFF, 0xFF}}, Rate("16777215", 200)},
      {kNoValue, Error(ERROR_FILE_NOT_FOUND)},
      {kNoKey, Error(ERROR_FILE_NOT_FOUND)},
      {{REG_QWORD, {100, 0, 0, 0, 0, 0, 0, 0}}, Error(ERROR_MORE_DATA)},
  };
  for (const auto& [stored, expected] : cases) {
    SCOPED_TRACE(::testing::PrintToString(stored));
    ASSERT_TRUE(SetStored(stored));
    EXPECT_EQ(expected, Start(!std::get<4>(expected).empty()));
    EXPECT_EQ(stored, ReadStored());
  }
}

int g_nTextsSet = 0;
IMPORT_HOOK("user32.dll", SetWindowTextA, SetText);
BOOL WINAPI SetText(HWND hWnd, LPCSTR lpszText) {
  return ++g_nTextsSet, SetTextImport.Original<decltype(&SetText)>()(hWnd, lpszText);
}

// Every static text fits its control, words wrapped, in the dialog's font (a word too long for
// its width shows as wider).
void ExpectTextsFit(HWND hDlg) {
  HDC hDC = ::GetDC(hDlg);
  ::SelectObject(hDC, reinterpret_cast<HFONT>(::SendMessageA(hDlg, WM_GETFONT, 0, 0)));
  for (HWND hCtrl = ::GetWindow(hDlg, GW_CHILD); hCtrl; hCtrl = ::GetWindow(hCtrl, GW_HWNDNEXT)) {
    char text[256] = "", kind[8] = "";
    ::GetClassNameA(hCtrl, kind, sizeof kind);
    if (!::GetWindowTextA(hCtrl, text, sizeof text) || ::lstrcmpiA(kind, "Static") != 0 ||
        (::GetWindowLongA(hCtrl, GWL_STYLE) & SS_TYPEMASK) > SS_RIGHT)
      continue;  // not a text: an image, a button, a common control
    RECT client, need = {0, 0, 0, 0};
    ::GetClientRect(hCtrl, &client);
    need.right = client.right;
    ::DrawTextA(hDC, text, -1, &need, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_TRUE(need.right <= client.right && need.bottom <= client.bottom) << text;
  }
  ::ReleaseDC(hDlg, hDC);
}

class CTestDlg : public CKoravelDlg {
 public:
  using CKoravelDlg::m_hKey;
};

bool IsOpen(HKEY hKey) {
  return ::RegQueryValueExA(hKey, "", nullptr, nullptr, nullptr, nullptr) != ERROR_INVALID_HANDLE;
}

// The settings, with the widest rate, open centred, with their icons, the system menu's last
// entries, the bar and the slider each just after its label (where a screen reader looks for its
// name), and Tab going from OK to Cancel to the slider; texts not changed are not set again (no
// flicker). The low four bits of a system command are the system's: 0x10 and 0x1F open the About
// box (its icon where the template puts it, at the system's icon size), 0x20 the meter, modal and
// centred over the settings, moved first. Every text fits. Ended by Cancel, with no close message,
// the dialog closes the key when it goes. At 96 DPI, or the second runner's.
TEST_F(StartupTest, SystemCommandsOpenTheirBoxesAndEveryTextFits) {
  const char* dpi = ::getenv("KORAVEL_DPI");
  HDC hScreen = ::GetDC(nullptr);
  ASSERT_EQ(dpi ? atoi(dpi) : 96, ::GetDeviceCaps(hScreen, LOGPIXELSY));
  ::ReleaseDC(nullptr, hScreen);
  ASSERT_TRUE(SetStored(Dword(4294967295)) && SetTextImport.Installed());
  HKEY hKey = nullptr;
  {
    CTestDlg dlg;
    AfxGetApp()->m_pMainWnd = &dlg;  // as the application object does
    std::vector<HWND> owners;
    UiScript script;
    script.On("Koravel Settings", [&](HWND hDlg) {
      EXPECT_LE(OffCentre(hDlg), 4);
      ExpectTextsFit(hDlg);
      const auto hIcon =
          reinterpret_cast<LRESULT>(::LoadIconA(::GetModuleHandleA(nullptr), "#128"));
      for (WPARAM nType : {ICON_BIG, ICON_SMALL})
        EXPECT_EQ(hIcon, dlg.SendMessage(WM_GETICON, nType));
      EXPECT_EQ(hIcon, dlg.SendMessage(WM_QUERYDRAGICON));
      HMENU hMenu = ::GetSystemMenu(dlg.m_hWnd, FALSE);
      std::vector<std::pair<std::string, UINT>> entries;
      for (int n = ::GetMenuItemCount(hMenu) - 3; n < ::GetMenuItemCount(hMenu); ++n) {
        char text[64] = "";
        ::GetMenuStringA(hMenu, n, text, sizeof text, MF_BYPOSITION);
        entries.emplace_back(text, ::GetMenuItemID(hMenu, n));
      }
      EXPECT_EQ(decltype(entries)(
                    {{"", 0}, {"&About Koravel...", IDM_ABOUT}, {"Measure Rate...", IDM_MEASURE}}),
                entries);
      EXPECT_EQ("Current Rate:", WindowText(::GetWindow(dlg.m_progress.m_hWnd, GW_HWNDPREV)));
      EXPECT_EQ("New Rate:", WindowText(::GetWindow(dlg.m_slider.m_hWnd, GW_HWNDPREV)));
      HWND hCancel = ::GetDlgItem(dlg.m_hWnd, IDCANCEL), hOk = ::GetDlgItem(dlg.m_hWnd, IDOK);
      EXPECT_EQ(std::make_pair(hCancel, dlg.m_slider.m_hWnd),
                std::make_pair(::GetNextDlgTabItem(dlg.m_hWnd, hOk, 0),
                               ::GetNextDlgTabItem(dlg.m_hWnd, hCancel, 0)));
      g_nTextsSet = 0;
      dlg.UpdateData(FALSE);
      EXPECT_EQ(0, g_nTextsSet);
      RECT r;  // moved off the centre, as far as the boxes still fit the screen at 144 DPI
      ::GetWindowRect(hDlg, &r);
      ::SetWindowPos(hDlg, nullptr, r.left + 40, r.top + 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    });
    for (WPARAM nID : {0x10, 0x1F, 0x20}) {
      script.On("Koravel Settings", [nID](HWND h) { ::SendMessageA(h, WM_SYSCOMMAND, nID, 0); })
          .On(nID < 0x20 ? "About Koravel" : "Measure Rate", [&, nID](HWND hBox) {
            owners.push_back(::GetWindow(hBox, GW_OWNER));
            EXPECT_LE(OffCentre(hBox, owners.back()), 4);
            ExpectTextsFit(hBox);
            RECT icon, place = {11, 17, 0, 0};  // the About box's first control
            ::GetWindowRect(::GetWindow(hBox, GW_CHILD), &icon);
            ::MapWindowPoints(nullptr, hBox, reinterpret_cast<POINT*>(&icon), 2);
            ::MapDialogRect(hBox, &place);
            EXPECT_TRUE(nID == 0x20 || (icon.left == place.left && icon.top == place.top &&
                                        icon.right - icon.left == ::GetSystemMetrics(SM_CXICON) &&
                                        icon.bottom - icon.top == ::GetSystemMetrics(SM_CYICON)));
            ::PostMessageA(hBox, WM_COMMAND, IDCANCEL, 0);
          });
    }
    script.On("Koravel Settings", [&](HWND hDlg) {
      EXPECT_EQ(std::vector<HWND>(3, hDlg), owners);
      ::SendMessageA(hDlg, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      EXPECT_TRUE(::IsIconic(hDlg));
      hKey = dlg.m_hKey;
      ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(IsOpen(hKey));
  }
  EXPECT_FALSE(IsOpen(hKey));
}

// Wine reads the resolution when a process starts: a second runner at 144 DPI.
TEST(Dpi, TheSameAt144DpiInASecondRunner) {
  HKEY hKey = nullptr;
  const DWORD dwDpi = 144;
  ::RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &hKey);
  ::RegSetValueExA(hKey, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwDpi), 4);
  EXPECT_EQ(0, RunAgain("*SystemCommandsOpen*", "KORAVEL_DPI=144"));
  ::RegDeleteValueA(hKey, "LogPixels");
  ::RegCloseKey(hKey);
}

}  // namespace
