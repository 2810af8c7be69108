// The questionnaire that stands in for the settings on a platform other than NT: each reason's
// reply, the reason checked at first, and no reply without a reason or after a cancel. (The gate
// itself, under Wine's Windows 98 emulation, is tested end to end.)
#include <gtest/gtest.h>

#include <functional>

#include "platform_gate/wrong_platform_dlg.h"
#include "settings/koravel_dlg.h"
#include "tests/support/ui_script.h"

namespace {

const char kQuestionnaire[] = "You have chosen to run this program on something other than NT";

struct Reason {
  const char* caption;  // null: the application's name
  const char* text;
};

const Reason kReasons[] = {
    {"Ignorance is no excuse!",
     "That wasn't very smart, was it?\r\nWhat if I were some sort of joker that wanted to erase "
     "your hard drive?"},
    {"That makes sense.",
     "Then there's nothing I can do for you.\r\nIt's tempting to just reformat your system drive "
     "so that you don't hurt yourself..."},
    {"Yee Haw!", "Why shoot, you must be runnin' Winders '98!\r\nWell Shut my mouth!"},
    {"Somehow, I doubt it.",
     "Don't fool around with me boy. You really want me to send threats\r\nto Zorblatt through "
     "your machine, don't you?"},
    {nullptr, "Entonces estoy apesadumbrado de haber ofendidole.Yo qero Taco Bell"},
};

// Runs the questionnaire: act once it is up, answering every reply box whatever its caption.
// Returns how it ended.
int RunQuestionnaire(CWrongPlatformDlg& dlg, const std::function<void(HWND)>& act,
                     std::vector<MessageBoxInfo>* pReplies) {
  HWND hQuestionnaire = nullptr;
  UiScript script;
  for (const Reason& reason : kReasons) {
    script.AnswerEvery(reason.caption != nullptr ? reason.caption : AfxGetAppName(), IDOK,
                       pReplies);
  }
  script.WaitForWindow(kQuestionnaire, &hQuestionnaire).Then([&] { act(hQuestionnaire); });
  return dlg.DoModal();
}

TEST(PlatformGate, EachReasonGetsItsOwnReply) {
  for (int nReason = 0; nReason < 5; ++nReason) {
    SCOPED_TRACE(nReason);
    CWrongPlatformDlg dlg;
    std::vector<MessageBoxInfo> replies;
    HWND hQuestionnaire = nullptr;
    EXPECT_EQ(IDOK, RunQuestionnaire(
                        dlg,
                        [&](HWND hWnd) {
                          hQuestionnaire = hWnd;
                          ::CheckRadioButton(hWnd, IDC_CHOICE1, IDC_CHOICE5, IDC_CHOICE1 + nReason);
                          ::SendDlgItemMessageA(hWnd, IDOK, BM_CLICK, 0, 0);
                        },
                        &replies));
    EXPECT_EQ(nReason, dlg.m_nChoice);
    ASSERT_EQ(1u, replies.size());
    const Reason& expected = kReasons[nReason];
    EXPECT_EQ(expected.caption != nullptr ? expected.caption : "koravel_tests", replies[0].caption);
    EXPECT_EQ(expected.text, replies[0].text);
    EXPECT_EQ(std::vector<int>{IDOK}, replies[0].buttons);
    EXPECT_EQ(nullptr, replies[0].hIcon);
    EXPECT_EQ(hQuestionnaire, replies[0].hOwner);
  }
}

TEST(PlatformGate, FirstReasonIsCheckedAtFirst) {
  CWrongPlatformDlg dlg;
  std::vector<MessageBoxInfo> replies;
  EXPECT_EQ(IDOK, RunQuestionnaire(
                      dlg,
                      [](HWND hWnd) {
                        EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(hWnd, IDC_CHOICE1));
                        ::PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
                      },
                      &replies));
  ASSERT_EQ(1u, replies.size());
  EXPECT_EQ(kReasons[0].caption, replies[0].caption);
}

TEST(PlatformGate, NoReplyWithoutAReasonOrAfterACancel) {
  const struct {
    const char* what;
    UINT message;
    WPARAM wParam;
    int nResult;
  } cases[] = {
      {"OK with nothing checked", WM_COMMAND, IDOK, IDOK},
      {"Escape", WM_COMMAND, IDCANCEL, IDCANCEL},
      {"close box", WM_SYSCOMMAND, SC_CLOSE, IDCANCEL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CWrongPlatformDlg dlg;
    std::vector<MessageBoxInfo> replies;
    EXPECT_EQ(c.nResult, RunQuestionnaire(
                             dlg,
                             [&](HWND hWnd) {
                               if (c.nResult == IDOK) {
                                 ::CheckDlgButton(hWnd, IDC_CHOICE1, BST_UNCHECKED);
                               }
                               ::PostMessageA(hWnd, c.message, c.wParam, 0);
                             },
                             &replies));
    EXPECT_TRUE(replies.empty());
  }
}

TEST(PlatformGate, WindowsNtPassesWithoutAQuestion) {
  CKoravelDlg dlg;
  EXPECT_TRUE(dlg.CheckPlatform());
  EXPECT_EQ(nullptr, UiScript::FindThreadWindow(kQuestionnaire));
}

}  // namespace
