// Choosing and applying a new rate: the prompt, the write through the open key, the request to
// exit Windows, and a write that fails. ExitWindowsEx is intercepted: the real call would end
// the Wine session that runs the tests (the end-to-end tests make it for real).
#include <gtest/gtest.h>

#include "settings/koravel_dlg.h"
#include "tests/support/import_hook.h"
#include "tests/support/sample_rate_value.h"
#include "tests/support/text.h"
#include "tests/support/ui_script.h"

namespace {

struct ExitRequest {
  UINT uFlags;
  DWORD dwReserved;
};
std::vector<ExitRequest> g_exits;

BOOL WINAPI RecordExitWindowsEx(UINT uFlags, DWORD dwReserved) {
  g_exits.push_back({uFlags, dwReserved});
  return TRUE;
}

const char kPrompt[] = "You must shutdown and restart for the change to take effect.";

class ApplyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_hook.Installed()) << "without the hook, Yes would end the test session";
    g_exits.clear();
  }

  // Runs the dialog over the stored value: first, before pressing OK, and answers the prompt.
  int Run(const StoredValue& stored, int nAnswer, const std::function<void(CKoravelDlg&)>& first) {
    EXPECT_TRUE(SampleRateValue::Write(stored));
    CKoravelDlg dlg;
    UiScript script;
    script.AnswerEvery("Error", IDOK, &m_errors);
    script.WaitForWindow("Koravel Settings")
        .Then([&] {
          if (first) first(dlg);
          ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDOK, 0);
        })
        .AnswerMessageBox("Shutdown?", nAnswer, &m_prompt);
    if (nAnswer == IDCANCEL) {
      script.WaitForNoWindow("Shutdown?").Then([&] {
        EXPECT_TRUE(::IsWindowVisible(dlg.m_hWnd)) << "still open after Cancel";
        ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
      });
    }
    return dlg.DoModal();
  }

  ImportHook m_hook{"user32.dll", "ExitWindowsEx", reinterpret_cast<void*>(&RecordExitWindowsEx)};
  SampleRateValue m_value;
  MessageBoxInfo m_prompt;
  std::vector<MessageBoxInfo> m_errors;
};

void MoveSlider(CKoravelDlg& dlg, int nPos) { dlg.m_slider.SendMessage(TBM_SETPOS, TRUE, nPos); }

TEST_F(ApplyTest, EachAnswerToThePrompt) {
  const struct {
    int nAnswer;
    int nResult;
    bool bWritten;
    bool bExit;
  } cases[] = {
      {IDYES, IDOK, true, true},
      {IDNO, IDOK, true, false},
      {IDCANCEL, IDCANCEL, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nAnswer);
    g_exits.clear();
    EXPECT_EQ(c.nResult, Run(StoredValue::Dword(60), c.nAnswer,
                             [](CKoravelDlg& dlg) { MoveSlider(dlg, 140); }));
    EXPECT_EQ(c.bWritten ? StoredValue::Dword(140) : StoredValue::Dword(60),
              SampleRateValue::Read());
    EXPECT_EQ(kPrompt, m_prompt.text);
    EXPECT_EQ(::LoadIconA(nullptr, IDI_QUESTION), m_prompt.hIcon);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO, IDCANCEL}), m_prompt.buttons);
    ASSERT_EQ(c.bExit ? 1u : 0u, g_exits.size());
    if (c.bExit) {
      EXPECT_EQ(static_cast<UINT>(EWX_LOGOFF), g_exits[0].uFlags);
      EXPECT_EQ(0xFFFFFFFFu, g_exits[0].dwReserved);
    }
    EXPECT_TRUE(m_errors.empty());
  }
}

