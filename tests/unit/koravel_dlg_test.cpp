// The settings dialog's own behaviour: the close handler that releases
// the registry key, the error report, and where the icon is drawn while minimised.
#include <gtest/gtest.h>

#include <cstring>

#include "settings/koravel_dlg.h"
#include "tests/support/sample_rate_value.h"
#include "tests/support/text.h"
#include "tests/support/ui_script.h"

namespace {

const char kTestKey[] = "Software\\Koravel Tests";

// Opens the other members to the tests.
class CTestDlg : public CKoravelDlg {
 public:
  using CKoravelDlg::m_hKey;
};

HKEY OpenTestKey() {
  HKEY hKey = nullptr;
  EXPECT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &hKey, nullptr));
  return hKey;
}

bool IsOpen(HKEY hKey) {
  return ::RegQueryInfoKeyA(hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

class KoravelDlgTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SampleRateValue::Write(StoredValue::Dword(60))); }
  void TearDown() override { ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey); }
  SampleRateValue m_value;
};

TEST_F(KoravelDlgTest, CloseWithNoKeyOpenStillCancels) {
  CTestDlg dlg;
  UiScript script;
  script.WaitForWindow("Koravel Settings").Then([&] {
    ::PostMessageA(dlg.m_hWnd, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
  EXPECT_EQ(nullptr, dlg.m_hKey);
}

// Windows reuses a closed key's handle value, so a second close of a stale handle would close
// whatever key was opened since.
TEST_F(KoravelDlgTest, TwoClosesCloseTheKeyOnce) {
  CTestDlg dlg;
  HKEY hFirst = nullptr;
  HKEY hSecond = nullptr;
  UiScript script;
  script.WaitForWindow("Koravel Settings").Then([&] {
    hFirst = dlg.m_hKey;
    ASSERT_TRUE(IsOpen(hFirst));
    ::SendMessageA(dlg.m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(nullptr, dlg.m_hKey);
    EXPECT_FALSE(IsOpen(hFirst));
    hSecond = OpenTestKey();
    ::SendMessageA(dlg.m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsOpen(hSecond));
  });
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
  ::RegCloseKey(hSecond);
}

struct ErrorCase {
  DWORD dwCode;
  std::string expected;  // empty: the system's own text
};

TEST_F(KoravelDlgTest, ReportErrorShowsTheTextThenClosesTheKeyAndTheDialog) {
  const DWORD kNoText = 0x2000ABCD;  // the customer bit: never a system code
  const ErrorCase cases[] = {
      {ERROR_ACCESS_DENIED, "Access denied.\r\n"},
      {ERROR_FILE_NOT_FOUND, SystemText(ERROR_FILE_NOT_FOUND)},
      {kNoText, "Windows has no description of error 536914893 (0x2000ABCD)."},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.dwCode);
    CTestDlg dlg;
    HKEY hKey = nullptr;
    MessageBoxInfo box;
    bool bReturned = false;
    UiScript script;
    script.WaitForWindow("Koravel Settings")
        .Then([&] {
          hKey = dlg.m_hKey;
          ASSERT_TRUE(IsOpen(hKey));
          dlg.ReportError(c.dwCode);
          // The close handler has run by the time the report returns.
          EXPECT_EQ(nullptr, dlg.m_hKey);
          EXPECT_FALSE(IsOpen(hKey));
          bReturned = true;
        })
        .AnswerMessageBox("Error", IDOK, &box);
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(bReturned);
    EXPECT_EQ(c.expected, box.text);
    EXPECT_EQ(::LoadIconA(nullptr, IDI_INFORMATION), box.hIcon) << "the information icon";
    EXPECT_EQ(std::vector<int>{IDOK}, box.buttons);
    EXPECT_EQ(nullptr, box.hOwner);
  }
}

// A system text with an insert is shown as it stands; the report has no arguments to insert.
TEST_F(KoravelDlgTest, ReportErrorShowsInsertsLiterally) {
  const DWORD kWithInsert = ERROR_BAD_EXE_FORMAT;
  ASSERT_NE(std::string::npos, SystemText(kWithInsert).find("%1"));
  CTestDlg dlg;
  MessageBoxInfo box;
  UiScript script;
  script.WaitForWindow("Koravel Settings")
      .Then([&] { dlg.ReportError(kWithInsert); })
      .AnswerMessageBox("Error", IDOK, &box);
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
  EXPECT_EQ(SystemText(kWithInsert), box.text);
}

TEST(IconOrigin, CentresWithTheOddPixelBeforeTheIcon) {
  const struct {
    int nClient, nIcon, nExpected;
  } cases[] = {
      {32, 32, 0},   {36, 32, 2},   {37, 32, 3},  // 3 before, 2 after
      {38, 32, 3},   {33, 32, 1},   {31, 32, 0},  // one short: (0) / 2
      {0, 32, -15},                               // truncated toward zero, not down
      {160, 16, 72}, {161, 16, 73},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.nExpected, CKoravelDlg::IconOrigin(c.nClient, c.nIcon))
        << "client " << c.nClient << ", icon " << c.nIcon;
  }
}

}  // namespace
