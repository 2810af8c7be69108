// The settings dialog's error report and close handler, its system commands and the About box,
// the questionnaire, the DLL search of the process, and the class library's bounded formatting.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform_gate/wrong_platform_dlg.h"
#include "settings/koravel_dlg.h"
#include "tests/support/import_hook.h"
#include "tests/support/registry_value.h"
#include "tests/support/ui_script.h"

namespace {

class CTestDlg : public CKoravelDlg {
 public:
  using CKoravelDlg::m_hKey;
};

// How far, in pixels, a window's centre lies from that of another window, or of the work area.
int OffCentre(HWND hWnd, HWND hOver = nullptr) {
  RECT r, o;
  ::GetWindowRect(hWnd, &r);
  hOver ? ::GetWindowRect(hOver, &o) : ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &o, 0);
  return std::max(std::abs(r.left + r.right - o.left - o.right),
                  std::abs(r.top + r.bottom - o.top - o.bottom)) /
         2;
}

bool IsOpen(HKEY hKey) {
  return ::RegQueryValueExA(hKey, "", nullptr, nullptr, nullptr, nullptr) != ERROR_INVALID_HANDLE;
}

class DialogsTest : public RegistryTest {
 protected:
  void SetUp() override { ASSERT_TRUE(SetStored(Dword(120))); }
};

// Every RegCloseKey of the program, counted through the runner's import table.
std::vector<HKEY> g_closed;
ImportHook* g_pCloseHook = nullptr;
LONG WINAPI RecordRegCloseKey(HKEY hKey) {
  g_closed.push_back(hKey);
  return g_pCloseHook->Original<decltype(&::RegCloseKey)>()(hKey);
}

// The system's texts, with one for a HRESULT of SetupAPI's facility, which Wine has none for.
const char kSetupApiText[] = "The device instance does not exist.\r\n";
ImportHook* g_pFormatHook = nullptr;
DWORD WINAPI FormatMessageText(DWORD dwFlags, LPCVOID pSource, DWORD dwCode, DWORD dwLanguage,
                               LPSTR pszText, DWORD cchText, va_list* pArgs) {
  if (dwCode == 0x800F0208) return lstrlenA(lstrcpynA(pszText, kSetupApiText, cchText));
  return g_pFormatHook->Original<decltype(&::FormatMessageA)>()(
      dwFlags, pSource, dwCode, dwLanguage, pszText, cchText, pArgs);
}

