// Applying a new rate: each answer to the prompt, what the registry then holds and whether
// Windows is asked to restart, the failures on the way, and the new-rate text after a key.
// ExitWindowsEx is intercepted: the real call would end the Wine session that runs the tests.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h:
#include <initguid.h>
// After initguid.h, so that the setup classes are defined here:
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
    HWND hSettings = nullptr;
    UiScript script;
    // Only Cancel goes back to the dialog; every other answer ends it, by OK or by the report.
    script.EndsEarly(c.nAnswer != IDCANCEL);
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
        .On("Koravel Settings", [&](HWND hDlg) { ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(c.nAnswer == IDCANCEL || c.dwError ? IDCANCEL : IDOK, dlg.DoModal());
    EXPECT_EQ(c.after, ReadStored());
    EXPECT_EQ(c.exits, g_exits);
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

// A mouse made in the prefix with SetupAPI, as Windows lists an installed one, and removed again.
struct Mouse {
  std::string id;       // device instance ID
  const char* service;  // its driver's service
  Stored own;           // its own SampleRate, kNoValue, or kNoKey for no key of its own
  bool bReadOnly;       // its key lets everyone read, and no one write

  std::wstring Key() const {
    return L"SYSTEM\\CurrentControlSet\\Enum\\" + std::wstring(id.begin(), id.end()) +
           L"\\Device Parameters";
  }
  // Sets the DACL of the mouse's own key from an SDDL string.
  void Protect(const char* sddl) const {
    PSECURITY_DESCRIPTOR pSD = nullptr;
    HKEY hKey = nullptr;
    ::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &pSD, nullptr);
    ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, Key().c_str(), 0, WRITE_DAC, &hKey);
    EXPECT_EQ(ERROR_SUCCESS, ::RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, pSD)) << sddl;
    ::RegCloseKey(hKey);
    ::LocalFree(pSD);
  }
  void Install() const {
    HDEVINFO hSet = ::SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_MOUSE, nullptr);
    SP_DEVINFO_DATA device = {sizeof device, {}, 0, 0};
    ASSERT_TRUE(::SetupDiCreateDeviceInfoA(hSet, id.c_str(), &GUID_DEVCLASS_MOUSE, nullptr, nullptr,
                                           0, &device));
    ASSERT_TRUE(::SetupDiRegisterDeviceInfo(hSet, &device, 0, nullptr, nullptr, nullptr));
    ASSERT_TRUE(::SetupDiSetDeviceRegistryPropertyA(hSet, &device, SPDRP_SERVICE,
                                                    reinterpret_cast<const BYTE*>(service),
                                                    static_cast<DWORD>(strlen(service) + 1)));
    if (own != kNoKey) {
      ::RegCloseKey(::SetupDiCreateDevRegKeyA(hSet, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV,
                                              nullptr, nullptr));
      ASSERT_TRUE(SetStored(own, Key().c_str()));
    }
    ::SetupDiDestroyDeviceInfoList(hSet);
    if (bReadOnly) Protect("D:(A;;KR;;;WD)");
  }
  void Remove() const {
    if (bReadOnly) Protect("D:(A;;KA;;;WD)");
    const std::string key = "SYSTEM\\CurrentControlSet\\Enum\\" + id;
    EXPECT_EQ(ERROR_SUCCESS, ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str()));
  }
};

// An installed PS/2 mouse reads its own copy of the rate: that copy is shown, and OK writes the
// slider's rate (End: 200) there too, creating it where there is none. Other mice are not PS/2
// mice. A mouse key that refuses the write is reported, and Windows is not restarted.
TEST_F(ApplyTest, EachInstalledPs2MouseShowsAndGetsItsOwnRate) {
  const Mouse ps2 = {"ACPI\\PNP0F13\\4&1D401FB5&0", "i8042prt", Dword(150), false};
  const Mouse usb = {"HID\\VID_046D&PID_C077\\7&2A5E1B5&0&0000", "mouhid", Dword(100), false};
  Mouse bare = ps2, locked = ps2;
  bare.own = kNoKey;
  locked.bReadOnly = true;
  const struct {
    const char* what;
    std::vector<Mouse> mice;
    const char* shown;
    std::vector<Stored> after;  // each mouse's own value
    DWORD dwError;
  } cases[] = {
      {"a PS/2 mouse with its own rate", {ps2}, "150", {Dword(200)}, 0},
      {"a PS/2 mouse with no key of its own", {bare}, "60", {Dword(200)}, 0},
      {"no mouse", {}, "60", {}, 0},
      {"a USB mouse beside it", {usb, ps2}, "150", {Dword(100), Dword(200)}, 0},
      {"a PS/2 mouse whose key refuses the write",
       {locked},
       "150",
       {Dword(150)},
       ERROR_ACCESS_DENIED},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(SetStored(Dword(60)));
    struct Installed {
      const std::vector<Mouse>& mice;
      ~Installed() {
        for (const Mouse& mouse : mice) mouse.Remove();
      }
    } installed{c.mice};
    for (const Mouse& mouse : c.mice) mouse.Install();
    g_exits.clear();
    g_bRefuseExit = false;
    CKoravelDlg dlg;
    MessageBoxes boxes(IDYES);
    std::string shown;
    UiScript script;
    script.On("Koravel Settings", [&](HWND hDlg) {
      shown = ItemText(hDlg, IDC_CURRENT_TEXT);
      dlg.m_slider.SendMessage(WM_KEYDOWN, VK_END);
      ::SendMessageA(hDlg, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(c.dwError ? IDCANCEL : IDOK, dlg.DoModal());
    EXPECT_EQ(c.shown, shown);
    EXPECT_EQ(Dword(200), ReadStored());
    std::vector<Stored> after;
    for (const Mouse& mouse : c.mice) after.push_back(ReadStored(mouse.Key().c_str()));
    EXPECT_EQ(c.after, after);
    EXPECT_EQ(c.dwError ? std::vector<ExitRequest>{} : std::vector<ExitRequest>{kRestart}, g_exits);
    std::vector<std::string> expected = {
        "You must shutdown and restart for the change to take effect."};
    if (c.dwError) expected.push_back(SystemText(c.dwError));
    std::vector<std::string> texts;
    for (const auto& call : boxes.calls) texts.push_back(std::get<1>(call));
    EXPECT_EQ(expected, texts);
  }
}

}  // namespace
