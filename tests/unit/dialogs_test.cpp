// The settings dialog's error report and close handler, its system commands and the About box,
// the questionnaire, the minimised icon, and the DLL search of the process.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform_gate/wrong_platform_dlg.h"
#include "settings/koravel_dlg.h"
#include "tests/support/registry_value.h"
#include "tests/support/ui_script.h"

namespace {

const char kQuestionnaire[] = "You have chosen to run this program on something other than NT";

class CTestDlg : public CKoravelDlg {
 public:
  using CKoravelDlg::m_hKey;
};

// How far, in pixels, a window's centre lies from that of another window, or of the work area.
int OffCentre(HWND hWnd, HWND hOver = nullptr) {
  RECT r, over;
  ::GetWindowRect(hWnd, &r);
  hOver ? ::GetWindowRect(hOver, &over) : ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &over, 0);
  return std::max(std::abs(r.left + r.right - over.left - over.right),
                  std::abs(r.top + r.bottom - over.top - over.bottom)) /
         2;
}

bool IsOpen(HKEY hKey) {
  return ::RegQueryInfoKeyA(hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

class DialogsTest : public RegistryTest {
 protected:
  void SetUp() override { ASSERT_TRUE(SetStored(Dword(120))); }
};

// The box has no owner, so the report disables the dialog under it itself: a second OK could
// otherwise start a second write while the first failure is being reported. Windows reuses a
// closed key's handle value, so a second close of a stale handle would close whatever key was
// opened since.
TEST_F(DialogsTest, ErrorReportShowsTheSystemTextThenClosesTheKeyOnceAndTheDialog) {
  const std::pair<DWORD, std::string> cases[] = {
      {ERROR_ACCESS_DENIED, "Access denied.\r\n"},
      {ERROR_BAD_EXE_FORMAT, SystemText(ERROR_BAD_EXE_FORMAT)},  // holds "%1": shown as it stands
      {0x2000ABCD, "Windows has no description of error 536914893 (0x2000ABCD)."},  // none
  };
  for (const auto& [dwCode, text] : cases) {
    SCOPED_TRACE(dwCode);
    CTestDlg dlg;
    MessageBoxes boxes;
    UiScript script;
    HKEY hOther = nullptr;
    script.On("Koravel Settings", [&, dwCode = dwCode](HWND hDlg) {
      const HKEY hKey = dlg.m_hKey;
      ASSERT_TRUE(IsOpen(hKey));
      dlg.ReportError(dwCode);
      EXPECT_FALSE(IsOpen(hKey)) << "closed by the time the report returns";
      ::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &hOther);
      ::SendMessageA(hDlg, WM_CLOSE, 0, 0);
      EXPECT_TRUE(IsOpen(hOther));
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    ::RegCloseKey(hOther);
    ASSERT_EQ(1u, boxes.calls.size());
    EXPECT_EQ(text, boxes.calls[0].text);
    EXPECT_EQ("Error", boxes.calls[0].caption);
    EXPECT_EQ(UINT{MB_OK | MB_ICONINFORMATION}, boxes.calls[0].uType) << "the information icon";
    EXPECT_EQ(nullptr, boxes.calls[0].hOwner);
    EXPECT_FALSE(boxes.calls[0].bActiveWindowEnabled);
  }
}

// The low four bits of a system command are the system's: 0x10 and 0x1F both open the About box,
// modal and centred over the settings dialog, which opens centred on the work area. Other
// commands keep their meaning.
TEST_F(DialogsTest, SystemCommandsOpenTheAboutBoxOrKeepTheirMeaning) {
  CKoravelDlg dlg;
  AfxGetApp()->m_pMainWnd = &dlg;  // as the application object does
  std::vector<HWND> owners;
  UiScript script;
  for (WPARAM nID : {0x10, 0x1F}) {
    script
        .On("Koravel Settings",
            [nID](HWND hDlg) {
              EXPECT_LE(OffCentre(hDlg), 2);
              ::SendMessageA(hDlg, WM_SYSCOMMAND, nID, 0);
            })
        .On("About Koravel", [&](HWND hAbout) {
          owners.push_back(::GetWindow(hAbout, GW_OWNER));
          EXPECT_LE(OffCentre(hAbout, owners.back()), 2);
          ::PostMessageA(hAbout, WM_COMMAND, IDOK, 0);
        });
  }
  script.On("Koravel Settings", [&](HWND hDlg) {
    EXPECT_EQ(std::vector<HWND>(2, hDlg), owners);
    ::SendMessageA(hDlg, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(::IsIconic(hDlg));
    ::SendMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

TEST(Questionnaire, EachReasonGetsItsReplyAndNoReasonOrEscapeNone) {
  const std::pair<const char*, const char*> kReplies[] = {
      {"Ignorance is no excuse!",
       "That wasn't very smart, was it?\r\nWhat if I were some sort of joker that wanted to erase "
       "your hard drive?"},
      {"That makes sense.",
       "Then there's nothing I can do for you.\r\nIt's tempting to just reformat your system "
       "drive so that you don't hurt yourself..."},
      {"Yee Haw!", "Why shoot, you must be runnin' Winders '98!\r\nWell Shut my mouth!"},
      {"Somehow, I doubt it.",
       "Don't fool around with me boy. You really want me to send threats\r\nto Zorblatt through "
       "your machine, don't you?"},
      {"koravel_tests",  // none of its own: the application's name
       "Entonces estoy apesadumbrado de haber ofendidole.Yo qero Taco Bell"},
  };
  const int kUntouched = -2, kNone = -1;
  const struct {
    int nCheck;  // the reason checked before the command: 0 to 4, kNone or kUntouched
    WPARAM command;
    int nReply;  // -1: none
  } cases[] = {{0, IDOK, 0}, {1, IDOK, 1},          {2, IDOK, 2},      {3, IDOK, 3},
               {4, IDOK, 4}, {kUntouched, IDOK, 0}, {kNone, IDOK, -1}, {kUntouched, IDCANCEL, -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nCheck);
    CWrongPlatformDlg dlg;
    MessageBoxes replies;
    HWND hQuestionnaire = nullptr;
    UiScript script;
    script.On(kQuestionnaire, [&](HWND hWnd) {
      hQuestionnaire = hWnd;
      EXPECT_LE(OffCentre(hWnd), 2) << "on the work area, with no owner in view";
      if (c.nCheck == kNone) ::CheckDlgButton(hWnd, IDC_CHOICE1, BST_UNCHECKED);
      if (c.nCheck >= 0) ::CheckRadioButton(hWnd, IDC_CHOICE1, IDC_CHOICE5, IDC_CHOICE1 + c.nCheck);
      ::PostMessageA(hWnd, WM_COMMAND, c.command, 0);
    });
    EXPECT_EQ(int(c.command), dlg.DoModal());
    ASSERT_EQ(c.nReply < 0 ? 0u : 1u, replies.calls.size());
    if (c.nReply < 0) continue;
    EXPECT_EQ(kReplies[c.nReply].first, replies.calls[0].caption);
    EXPECT_EQ(kReplies[c.nReply].second, replies.calls[0].text);
    EXPECT_EQ(hQuestionnaire, replies.calls[0].hOwner);
    EXPECT_EQ(UINT{MB_OK}, replies.calls[0].uType);
  }
}

// Ended by its Cancel button, the dialog has had no close message: destroying it closes the key.
TEST_F(DialogsTest, DestructionClosesAKeyThatIsStillOpen) {
  HKEY hKey = nullptr;
  {
    CTestDlg dlg;
    UiScript script;
    script.On("Koravel Settings", [&](HWND hDlg) {
      hKey = dlg.m_hKey;
      ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(IsOpen(hKey));
  }
  EXPECT_FALSE(IsOpen(hKey));
}

// The prefix has Wine's own fonts: the dialogs' face and the caption buttons' glyphs, not a
// substitute that is wider and draws letters in the caption buttons.
TEST(Fonts, DialogsAndCaptionButtonsHaveTheirOwnFaces) {
  HDC hDC = ::GetDC(nullptr);
  for (const char* face : {"MS Sans Serif", "Marlett"}) {
    HFONT hFont = ::CreateFontA(-11, 0, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    char got[LF_FACESIZE] = "";
    ::GetTextFaceA(hDC, sizeof got, got);
    EXPECT_STREQ(face, got);
    ::DeleteObject(::SelectObject(hDC, hOld));
  }
  ::ReleaseDC(nullptr, hDC);
}

TEST(IconOrigin, CentresWithTheOddPixelBeforeTheIcon) {
  EXPECT_EQ((std::vector<int>{0, 2, 3, 0, -15}),
            (std::vector<int>{CKoravelDlg::IconOrigin(32, 32), CKoravelDlg::IconOrigin(36, 32),
                              CKoravelDlg::IconOrigin(37, 32), CKoravelDlg::IconOrigin(31, 32),
                              CKoravelDlg::IconOrigin(0, 32)}));
}

// This runner's application object is Koravel's, whose construction limits the DLL search: a DLL
// beside the executable, which loads by its full path, is not found by its name.
TEST(DllSearch, DllBesideTheExecutableIsNotFoundByName) {
  char szPath[MAX_PATH];
  ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
  std::strcpy(std::strrchr(szPath, '\\') + 1, "koravel_planted.dll");
  HMODULE hPlanted = ::LoadLibraryA(szPath);
  ASSERT_NE(nullptr, hPlanted) << szPath;
  ::FreeLibrary(hPlanted);
  EXPECT_EQ(nullptr, ::LoadLibraryA("koravel_planted.dll"));
}

}  // namespace
