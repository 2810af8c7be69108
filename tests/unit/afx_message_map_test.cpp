// Message dispatch of the class library: each kind of map entry reaches its handler with the
// message's arguments and result, derived maps override their bases, what no map handles gets
// the window's default processing, and a close ends a dialog as cancelled.
#include <afxcmn.h>
#include <afxwin.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/ui_script.h"
#include "tests/unit/test_resource.h"

namespace {

HCURSOR const kBaseDragIcon = reinterpret_cast<HCURSOR>(0x1111);
HCURSOR const kDerivedDragIcon = reinterpret_cast<HCURSOR>(0x2222);

class CMapDlg : public CDialog {
 public:
  CMapDlg() : CDialog(IDD_TEST_DIALOG) {}
  std::vector<std::string> m_calls;
  UINT m_nSysID = 0;
  LPARAM m_lSysParam = 0;

 protected:
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam) {
    m_calls.push_back("syscommand");
    m_nSysID = nID;
    m_lSysParam = lParam;
    if (nID >= 0xF000) Default();
  }
  afx_msg HCURSOR OnQueryDragIcon() { return kBaseDragIcon; }
  afx_msg void OnClose() {
    m_calls.push_back("close");
    Default();
  }
  afx_msg void OnReleasedCapture(NMHDR* pHeader, LRESULT* pResult) {
    m_calls.push_back("notify " + std::to_string(pHeader->idFrom));
    *pResult = 42;
  }
  afx_msg void OnTestCommand() { m_calls.push_back("command"); }
  void OnOK() override {
    m_calls.push_back("ok");
    CDialog::OnOK();
  }

  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMapDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_QUERYDRAGICON()
ON_WM_CLOSE()
ON_NOTIFY(NM_RELEASEDCAPTURE, IDC_TEST_SLIDER, OnReleasedCapture)
ON_COMMAND(IDC_TEST_COMMAND, OnTestCommand)
END_MESSAGE_MAP()

class CDerivedMapDlg : public CMapDlg {
 protected:
  afx_msg HCURSOR OnQueryDragIcon() { return kDerivedDragIcon; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedMapDlg, CMapDlg)
ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

LRESULT Notify(HWND hDlg, UINT_PTR idFrom, UINT code) {
  NMHDR header = {::GetDlgItem(hDlg, static_cast<int>(idFrom)), idFrom, code};
  return ::SendMessageA(hDlg, WM_NOTIFY, idFrom, reinterpret_cast<LPARAM>(&header));
}

TEST(MessageMap, EachEntryReachesItsHandlerWithArgumentsAndResult) {
  CMapDlg dlg;
  UiScript script;
  script.WaitForWindow("Library Test").Then([&] {
    HWND hDlg = dlg.m_hWnd;
    EXPECT_EQ(0, ::SendMessageA(hDlg, WM_SYSCOMMAND, 0x0013, 77));
    EXPECT_EQ(0x0013u, dlg.m_nSysID);
    EXPECT_EQ(77, dlg.m_lSysParam);
    EXPECT_EQ(reinterpret_cast<LRESULT>(kBaseDragIcon),
              ::SendMessageA(hDlg, WM_QUERYDRAGICON, 0, 0));
    EXPECT_EQ(42, Notify(hDlg, IDC_TEST_SLIDER, NM_RELEASEDCAPTURE));
    // Another code, or the same code from another control, is not this handler's.
    EXPECT_EQ(0, Notify(hDlg, IDC_TEST_SLIDER, NM_CLICK));
    EXPECT_EQ(0, Notify(hDlg, IDC_TEST_EDIT, NM_RELEASEDCAPTURE));
    ::SendMessageA(hDlg, WM_COMMAND, IDC_TEST_COMMAND, 0);
    // No entry: the window's own processing answers.
    char caption[64] = "";
    EXPECT_EQ(12,
              ::SendMessageA(hDlg, WM_GETTEXT, sizeof caption, reinterpret_cast<LPARAM>(caption)));
    EXPECT_STREQ("Library Test", caption);
    ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(IDOK, dlg.DoModal());
  EXPECT_EQ((std::vector<std::string>{"syscommand", "notify 9002", "command", "ok"}), dlg.m_calls);
}

TEST(MessageMap, DerivedEntriesOverrideAndBaseEntriesStillApply) {
  CDerivedMapDlg dlg;
  UiScript script;
  script.WaitForWindow("Library Test").Then([&] {
    EXPECT_EQ(reinterpret_cast<LRESULT>(kDerivedDragIcon),
              ::SendMessageA(dlg.m_hWnd, WM_QUERYDRAGICON, 0, 0));
    ::SendMessageA(dlg.m_hWnd, WM_SYSCOMMAND, 0x0010, 0);
    ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
  EXPECT_EQ(std::vector<std::string>{"syscommand"}, dlg.m_calls);
}

// The system menu's Close goes through a handler that calls Default(), which sends WM_CLOSE to a
// second handler that calls Default() too: each must get the default for its own message.
TEST(MessageMap, NestedDefaultProcessingTurnsSystemCloseIntoCancel) {
  CMapDlg dlg;
  UiScript script;
  script.WaitForWindow("Library Test").Then([&] {
    ::SendMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
  EXPECT_EQ((std::vector<std::string>{"syscommand", "close"}), dlg.m_calls);
  EXPECT_EQ(nullptr, dlg.m_hWnd) << "the binding ends with the window";
}

TEST(MessageMap, CloseEndsADialogWithoutHandlersAsCancelled) {
  CDialog dlg(IDD_TEST_DIALOG);
  UiScript script;
  script.WaitForWindow("Library Test").Then([&] { ::PostMessageA(dlg.m_hWnd, WM_CLOSE, 0, 0); });
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

TEST(MessageMap, EscapeAndEnterReachCancelAndOk) {
  for (const auto& [vk, expected] :
       {std::pair<WPARAM, int>{VK_ESCAPE, IDCANCEL}, {VK_RETURN, IDOK}}) {
    CMapDlg dlg;
    UiScript script;
    script.WaitForWindow("Library Test").Then([&, vk = vk] {
      HWND hEdit = ::GetDlgItem(dlg.m_hWnd, IDC_TEST_EDIT);
      ::SetFocus(hEdit);
      ::PostMessageA(hEdit, WM_KEYDOWN, vk, 0);
    });
    EXPECT_EQ(expected, dlg.DoModal()) << "key " << vk;
  }
}

TEST(MessageMap, MissingTemplateFailsTheModalRun) {
  CDialog dlg(4242);
  EXPECT_EQ(-1, dlg.DoModal());
}

}  // namespace
