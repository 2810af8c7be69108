// Applying a new rate: each answer to the prompt, what the registry then holds and whether
// Windows is asked to restart, the failures on the way, and the new-rate text after a key.
// ExitWindowsEx is intercepted: the real call would end the Wine session that runs the tests.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, and before devguid.h, so that the setup classes are defined here:
#include <initguid.h>
#include <devguid.h>
#include <sddl.h>
#include <setupapi.h>

#include <string>
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

// Mice made in the prefix with SetupAPI, as Windows lists installed ones, and their own keys.
const char kPs2[] = "ACPI\\PNP0F13\\4&1D401FB5&0", kUsb[] = "HID\\VID_046D&PID_C077\\7&2A5E1B5&0&0";
struct Mouse {
  const char* id;
  Stored own;              // its own SampleRate, or kNoKey for no key of its own
  bool bReadOnly = false;  // its key lets everyone read, and no one write
};
std::wstring OwnKey(const char* id) {
  return L"SYSTEM\\CurrentControlSet\\Enum\\" + std::wstring(id, id + strlen(id)) +
         L"\\Device Parameters";
}
void Install(const Mouse& m) {
  HDEVINFO hSet = ::SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_MOUSE, nullptr);
  SP_DEVINFO_DATA device = {sizeof device, {}, 0, 0};
  const char* service = m.id == kUsb ? "mouhid" : "i8042prt";
  ASSERT_TRUE(
      ::SetupDiCreateDeviceInfoA(hSet, m.id, &GUID_DEVCLASS_MOUSE, nullptr, nullptr, 0, &device) &&
      ::SetupDiRegisterDeviceInfo(hSet, &device, 0, nullptr, nullptr, nullptr) &&
      ::SetupDiSetDeviceRegistryPropertyA(hSet, &device, SPDRP_SERVICE,
                                          reinterpret_cast<const BYTE*>(service),
                                          static_cast<DWORD>(strlen(service) + 1)));
  if (m.own != kNoKey) {
    ::RegCloseKey(
        ::SetupDiCreateDevRegKeyA(hSet, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, nullptr, nullptr));
    ASSERT_TRUE(SetStored(m.own, OwnKey(m.id).c_str()));
  }
  ::SetupDiDestroyDeviceInfoList(hSet);
  if (!m.bReadOnly) return;
  PSECURITY_DESCRIPTOR pSD = nullptr;
  HKEY hKey = nullptr;
  ::ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KR;;;WD)", SDDL_REVISION_1, &pSD,
                                                         nullptr);
  ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, OwnKey(m.id).c_str(), 0, WRITE_DAC, &hKey);
  ASSERT_EQ(ERROR_SUCCESS, ::RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, pSD));
  ::RegCloseKey(hKey);
  ::LocalFree(pSD);
}

// Removes the test's mice too: their device keys and the keys made for them above those.
class ApplyTest : public RegistryTest {
 protected:
  void TearDown() override {
    for (const std::string id : {kPs2, kUsb}) {
      const std::string key = "SYSTEM\\CurrentControlSet\\Enum\\" + id.substr(0, id.rfind('\\'));
      ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
    }
    RegistryTest::TearDown();
  }
  void SetUp() override {
    ASSERT_TRUE(m_hook.Installed()) << "Yes would end the test session";
    g_exits.clear();
    g_bRefuseExit = false;
  }
  ImportHook m_hook{"user32.dll", "ExitWindowsEx", reinterpret_cast<void*>(&RecordExitWindowsEx)};
};

