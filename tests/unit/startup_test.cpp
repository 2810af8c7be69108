// The settings dialog's start-up against the real registry: what it shows for each stored value,
// or the one error it reports (the value left as it was); its icons, system menu and rate texts.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "settings/koravel_dlg.h"
#include "tests/support/import_hook.h"
#include "tests/support/registry_value.h"
#include "tests/support/ui_script.h"

namespace {

// The current and new rate texts, the bar and the slider; or the error boxes instead.
using Shown = std::tuple<std::string, std::string, LRESULT, LRESULT, std::vector<MessageBoxCall>>;
// The stored rate as text, and the slider's position, which the new-rate text shows as well.
Shown Rate(const std::string& text, LRESULT nPos) {
  return {text, std::to_string(nPos), nPos, nPos, {}};
}
Shown Error(DWORD dwCode) {
  return {"", "", 0, 0, {{nullptr, SystemText(dwCode), "Error", MB_ICONINFORMATION, false}}};
}

// Runs the dialog until it shows the rate, then cancels it; or, where an error is expected, until
// the report has ended it before it showed.
Shown Start(
    bool bError = false, const std::function<void(CKoravelDlg&)>& inspect = [](CKoravelDlg&) {}) {
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
    inspect(dlg);
    ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
  std::get<4>(shown) = boxes.calls;
  return shown;
}

using StartupTest = RegistryTest;

int g_nTextsSet = 0;
BOOL WINAPI CountSetWindowTextA(HWND, LPCSTR) { return ++g_nTextsSet, TRUE; }

// Four bytes of any type are the rate, fewer are its low bytes; the type is never examined.
TEST_F(StartupTest, EachStoredValueIsShownOrItsErrorReportedAndLeftAsItWas) {
  const struct {
    Stored stored;
    Shown expected;
  } cases[] = {
      {Dword(60), Rate("60", 60)},
      {Dword(20), Rate("20", 20)},
      {Dword(19), Rate("19", 20)},
      {Dword(200), Rate("200", 200)},
      {Dword(201), Rate("201", 200)},
      {Dword(0), Rate("0", 20)},
      {Dword(2147483647), Rate("2147483647", 200)},
      {Dword(2147483648), Rate("2147483648", 200)},
      {Dword(4294967295), Rate("4294967295", 200)},
      {{REG_SZ, {'a', 0, 'b', 0, 0, 0, 0, 0}}, Rate("25185", 200)},  // "ab" in the code page
      {{REG_BINARY, {60}}, Rate("60", 60)},
      {{REG_DWORD, {0xFF, 0xFF, 0xFF}}, Rate("16777215", 200)},
      {kNoValue, Error(ERROR_FILE_NOT_FOUND)},
      {kNoKey, Error(ERROR_FILE_NOT_FOUND)},
      {{REG_QWORD, {100, 0, 0, 0, 0, 0, 0, 0}}, Error(ERROR_MORE_DATA)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.stored));
    ASSERT_TRUE(SetStored(c.stored));
    EXPECT_EQ(c.expected, Start(!std::get<4>(c.expected).empty()));
    EXPECT_EQ(c.stored, ReadStored());
  }
}

// The dialog's icons, and the About and Measure Rate entries last in the system menu, after a
// separator. Texts that have not changed are not set again: that would only make them flicker.
TEST_F(StartupTest, IconsAndSystemMenuAreSetUpAndTextsNotSetAgain) {
  ASSERT_TRUE(SetStored(Dword(100)));
  Start(false, [](CKoravelDlg& dlg) {
    const auto hIcon = reinterpret_cast<LRESULT>(::LoadIconA(::GetModuleHandleA(nullptr), "#128"));
    for (WPARAM nType : {ICON_BIG, ICON_SMALL})
      EXPECT_EQ(hIcon, dlg.SendMessage(WM_GETICON, nType));
    EXPECT_EQ(hIcon, dlg.SendMessage(WM_QUERYDRAGICON));
    HMENU hMenu = ::GetSystemMenu(dlg.m_hWnd, FALSE);
    std::vector<std::pair<std::string, UINT>> entries;
    for (int n = ::GetMenuItemCount(hMenu) - 3; n < ::GetMenuItemCount(hMenu); ++n) {
      char text[64] = "";
      ::GetMenuStringA(hMenu, n, text, sizeof text, MF_BYPOSITION);
      entries.emplace_back(text, ::GetMenuState(hMenu, n, MF_BYPOSITION) & MF_SEPARATOR
                                     ? MF_SEPARATOR
                                     : ::GetMenuItemID(hMenu, n));
    }
    EXPECT_EQ(decltype(entries)({{"", MF_SEPARATOR},
                                 {"&About Koravel...", IDM_ABOUT},
                                 {"Measure Rate...", IDM_MEASURE}}),
              entries);
    const ImportHook setText("user32.dll", "SetWindowTextA", &CountSetWindowTextA);
    g_nTextsSet = 0;
    dlg.UpdateData(FALSE);
    EXPECT_EQ(0, g_nTextsSet);
  });
}

}  // namespace
