// The settings dialog's start-up against the real registry: what it shows for each stored value,
// or the one error it reports instead, leaving the value as it was; the controls, icons and
// system menu it sets up; and random content of the value.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "settings/koravel_dlg.h"
#include "tests/support/registry_value.h"
#include "tests/support/ui_script.h"

namespace {

// The current and new rate texts, the bar and the slider; or the texts of the error boxes.
using Shown = std::tuple<std::string, std::string, LRESULT, LRESULT, std::vector<std::string>>;
Shown Rate(const std::string& text, LRESULT nPos) { return {text, text, nPos, nPos, {}}; }
Shown Error(DWORD dwCode) { return {"", "", 0, 0, {SystemText(dwCode)}}; }

// Runs the dialog until it shows the rate, then cancels it, or until it ends on an error.
Shown Start(const std::function<void(CKoravelDlg&)>& inspect = [](CKoravelDlg&) {}) {
  CKoravelDlg dlg;
  MessageBoxes boxes;
  Shown shown;
  UiScript script;
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
  for (const MessageBoxCall& box : boxes.calls) {
    std::get<4>(shown).push_back(box.text);
    EXPECT_EQ("Error", box.caption);
    EXPECT_EQ(UINT{MB_OK | MB_ICONINFORMATION}, box.uType) << "the information icon";
  }
  return shown;
}

using StartupTest = RegistryTest;

// Four bytes of any type are the rate, fewer are its low bytes; the type is never examined.
TEST_F(StartupTest, EachStoredValueIsShownOrItsErrorReportedAndLeftAsItWas) {
  const struct {
    Stored stored;
    Shown expected;
    bool bDenied = false;  // the key lets everyone only read it
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
      {{REG_BINARY, {0x2C, 0x01}}, Rate("300", 200)},
      {{REG_DWORD, {0xFF, 0xFF, 0xFF}}, Rate("16777215", 200)},
      {kNoValue, Error(ERROR_FILE_NOT_FOUND)},
      {kNoKey, Error(ERROR_FILE_NOT_FOUND)},
      {{REG_BINARY, {100, 0, 0, 0, 0}}, Error(ERROR_MORE_DATA)},
      {{REG_QWORD, {100, 0, 0, 0, 0, 0, 0, 0}}, Error(ERROR_MORE_DATA)},
      {Dword(60), Error(ERROR_ACCESS_DENIED), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.stored));
    ASSERT_TRUE(SetStored(c.stored) && (!c.bDenied || DenyFullAccess(true)));
    EXPECT_EQ(c.expected, Start());
    DenyFullAccess(false);
    EXPECT_EQ(c.stored, ReadStored());
  }
}

TEST_F(StartupTest, ControlsIconsAndSystemMenuAreSetUp) {
  ASSERT_TRUE(SetStored(Dword(100)));
  Start([](CKoravelDlg& dlg) {
    const LRESULT hIcon = reinterpret_cast<LRESULT>(
        ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP)));
    HMENU hMenu = ::GetSystemMenu(dlg.m_hWnd, FALSE);
    const int nLast = ::GetMenuItemCount(hMenu) - 1;
    char text[64] = "";
    ::GetMenuStringA(hMenu, nLast, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("&About Koravel...", text);
    // The slider: 20 to 200, a page of 10, a tick every 10; the bar: 20 to 200; the icons; and
    // the system menu's About entry after a separator.
    EXPECT_EQ(
        (std::vector<LRESULT>{20, 200, 10, 19, 20, 200, hIcon, hIcon, hIcon, IDM_ABOUT,
                              MF_SEPARATOR}),
        (std::vector<LRESULT>{
            dlg.m_slider.SendMessage(TBM_GETRANGEMIN), dlg.m_slider.SendMessage(TBM_GETRANGEMAX),
            dlg.m_slider.SendMessage(TBM_GETPAGESIZE), dlg.m_slider.SendMessage(TBM_GETNUMTICS),
            dlg.m_progress.SendMessage(PBM_GETRANGE, TRUE),
            dlg.m_progress.SendMessage(PBM_GETRANGE, FALSE), dlg.SendMessage(WM_GETICON, ICON_BIG),
            dlg.SendMessage(WM_GETICON, ICON_SMALL), dlg.SendMessage(WM_QUERYDRAGICON),
            LRESULT(::GetMenuItemID(hMenu, nLast)),
            LRESULT(::GetMenuState(hMenu, nLast - 1, MF_BYPOSITION) & MF_SEPARATOR)}));
  });
}

// Every type from REG_NONE to REG_QWORD with 0 to 8 random bytes. The ANSI read hands the string
// types over converted to the code page, so for them only one outcome or the other is asked.
TEST_F(StartupTest, RandomContentShowsTheRateOrOneErrorAndIsLeftAsItWas) {
  std::mt19937 random(20261208);
  for (DWORD nCase = 0; nCase < 48; ++nCase) {
    Stored value = {nCase % (REG_QWORD + 1), std::vector<BYTE>(random() % 9)};
    for (BYTE& b : value.second) b = static_cast<BYTE>(random());
    SCOPED_TRACE(::testing::PrintToString(value));
    SetStored(value);
    const Stored stored = ReadStored();  // Wine ends a string that has no terminator with one
    const Shown shown = Start();
    DWORD dwRate = 0;
    std::copy_n(value.second.begin(), std::min<size_t>(4, value.second.size()),
                reinterpret_cast<BYTE*>(&dwRate));
    if (value.first == REG_SZ || value.first == REG_EXPAND_SZ || value.first == REG_MULTI_SZ) {
      const bool bRate = !std::get<0>(shown).empty() && std::get<0>(shown) == std::get<1>(shown);
      EXPECT_TRUE(std::get<4>(shown).size() == 1 || bRate);
    } else if (value.second.size() > 4) {
      EXPECT_EQ(Error(ERROR_MORE_DATA), shown);
    } else {
      EXPECT_EQ(Rate(std::to_string(dwRate), std::clamp<DWORD>(dwRate, 20, 200)), shown);
    }
    EXPECT_EQ(stored, ReadStored());
  }
}

}  // namespace
