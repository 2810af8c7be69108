// Applying a new rate: each answer to the prompt, what the registry then holds and whether
// Windows is asked to restart, the failures on the way, and the new-rate text after a key.
// ExitWindowsEx is intercepted: the real call would end the Wine session that runs the tests.
#include <gtest/gtest.h>

#include <tuple>

#include "settings/koravel_dlg.h"
#include "tests/support/import_hook.h"
#include "tests/support/registry_value.h"
#include "tests/support/ui_script.h"

namespace {

// Each request to exit Windows: its flags and reason, and whether the shutdown privilege was
// enabled in the process's token (Wine does not check it itself).
using ExitRequest = std::tuple<UINT, DWORD, bool>;
std::vector<ExitRequest> g_exits;
bool g_bRefuseExit = false;
const ExitRequest kRestart = {EWX_REBOOT, 0x80010004, true};  // planned, hardware, reconfiguration

// Whether the shutdown privilege is enabled in the process's token; bDisable disables it first.
bool ShutdownPrivilege(bool bDisable) {
  HANDLE hToken = nullptr;
  ::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &hToken);
  PRIVILEGE_SET set = {1, PRIVILEGE_SET_ALL_NECESSARY, {{{0, 0}, 0}}};
  ::LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &set.Privilege[0].Luid);
  TOKEN_PRIVILEGES disabled = {1, {{set.Privilege[0].Luid, 0}}};
  if (bDisable) ::AdjustTokenPrivileges(hToken, FALSE, &disabled, 0, nullptr, nullptr);
  BOOL bEnabled = FALSE;
  ::PrivilegeCheck(hToken, &set, &bEnabled);
  ::CloseHandle(hToken);
  return bEnabled;
}

BOOL WINAPI RecordExitWindowsEx(UINT uFlags, DWORD dwReason) {
  g_exits.emplace_back(uFlags, dwReason, ShutdownPrivilege(false));
  ::SetLastError(g_bRefuseExit ? ERROR_PRIVILEGE_NOT_HELD : ERROR_SUCCESS);
  return !g_bRefuseExit;
}

class ApplyTest : public RegistryTest {
 protected:
  void SetUp() override { ASSERT_TRUE(m_hook.Installed()) << "Yes would end the test session"; }
  ImportHook m_hook{"user32.dll", "ExitWindowsEx", reinterpret_cast<void*>(&RecordExitWindowsEx)};
};

// Untouched, the slider holds the stored rate clamped to 20 to 200. Whatever the value was, what
// is written is the slider's position, as a 4-byte REG_DWORD.
TEST_F(ApplyTest, EachAnswerToThePrompt) {
  const struct {
    const char* what;
    Stored stored;
    WPARAM vk;  // a key pressed on the slider first, or 0
    int nAnswer;
    Stored after;
    std::vector<ExitRequest> exits;
    // The error reported, if any, which the test brings about: the key deleted under the open
    // dialog, so that the write fails for real, or the restart refused (after End, Yes).
    DWORD dwError = 0;
  } cases[] = {
      {"untouched, Yes", Dword(250), 0, IDYES, Dword(200), {kRestart}},
      {"Home, No", {REG_BINARY, {77}}, VK_HOME, IDNO, Dword(20), {}},
      {"Page Up, Cancel", Dword(60), VK_PRIOR, IDCANCEL, Dword(60), {}},
      {"write fails, Yes", Dword(60), 0, IDYES, kNoKey, {}, ERROR_KEY_DELETED},
      {"refused", Dword(60), VK_END, IDYES, Dword(200), {kRestart}, ERROR_PRIVILEGE_NOT_HELD},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(SetStored(c.stored));
    ASSERT_FALSE(ShutdownPrivilege(true));
    g_exits.clear();
    g_bRefuseExit = c.dwError == ERROR_PRIVILEGE_NOT_HELD;
    CKoravelDlg dlg;
    MessageBoxes boxes(c.nAnswer);
    bool bOpenAfterPrompt = false;
    HWND hSettings = nullptr;
    UiScript script;
    script
        .On("Koravel Settings",
            [&](HWND hDlg) {
              hSettings = hDlg;
              if (c.vk != 0) {
                dlg.m_slider.SendMessage(WM_KEYDOWN, c.vk);
                EXPECT_EQ(std::to_string(dlg.m_slider.SendMessage(TBM_GETPOS)),
                          ItemText(hDlg, IDC_NEW_TEXT));
              }
              if (c.dwError == ERROR_KEY_DELETED) SetStored(kNoKey);
              ::SendMessageA(hDlg, WM_COMMAND, IDOK, 0);  // OK, the prompt and what follows it
            })
        .On("Koravel Settings", [&](HWND hDlg) {
          bOpenAfterPrompt = true;
          ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_EQ(c.nAnswer == IDCANCEL || c.dwError ? IDCANCEL : IDOK, dlg.DoModal());
    EXPECT_EQ(c.after, ReadStored());
    EXPECT_EQ(c.exits, g_exits);
    std::vector<MessageBoxCall> expected = {
        {hSettings, "You must shutdown and restart for the change to take effect.", "Shutdown?",
         MB_YESNOCANCEL | MB_ICONQUESTION, true}};
    if (c.dwError != 0) {
      expected.emplace_back(nullptr, SystemText(c.dwError), "Error", MB_ICONINFORMATION, false);
    } else {
      EXPECT_EQ(c.nAnswer == IDCANCEL, bOpenAfterPrompt) << "only Cancel goes back to the dialog";
    }
    EXPECT_EQ(expected, boxes.calls);
  }
}

}  // namespace