// Untouched, the slider holds the stored rate clamped to 20 to 200. Whatever the value was, what
// is written is the slider's position, as a 4-byte REG_DWORD. An installed PS/2 mouse reads its
// own copy of the rate: that copy is shown, and OK writes there too, creating it where there is
// none; other mice are not PS/2 mice. A mouse key that refuses the write is reported, and Windows
// is not restarted.
TEST_F(ApplyTest, EachAnswerToThePromptAndEachInstalledMouse) {
  const struct {
    const char* what;
    Stored stored;
    WPARAM vk;  // a key pressed on the slider first, or 0
    int nAnswer;
    const char* shown;  // the current rate
    Stored after;
    std::vector<ExitRequest> exits;
    // The error reported, if any, which the test brings about: the key deleted under the open
    // dialog, so that the write fails for real, or the restart refused.
    DWORD dwError = 0;
    std::vector<Mouse> mice = {};
    std::vector<Stored> miceAfter = {};  // each mouse's own value
  } cases[] = {
      // clang-format off
      {"untouched, Yes", Dword(250), 0, IDYES, "250", Dword(200), {kRestart}},
      {"Home, No", {REG_BINARY, {77}}, VK_HOME, IDNO, "77", Dword(20), {}},
      {"Page Up, Cancel", Dword(60), VK_PRIOR, IDCANCEL, "60", Dword(60), {}},
      {"write fails, Yes", Dword(60), 0, IDYES, "60", kNoKey, {}, ERROR_KEY_DELETED},
      {"refused", Dword(60), VK_END, IDYES, "60", Dword(200), {kRestart}, ERROR_PRIVILEGE_NOT_HELD},
      {"a PS/2 mouse's own rate", Dword(60), VK_END, IDYES, "150", Dword(200), {kRestart}, 0,
       {{kPs2, Dword(150)}}, {Dword(200)}},
      {"a PS/2 mouse with no key", Dword(60), VK_END, IDYES, "60", Dword(200), {kRestart}, 0,
       {{kPs2, kNoKey}}, {Dword(200)}},
      {"a USB mouse beside it", Dword(60), VK_END, IDYES, "150", Dword(200), {kRestart}, 0,
       {{kUsb, Dword(100)}, {kPs2, Dword(150)}}, {Dword(100), Dword(200)}},
      {"a PS/2 mouse's key refuses", Dword(60), VK_END, IDYES, "150", Dword(200), {},
       ERROR_ACCESS_DENIED, {{kPs2, Dword(150), true}}, {Dword(150)}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    ASSERT_TRUE(SetStored(c.stored));
    for (const Mouse& mouse : c.mice) Install(mouse);
    ASSERT_FALSE(ShutdownPrivilege(true));
    g_exits.clear();
    g_bRefuseExit = c.dwError == ERROR_PRIVILEGE_NOT_HELD;
    CKoravelDlg dlg;
    MessageBoxes boxes(c.nAnswer);
    HWND hSettings = nullptr;
    std::string shown;
    UiScript script;
    // Only Cancel goes back to the dialog; every other answer ends it, by OK or by the report.
    script.EndsEarly(c.nAnswer != IDCANCEL);
    script
        .On("Koravel Settings",
            [&](HWND hDlg) {
              hSettings = hDlg;
              shown = ItemText(hDlg, IDC_CURRENT_TEXT);
              if (c.vk != 0) {
                dlg.m_slider.SendMessage(WM_KEYDOWN, c.vk);
                EXPECT_EQ(std::to_string(dlg.m_slider.SendMessage(TBM_GETPOS)),
                          ItemText(hDlg, IDC_NEW_TEXT));
              }
              if (c.dwError == ERROR_KEY_DELETED) SetStored(kNoKey);
              ::SendMessageA(hDlg, WM_COMMAND, IDOK, 0);  // OK, the prompt and what follows it
            })
        .On("Koravel Settings", [&](HWND hDlg) { ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(c.nAnswer == IDCANCEL || c.dwError ? IDCANCEL : IDOK, dlg.DoModal());
    std::vector<Stored> miceAfter;
    for (const Mouse& mouse : c.mice) miceAfter.push_back(ReadStored(OwnKey(mouse.id).c_str()));
    EXPECT_EQ(std::make_tuple(std::string(c.shown), c.after, c.miceAfter, c.exits),
              std::make_tuple(shown, ReadStored(), miceAfter, g_exits));
    std::vector<MessageBoxCall> expected = {
        {hSettings, "You must shutdown and restart for the change to take effect.", "Shutdown?",
         MB_YESNOCANCEL | MB_ICONQUESTION, true}};
    if (c.dwError != 0) {
      // After a refused restart the report adds that the rate is saved.
      const std::string note =
          c.dwError == ERROR_PRIVILEGE_NOT_HELD
              ? "The new rate is saved and takes effect when Windows next starts."
              : "";
      expected.emplace_back(nullptr, SystemText(c.dwError) + note, "Error", MB_ICONINFORMATION,
                            false);
    }
    EXPECT_EQ(expected, boxes.calls);
  }
}

}  // namespace
