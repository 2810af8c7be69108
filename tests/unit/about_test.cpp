// The About entry of the settings dialog's system menu, the About box it opens, and the system
// commands that keep their usual meaning.
#include <gtest/gtest.h>

#include "settings/koravel_dlg.h"
#include "tests/support/sample_rate_value.h"
#include "tests/support/text.h"
#include "tests/support/ui_script.h"

namespace {

class AboutTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SampleRateValue::Write(StoredValue::Dword(120))); }
  SampleRateValue m_value;
};

std::string MenuItemText(HMENU hMenu, int nPosition) {
  char text[256] = "";
  ::GetMenuStringA(hMenu, nPosition, text, sizeof text, MF_BYPOSITION);
  return text;
}

TEST_F(AboutTest, SystemMenuEndsWithSeparatorAndAboutEntry) {
  CKoravelDlg dlg;
  UiScript script;
  script.WaitForWindow("Koravel Settings").Then([&] {
    HMENU hMenu = ::GetSystemMenu(dlg.m_hWnd, FALSE);
    const int nCount = ::GetMenuItemCount(hMenu);
    ASSERT_GE(nCount, 2);
    EXPECT_EQ(0u, ::GetMenuItemID(hMenu, nCount - 2));
    EXPECT_TRUE(::GetMenuState(hMenu, nCount - 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(static_cast<UINT>(IDM_ABOUT), ::GetMenuItemID(hMenu, nCount - 1));
    EXPECT_EQ("&About Koravel...", MenuItemText(hMenu, nCount - 1));
    ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

// The low four bits of a system command are the system's, so 0x10 to 0x1F all mean About; the
// box opens as often as asked and leaves the dialog as it was.
TEST_F(AboutTest, EveryAboutCommandOpensTheBoxOverAnUnchangedDialog) {
  CKoravelDlg dlg;
  AfxGetApp()->m_pMainWnd = &dlg;  // as the application object does
  HWND hDlg = nullptr;
  std::vector<MessageBoxInfo> boxes;
  std::string before;
  UiScript script;
  script.WaitForWindow("Koravel Settings").Then([&] {
    hDlg = dlg.m_hWnd;
    before = ItemText(dlg.m_hWnd, IDC_CURRENT_TEXT) + ItemText(dlg.m_hWnd, IDC_NEW_TEXT) +
             std::to_string(dlg.m_slider.GetPos());
  });
  boxes.resize(16);
  for (UINT nID = 0x10; nID <= 0x1F; ++nID) {
    script.Then([&dlg, nID] { ::SendMessageA(dlg.m_hWnd, WM_SYSCOMMAND, nID, 0); })
        .AnswerMessageBox("About Koravel", IDOK, &boxes[nID - 0x10])
        .WaitForNoWindow("About Koravel");
  }
  script.Then([&] {
    EXPECT_EQ(before, ItemText(dlg.m_hWnd, IDC_CURRENT_TEXT) + ItemText(dlg.m_hWnd, IDC_NEW_TEXT) +
                          std::to_string(dlg.m_slider.GetPos()));
    EXPECT_TRUE(::IsWindowEnabled(dlg.m_hWnd));
    ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
  EXPECT_EQ("120120120", before);
  for (const MessageBoxInfo& box : boxes) {
    EXPECT_EQ(hDlg, box.hOwner) << "modal over the settings dialog";
    EXPECT_EQ(std::vector<int>{IDOK}, box.buttons);
  }
}

TEST_F(AboutTest, OtherSystemCommandsKeepTheirMeaning) {
  CKoravelDlg dlg;
  UiScript script;
  script.WaitForWindow("Koravel Settings").Then([&] {
    ::SendMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(::IsIconic(dlg.m_hWnd));
    ::SendMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(::IsIconic(dlg.m_hWnd));
    EXPECT_EQ(nullptr, UiScript::FindThreadWindow("About Koravel"));
    ::SendMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

}  // namespace
