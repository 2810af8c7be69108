// The settings dialog's start-up against the real registry: what it shows for each stored value,
// and how it reports what it cannot read.
#include <gtest/gtest.h>

#include "settings/koravel_dlg.h"
#include "tests/support/sample_rate_value.h"
#include "tests/support/text.h"
#include "tests/support/ui_script.h"

namespace {

// What the dialog shows once it is up.
struct Shown {
  std::string current, next;
  int bar, slider;
  bool operator==(const Shown& o) const {
    return current == o.current && next == o.next && bar == o.bar && slider == o.slider;
  }
};
std::ostream& operator<<(std::ostream& out, const Shown& s) {
  return out << "texts \"" << s.current << "\" and \"" << s.next << "\", bar " << s.bar
             << ", slider " << s.slider;
}

Shown ReadShown(HWND hDlg) {
  return {ItemText(hDlg, IDC_CURRENT_TEXT), ItemText(hDlg, IDC_NEW_TEXT),
          static_cast<int>(::SendDlgItemMessageA(hDlg, IDC_CURRENT_BAR, PBM_GETPOS, 0, 0)),
          static_cast<int>(::SendDlgItemMessageA(hDlg, IDC_NEW_SLIDER, TBM_GETPOS, 0, 0))};
}

class StartupTest : public ::testing::Test {
 protected:
  // Runs the dialog over the stored value and cancels it; returns what it showed.
  Shown Run(const StoredValue& stored) {
    EXPECT_TRUE(SampleRateValue::Write(stored)) << stored;
    CKoravelDlg dlg;
    Shown shown = {"(never shown)", "", -1, -1};
    UiScript script;
    script.AnswerEvery("Error", IDOK, &m_errors);
    script.WaitForWindow("Koravel Settings").Then([&] {
      shown = ReadShown(dlg.m_hWnd);
      ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    return shown;
  }

  SampleRateValue m_value;
  std::vector<MessageBoxInfo> m_errors;
};

TEST_F(StartupTest, StoredRateIsShownExactlyWhileBarAndSliderClamp) {
  const struct {
    DWORD dwStored;
    Shown expected;
  } cases[] = {
      {60, {"60", "60", 60, 60}},         {20, {"20", "20", 20, 20}},
      {200, {"200", "200", 200, 200}},    {250, {"250", "250", 200, 200}},
      {10, {"10", "10", 20, 20}},         {0, {"0", "0", 20, 20}},
      {0xFFFFFFFF, {"-1", "-1", 20, 20}},  // a 32-bit signed rate
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, Run(StoredValue::Dword(c.dwStored))) << "stored " << c.dwStored;
    EXPECT_EQ(StoredValue::Dword(c.dwStored), SampleRateValue::Read()) << "nothing written";
  }
  EXPECT_TRUE(m_errors.empty());
}

TEST_F(StartupTest, ControlsAndIconAreSetUpForTwentyToTwoHundred) {
  ASSERT_TRUE(SampleRateValue::Write(StoredValue::Dword(100)));
  CKoravelDlg dlg;
  UiScript script;
  script.WaitForWindow("Koravel Settings").Then([&] {
    HWND hSlider = ::GetDlgItem(dlg.m_hWnd, IDC_NEW_SLIDER);
    HWND hBar = ::GetDlgItem(dlg.m_hWnd, IDC_CURRENT_BAR);
    EXPECT_EQ(hSlider, dlg.m_slider.m_hWnd);
    EXPECT_EQ(hBar, dlg.m_progress.m_hWnd);
    EXPECT_EQ(20, ::SendMessageA(hSlider, TBM_GETRANGEMIN, 0, 0));
    EXPECT_EQ(200, ::SendMessageA(hSlider, TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(10, ::SendMessageA(hSlider, TBM_GETPAGESIZE, 0, 0));
    EXPECT_EQ(19, ::SendMessageA(hSlider, TBM_GETNUMTICS, 0, 0)) << "a tick every 10";
    EXPECT_EQ(20, ::SendMessageA(hBar, PBM_GETRANGE, TRUE, 0));
    EXPECT_EQ(200, ::SendMessageA(hBar, PBM_GETRANGE, FALSE, 0));
    // The dialog's icon, big and small, and the one dragged while minimised.
    const LRESULT hIcon = ::SendMessageA(dlg.m_hWnd, WM_QUERYDRAGICON, 0, 0);
    EXPECT_EQ(reinterpret_cast<LRESULT>(
                  ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP))),
              hIcon);
    EXPECT_NE(0, hIcon);
    EXPECT_EQ(hIcon, ::SendMessageA(dlg.m_hWnd, WM_GETICON, ICON_BIG, 0));
    EXPECT_EQ(hIcon, ::SendMessageA(dlg.m_hWnd, WM_GETICON, ICON_SMALL, 0));
    ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

// Four bytes of any type are the rate; fewer are its low bytes, the rest zero.
TEST_F(StartupTest, OddContentIsReadAsItsBytesZeroExtended) {
  const struct {
    StoredValue stored;
    const char* expected;
  } cases[] = {
      {StoredValue::Raw(REG_BINARY, {0x3C, 0, 0, 0}), "60"},
      {StoredValue::Raw(REG_SZ, {'a', 'b', 0, 0}), "25185"},
      {StoredValue::Raw(REG_DWORD_BIG_ENDIAN, {0, 0, 0, 0x3C}), "1006632960"},
      {StoredValue::Raw(REG_BINARY, {0x3C}), "60"},
      {StoredValue::Raw(REG_BINARY, {0x2C, 0x01}), "300"},
      {StoredValue::Raw(REG_DWORD, {0xFF, 0xFF, 0xFF}), "16777215"},
      {StoredValue::Raw(REG_BINARY, {}), "0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, Run(c.stored).current) << c.stored;
    EXPECT_EQ(c.stored, SampleRateValue::Read());
  }
  EXPECT_TRUE(m_errors.empty());
}

TEST_F(StartupTest, FailureIsReportedOnceAndTheValueIsLeftAlone) {
  const struct {
    const char* what;
    StoredValue stored;
    bool bDeny;
    DWORD dwCode;
  } cases[] = {
      {"no value", StoredValue::NoValue(), false, ERROR_FILE_NOT_FOUND},
      {"no key", StoredValue::NoKey(), false, ERROR_FILE_NOT_FOUND},
      {"8 bytes", StoredValue::Raw(REG_QWORD, {100, 0, 0, 0, 0, 0, 0, 0}), false, ERROR_MORE_DATA},
      {"5 bytes", StoredValue::Raw(REG_BINARY, {100, 0, 0, 0, 0}), false, ERROR_MORE_DATA},
      {"access denied", StoredValue::Dword(60), true, ERROR_ACCESS_DENIED},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    m_errors.clear();
    ASSERT_TRUE(SampleRateValue::Write(c.stored));
    ASSERT_TRUE(!c.bDeny || SampleRateValue::Deny(true));
    CKoravelDlg dlg;
    UiScript script;
    script.AnswerEvery("Error", IDOK, &m_errors);
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    ASSERT_EQ(1u, m_errors.size()) << "one report per failure";
    EXPECT_EQ(SystemText(c.dwCode), m_errors[0].text);
    EXPECT_EQ(::LoadIconA(nullptr, IDI_INFORMATION), m_errors[0].hIcon);
    // Nothing was filled in from a rate that was never read.
    EXPECT_TRUE(dlg.m_strCurrent.IsEmpty());
    EXPECT_TRUE(dlg.m_strNew.IsEmpty());
    SampleRateValue::Deny(false);
    EXPECT_EQ(c.stored, SampleRateValue::Read());
  }
}

}  // namespace