// Untouched, the slider holds the stored rate clamped to 20 to 200; whatever the value was, a
// 4-byte REG_DWORD is written.
TEST_F(ApplyTest, OkWritesTheSlidersPositionAsADword) {
  const struct {
    StoredValue stored;
    DWORD dwWritten;
  } cases[] = {
      {StoredValue::Dword(250), 200},           {StoredValue::Dword(10), 20},
      {StoredValue::Dword(0xFFFFFFFF), 20},     {StoredValue::Raw(REG_SZ, {'a', 'b', 0, 0}), 200},
      {StoredValue::Raw(REG_BINARY, {77}), 77},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IDOK, Run(c.stored, IDNO, nullptr)) << c.stored;
    EXPECT_EQ(StoredValue::Dword(c.dwWritten), SampleRateValue::Read()) << c.stored;
  }
}

TEST_F(ApplyTest, ReleasedCaptureShowsThePositionAndKeyboardMovesDoNot) {
  ASSERT_TRUE(SampleRateValue::Write(StoredValue::Dword(60)));
  CKoravelDlg dlg;
  UiScript script;
  script.WaitForWindow("Koravel Settings").Then([&] {
    HWND hSlider = dlg.m_slider.m_hWnd;
    MoveSlider(dlg, 90);  // as the keyboard moves it: no notification
    EXPECT_EQ("60", ItemText(dlg.m_hWnd, IDC_NEW_TEXT));
    NMHDR header = {hSlider, IDC_NEW_SLIDER, static_cast<UINT>(NM_RELEASEDCAPTURE)};
    EXPECT_EQ(0, ::SendMessageA(dlg.m_hWnd, WM_NOTIFY, IDC_NEW_SLIDER,
                                reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ("90", ItemText(dlg.m_hWnd, IDC_NEW_TEXT));
    EXPECT_EQ("60", ItemText(dlg.m_hWnd, IDC_CURRENT_TEXT));
    ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

TEST_F(ApplyTest, CancelAtThePromptKeepsTheDialogOpenAndOkWorksAgain) {
  ASSERT_TRUE(SampleRateValue::Write(StoredValue::Dword(60)));
  CKoravelDlg dlg;
  int nPrompts = 0;
  UiScript script;
  script.WaitForWindow("Koravel Settings")
      .Then([&] {
        MoveSlider(dlg, 180);
        ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDOK, 0);
      })
      .AnswerMessageBox("Shutdown?", IDCANCEL)
      .WaitForNoWindow("Shutdown?")
      .Then([&] {
        ++nPrompts;
        EXPECT_EQ(StoredValue::Dword(60), SampleRateValue::Read());
        ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDOK, 0);
      })
      .AnswerMessageBox("Shutdown?", IDNO)
      .Then([&] { ++nPrompts; });
  EXPECT_EQ(IDOK, dlg.DoModal());
  EXPECT_EQ(2, nPrompts);
  EXPECT_EQ(StoredValue::Dword(180), SampleRateValue::Read());
  EXPECT_TRUE(g_exits.empty());
}

// The key is deleted under the open dialog, so the write fails for real.
TEST_F(ApplyTest, FailedWriteIsReportedWithoutExitingWindows) {
  ASSERT_TRUE(SampleRateValue::Write(StoredValue::Dword(60)));
  CKoravelDlg dlg;
  MessageBoxInfo error;
  UiScript script;
  script.WaitForWindow("Koravel Settings")
      .Then([&] {
        ASSERT_TRUE(SampleRateValue::Write(StoredValue::NoKey()));
        ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDOK, 0);
      })
      .AnswerMessageBox("Shutdown?", IDYES)
      .WaitForWindow("Error")
      .Then([&] {
        EXPECT_FALSE(::IsWindowEnabled(dlg.m_hWnd)) << "no second OK while the error is shown";
      })
      .AnswerMessageBox("Error", IDOK, &error);
  EXPECT_EQ(IDCANCEL, dlg.DoModal()) << "ended by the report, not by OK";
  EXPECT_EQ(SystemText(ERROR_KEY_DELETED), error.text);
  EXPECT_TRUE(g_exits.empty());
  EXPECT_EQ(StoredValue::NoKey(), SampleRateValue::Read());
}

}  // namespace