// The box has no owner, so the report disables the dialog under it itself (against a second OK).
// A second close message must not close the key again: Windows reuses a closed key's handle
// value, so a second close of a stale handle would close whatever key was opened since.
TEST_F(DialogsTest, ErrorReportShowsTheSystemTextThenClosesTheKeyOnceAndTheDialog) {
  ImportHook closeHook("advapi32.dll", "RegCloseKey", &RecordRegCloseKey);
  ImportHook formatHook("kernel32.dll", "FormatMessageA", &FormatMessageText);
  ASSERT_TRUE(closeHook.Installed() && formatHook.Installed());
  std::tie(g_pCloseHook, g_pFormatHook) = std::make_tuple(&closeHook, &formatHook);
  const std::pair<DWORD, std::string> cases[] = {
      {ERROR_ACCESS_DENIED, "Access denied.\r\n"},
      {ERROR_BAD_EXE_FORMAT, SystemText(ERROR_BAD_EXE_FORMAT)},  // holds "%1": shown as it stands
      {0xE0000208, kSetupApiText},  // SetupAPI's own, known to the system as 0x800F0208
      {0x20000005, "Windows has no description of error 536870917 (0x20000005)."},  // none
  };
  for (const auto& [dwCode, text] : cases) {
    SCOPED_TRACE(dwCode);
    CTestDlg dlg;
    MessageBoxes boxes;
    UiScript script;
    HKEY hKey = nullptr;
    script.On("Koravel Settings", [&, dwCode = dwCode](HWND hDlg) {
      hKey = dlg.m_hKey;
      g_closed.clear();
      dlg.ReportError(dwCode);
      EXPECT_EQ(std::vector<HKEY>{hKey}, g_closed) << "closed by the time the report returns";
      ::SendMessageA(hDlg, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(std::vector<HKEY>{hKey}, g_closed);
    EXPECT_EQ(std::vector<MessageBoxCall>({{nullptr, text, "Error", MB_ICONINFORMATION, false}}),
              boxes.calls);
  }
}

// The settings open centred on the work area. The low four bits of a system command are the
// system's: 0x10 and 0x1F open the About box, modal and centred over the settings (moved off the
// centre first); other commands keep their meaning. Ended by its Cancel button, with no close
// message, the dialog closes the key when it goes.
TEST_F(DialogsTest, SystemCommandsAboutBoxAndTheKeyAtTheEnd) {
  HKEY hKey = nullptr;
  {
    CTestDlg dlg;
    AfxGetApp()->m_pMainWnd = &dlg;  // as the application object does
    std::vector<HWND> owners;
    UiScript script;
    script.On("Koravel Settings", [](HWND hDlg) {
      EXPECT_LE(OffCentre(hDlg), 2);
      ::SetWindowPos(hDlg, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // off the centre
    });
    for (WPARAM nID : {0x10, 0x1F}) {
      script
          .On("Koravel Settings", [nID](HWND hDlg) { ::SendMessageA(hDlg, WM_SYSCOMMAND, nID, 0); })
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
      hKey = dlg.m_hKey;
      ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(IsOpen(hKey));
  }
  EXPECT_FALSE(IsOpen(hKey));
}

// Each reason is answered by its own reply, told here by its caption (the last has none of its own:
// the application's name), with the OK button only.
TEST(Questionnaire, EachReasonGetsItsReplyAndNoReasonOrEscapeNone) {
  const char* const kCaptions[] = {"Ignorance is no excuse!", "That makes sense.", "Yee Haw!",
                                   "Somehow, I doubt it.", "koravel_tests"};
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
    script.On("You have chosen to run this program on something other than NT", [&](HWND hWnd) {
      hQuestionnaire = hWnd;
      EXPECT_LE(OffCentre(hWnd), 2) << "on the work area, with no owner in view";
      if (c.nCheck == kNone) ::CheckDlgButton(hWnd, IDC_CHOICE1, BST_UNCHECKED);
      if (c.nCheck >= 0) ::CheckRadioButton(hWnd, IDC_CHOICE1, IDC_CHOICE5, IDC_CHOICE1 + c.nCheck);
      ::PostMessageA(hWnd, WM_COMMAND, c.command, 0);
    });
    EXPECT_EQ(int(c.command), dlg.DoModal());
    std::vector<std::tuple<HWND, std::string, UINT>> got, expected;
    for (const auto& [hOwner, text, caption, uType, bInput] : replies.calls)
      got.emplace_back(hOwner, caption, uType);
    if (c.nReply >= 0) expected.emplace_back(hQuestionnaire, kCaptions[c.nReply], MB_OK);
    EXPECT_EQ(expected, got);
  }
}

// The runner's application object, Koravel's, limits the DLL search: a DLL beside it is not found.
TEST(DllSearch, DllBesideTheExecutableIsNotFoundByName) {
  char szPath[MAX_PATH];
  ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
  std::strcpy(std::strrchr(szPath, '\\') + 1, "koravel_planted.dll");
  HMODULE hPlanted = ::LoadLibraryA(szPath);
  ASSERT_NE(nullptr, hPlanted) << szPath;
  ::FreeLibrary(hPlanted);
  EXPECT_EQ(nullptr, ::LoadLibraryA("koravel_planted.dll"));
}

// A text of exactly the buffer's first size, one past it, and formats that never fit: past
// CString::FORMAT_MAX characters, or an encoding error, which MSVCRT reports as it reports a
// buffer too small. Those leave the string empty rather than growing it for ever.
TEST(CString, FormatFitsAnyLengthUpToItsBoundAndEmptiesPastIt) {
  const wchar_t kUnpaired[] = {0xD800, 0};  // no character of any code page
  const struct {
    int nWidth;
    const wchar_t* pwsz;
    int nLength;
  } cases[] = {
      // clang-format off
      {64, L"", 64}, {65, L"", 65}, {CString::FORMAT_MAX, L"", CString::FORMAT_MAX},
      {CString::FORMAT_MAX + 1, L"", 0}, {0, kUnpaired, 0},
      // clang-format on
  };
  for (const auto& c : cases) {
    CString s = "before";
    s.Format("%*ls", c.nWidth, c.pwsz);
    EXPECT_EQ(c.nLength, s.GetLength()) << c.nWidth;
  }
}

}  // namespace
