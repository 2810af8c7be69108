// Dialog data exchange: members to controls at start-up, controls to members on request, control
// objects bound once and released with their windows, and radio groups bounded by WS_GROUP.
#include <afxcmn.h>
#include <afxwin.h>
#include <gtest/gtest.h>

#include "tests/support/text.h"
#include "tests/support/ui_script.h"
#include "tests/unit/test_resource.h"

namespace {

class CDdxDlg : public CDialog {
 public:
  CDdxDlg() : CDialog(IDD_TEST_DIALOG) {}
  CString m_strText = "hello";
  int m_nChoice = 1;
  CSliderCtrl m_slider;
  int m_nExchanges = 0;

  using CWnd::UpdateData;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    ++m_nExchanges;
    DDX_Control(pDX, IDC_TEST_SLIDER, m_slider);
    DDX_Text(pDX, IDC_TEST_EDIT, m_strText);
    DDX_Radio(pDX, IDC_TEST_RADIO1, m_nChoice);
  }
};

bool Checked(HWND hDlg, int nID) { return ::IsDlgButtonChecked(hDlg, nID) == BST_CHECKED; }

TEST(DataExchange, StartUpCopiesMembersIntoControls) {
  CDdxDlg dlg;
  UiScript script;
  script.WaitForWindow("Library Test").Then([&] {
    HWND hDlg = dlg.m_hWnd;
    EXPECT_EQ(1, dlg.m_nExchanges);
    EXPECT_EQ("hello", ItemText(hDlg, IDC_TEST_EDIT));
    EXPECT_FALSE(Checked(hDlg, IDC_TEST_RADIO1));
    EXPECT_TRUE(Checked(hDlg, IDC_TEST_RADIO2));
    EXPECT_FALSE(Checked(hDlg, IDC_TEST_RADIO3));
    ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

TEST(DataExchange, OkTakesControlsIntoMembers) {
  CDdxDlg dlg;
  UiScript script;
  script.WaitForWindow("Library Test").Then([&] {
    HWND hDlg = dlg.m_hWnd;
    ::SetDlgItemTextA(hDlg, IDC_TEST_EDIT, "typed");
    ::CheckRadioButton(hDlg, IDC_TEST_RADIO1, IDC_TEST_RADIO3, IDC_TEST_RADIO3);
    ::CheckDlgButton(hDlg, IDC_TEST_OTHER_GROUP, BST_CHECKED);  // another group: not counted
    ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(IDOK, dlg.DoModal());
  EXPECT_EQ("typed", dlg.m_strText);
  EXPECT_EQ(2, dlg.m_nChoice);
}

TEST(DataExchange, RadioGroupWithNoButtonCheckedIsMinusOneBothWays) {
  CDdxDlg dlg;
  UiScript script;
  script.WaitForWindow("Library Test").Then([&] {
    HWND hDlg = dlg.m_hWnd;
    ::CheckDlgButton(hDlg, IDC_TEST_RADIO2, BST_UNCHECKED);
    ::CheckDlgButton(hDlg, IDC_TEST_OTHER_GROUP, BST_CHECKED);
    dlg.UpdateData(TRUE);
    EXPECT_EQ(-1, dlg.m_nChoice);

    dlg.m_nChoice = 0;
    dlg.UpdateData(FALSE);
    EXPECT_TRUE(Checked(hDlg, IDC_TEST_RADIO1));
    dlg.m_nChoice = -1;
    dlg.UpdateData(FALSE);
    EXPECT_FALSE(Checked(hDlg, IDC_TEST_RADIO1) || Checked(hDlg, IDC_TEST_RADIO2) ||
                 Checked(hDlg, IDC_TEST_RADIO3));
    EXPECT_TRUE(Checked(hDlg, IDC_TEST_OTHER_GROUP)) << "the next group is left alone";
    ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

TEST(DataExchange, ControlIsBoundOnceAndReleasedWithItsWindow) {
  CDdxDlg dlg;
  HWND hSlider = nullptr;
  UiScript script;
  script.WaitForWindow("Library Test").Then([&] {
    hSlider = ::GetDlgItem(dlg.m_hWnd, IDC_TEST_SLIDER);
    EXPECT_EQ(hSlider, dlg.m_slider.m_hWnd);
    EXPECT_EQ(&dlg.m_slider, CWnd::FromHandlePermanent(hSlider));
    dlg.UpdateData(TRUE);
    dlg.UpdateData(FALSE);
    EXPECT_EQ(hSlider, dlg.m_slider.m_hWnd);
    // Messages still reach the control through the binding.
    dlg.m_slider.SetRange(20, 200);
    dlg.m_slider.SendMessage(TBM_SETPOS, TRUE, 250);
    EXPECT_EQ(200, dlg.m_slider.GetPos());
    ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
  EXPECT_EQ(nullptr, dlg.m_slider.m_hWnd);
  EXPECT_EQ(nullptr, dlg.m_hWnd);
  EXPECT_FALSE(::IsWindow(hSlider));
}

TEST(CStringTest, FormatLoadAndCompare) {
  CString s;
  EXPECT_TRUE(s.IsEmpty());
  s.Format("%d", -2147483647 - 1);
  EXPECT_EQ("-2147483648", s);
  CString longer;
  longer.Format("%0300d", 7);
  EXPECT_EQ(300, longer.GetLength()) << "formatting is not limited to a fixed buffer";
  EXPECT_TRUE(s != longer);
  CString missing = "x";
  EXPECT_FALSE(missing.LoadString(4242));
  EXPECT_TRUE(missing.IsEmpty());
}

// Each string owns its text: copies do not share it, and assigning a string its own text (or a
// part of it) keeps that text intact.
TEST(CStringTest, CopiesAreIndependentAndSelfAssignmentIsSafe) {
  CString original = "sample rate";
  CString copy = original;
  copy = "changed";
  EXPECT_EQ("sample rate", original);
  copy = copy;
  EXPECT_EQ("changed", copy);
  original = static_cast<LPCSTR>(original) + 7;
  EXPECT_EQ("rate", original);
  EXPECT_EQ(4, original.GetLength());
  original = nullptr;
  EXPECT_TRUE(original.IsEmpty());
  EXPECT_EQ("", original);
}

}  // namespace
