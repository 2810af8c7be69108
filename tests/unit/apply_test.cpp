// Applying a new rate: each answer to the prompt and what the prompt says, what the registry then
// holds and whether Windows is asked to restart, for each kind of installed mouse; a change that
// fails, whole or none; the new-rate text after a key. ExitWindowsEx is intercepted: the real call
// would end the Wine session that runs the tests.
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

// Mice made in the prefix with SetupAPI, as Windows lists installed ones (in this order), and
// their own keys.
const char kPs2[] = "ACPI\\PNP0F13\\4&1D401FB5&0", kPad[] = "ACPI\\SYN0002\\4&1D401FB5&0",
           kUsb[] = "HID\\VID_046D&PID_C077\\7&2A5E1B5&0&0";
struct Mouse {
  const char* id;
  Stored own;             // its own SampleRate, or kNoKey for no key of its own
  const char* sddl = "";  // a DACL for its key, if any
};
std::wstring OwnKey(const char* id) {
  return L"SYSTEM\\CurrentControlSet\\Enum\\" + std::wstring(id, id + strlen(id)) +
         L"\\Device Parameters";
}
void Protect(const std::wstring& key, const char* sddl) {
  PSECURITY_DESCRIPTOR pSD = nullptr;
  HKEY hKey = nullptr;
  ::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &pSD, nullptr);
  ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, WRITE_DAC, &hKey);
  ASSERT_EQ(ERROR_SUCCESS, ::RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, pSD));
  ::RegCloseKey(hKey);
  ::LocalFree(pSD);
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
  if (*m.sddl) Protect(OwnKey(m.id), m.sddl);
}

// The program's RegSetValueExA, counted: call g_nFailWrite fails as a refusing key would, after
// deleting g_pszDeleteFirst's own key, if any, as another program might (its put-back then fails).
int g_nWrites = 0, g_nFailWrite = 0;
const char* g_pszDeleteFirst = nullptr;
ImportHook* g_pSetValueHook = nullptr;
LONG WINAPI CountRegSetValueExA(HKEY hKey, LPCSTR lpszName, DWORD dwReserved, DWORD dwType,
                                const BYTE* pData, DWORD cbData) {
  if (++g_nWrites == g_nFailWrite) {
    if (g_pszDeleteFirst) ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, OwnKey(g_pszDeleteFirst).c_str());
    return ERROR_ACCESS_DENIED;
  }
  return g_pSetValueHook->Original<decltype(&::RegSetValueExA)>()(hKey, lpszName, dwReserved,
                                                                  dwType, pData, cbData);
}

// SetupAPI's listing, which fails after the first device once g_bFailListing is set. The program
// looks the function up at run time, so its GetProcAddress hands out this one instead.
bool g_bFailListing = false;
BOOL WINAPI EnumDeviceInfo(HDEVINFO hSet, DWORD nIndex, SP_DEVINFO_DATA* pDevice) {
  if (g_bFailListing && nIndex > 0) return ::SetLastError(ERROR_NOT_ENOUGH_MEMORY), FALSE;
  return ::SetupDiEnumDeviceInfo(hSet, nIndex, pDevice);
}
ImportHook* g_pProcHook = nullptr;
FARPROC WINAPI ProcAddress(HMODULE hModule, LPCSTR lpszName) {
  if (HIWORD(lpszName) != 0 && strcmp(lpszName, "SetupDiEnumDeviceInfo") == 0)
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&EnumDeviceInfo));
  return g_pProcHook->Original<decltype(&::GetProcAddress)>()(hModule, lpszName);
}

// Windows NT 4.0, for the rows that ask for it.
bool g_bNt4 = false;
ImportHook* g_pVersionHook = nullptr;
BOOL WINAPI VersionExA(OSVERSIONINFOA* pVersion) {
  const BOOL bResult = g_pVersionHook->Original<decltype(&::GetVersionExA)>()(pVersion);
  if (g_bNt4) std::tie(pVersion->dwMajorVersion, pVersion->dwMinorVersion) = std::make_tuple(4, 0);
  return bResult;
}

// Removes the test's mice too: their device keys and the keys made for them above those.
class ApplyTest : public RegistryTest {
 protected:
  void TearDown() override {
    for (const std::string id : {kPs2, kPad, kUsb}) {
      const std::string key = "SYSTEM\\CurrentControlSet\\Enum\\" + id.substr(0, id.rfind('\\'));
      ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
    }
    RegistryTest::TearDown();
  }
  void SetUp() override {
    ASSERT_TRUE(m_exitHook.Installed() && m_setValueHook.Installed() && m_versionHook.Installed() &&
                m_procHook.Installed());
    std::tie(g_pSetValueHook, g_pVersionHook, g_pProcHook) =
        std::make_tuple(&m_setValueHook, &m_versionHook, &m_procHook);
  }
  ImportHook m_exitHook{"user32.dll", "ExitWindowsEx", &RecordExitWindowsEx};
  ImportHook m_setValueHook{"advapi32.dll", "RegSetValueExA", &CountRegSetValueExA};
  ImportHook m_versionHook{"kernel32.dll", "GetVersionExA", &VersionExA};
  ImportHook m_procHook{"kernel32.dll", "GetProcAddress", &ProcAddress};
};

const std::string kRestartText = "You must shutdown and restart for the change to take effect.";
const std::string kNoMouseText =
    "No PS/2 mouse is installed, so no mouse changes now. The new rate applies to a PS/2 mouse "
    "installed later.\r\n\r\n";
std::string RateText(int nRate) {
  return std::to_string(nRate) +
         " is not one of the rates PS/2 mice are made for (20, 40, 60, 80, 100 and 200 reports a "
         "second). A mouse that refuses it does not work after the restart until the rate is set "
         "back, with the keyboard.\r\n\r\n";
}

// Untouched, the slider holds the stored rate clamped to 20 to 200. Whatever the value was, what
// is written is the slider's position, as a 4-byte REG_DWORD, into the driver's key and each
// installed PS/2 mouse's own key (created where there is none); other mice are not PS/2 mice, and
// Windows NT 4.0 keeps no mouse's own rate. The driver's key grants no more than reading, setting
// its values and deleting it (for the clean-up). A change that fails leaves everything as it was,
// or says where the new rate stands, and Windows is not restarted.
TEST_F(ApplyTest, EachAnswerEachMouseAndAChangeWholeOrNone) {
  const std::string kNothing = "Nothing was changed.";
  const struct {
    const char* what;
    Stored stored;
    WPARAM vk;  // a key pressed on the slider first, or 0
    int nAnswer;
    std::vector<Mouse> mice;
    const char* shown;  // the current rate
    int nRateText;      // the rate the prompt warns of, or 0
    bool bNoMouseText;
    Stored after;
    std::vector<Stored> miceAfter;  // each mouse's own value
    std::vector<ExitRequest> exits;
    // The error reported, if any, and its note. The test brings it about: the driver's key
    // deleted under the open dialog or a mouse's key that refuses, a write refused by the hook,
    // the restart refused.
    DWORD dwError = 0;
    std::string note = "";
    int nFailWrite = 0;
    const char* deleteFirst = nullptr;
    bool bNt4 = false;
  } cases[] = {
      // clang-format off
      {"untouched, Yes", Dword(250), 0, IDYES, {{kPs2, kNoKey}}, "250", 0, false, Dword(200),
       {Dword(200)}, {kRestart}},
      {"Home, No", {REG_BINARY, {77}}, VK_HOME, IDNO, {{kPs2, Dword(150)}}, "150", 0, false,
       Dword(20), {Dword(20)}, {}},
      {"Page Up, Cancel", Dword(60), VK_PRIOR, IDCANCEL, {}, "60", 50, true, Dword(60), {}, {}},
      {"only a USB mouse", Dword(60), VK_END, IDYES, {{kUsb, Dword(100)}}, "60", 0, true,
       Dword(200), {Dword(100)}, {kRestart}},
      {"a USB mouse beside, refused", Dword(60), VK_END, IDYES, {{kUsb, Dword(100)}, {kPs2, Dword(150)}},
       "150", 0, false, Dword(200), {Dword(100), Dword(200)}, {kRestart}, ERROR_PRIVILEGE_NOT_HELD,
       "The new rate is saved and takes effect when Windows next starts."},
      {"Windows NT 4.0", Dword(60), VK_END, IDYES, {{kPs2, Dword(150)}}, "60", 0, false, Dword(200),
       {Dword(150)}, {kRestart}, 0, "", 0, nullptr, true},
      {"Windows NT 4.0, no mouse", Dword(60), VK_END, IDNO, {}, "60", 0, false, Dword(200), {}, {},
       0, "", 0, nullptr, true},
      {"driver's key deleted", Dword(60), 0, IDYES, {{kPs2, Dword(100)}}, "100", 0, false, kNoKey,
       {Dword(100)}, {}, ERROR_KEY_DELETED, kNothing},
      {"the listing fails part-way", Dword(60), VK_END, IDYES, {{kPs2, Dword(150)}, {kPad, kNoKey}},
       "150", 0, false, Dword(60), {Dword(150), kNoKey}, {}, ERROR_NOT_ENOUGH_MEMORY, kNothing},
      {"a key refuses at open", Dword(60), VK_END, IDYES,
       {{kPs2, kNoKey}, {kPad, Dword(100), "D:(A;;KR;;;WD)"}}, "100", 0, false, Dword(60),
       {kNoKey, Dword(100)}, {}, ERROR_ACCESS_DENIED, kNothing},
      {"a key refuses the write", {REG_BINARY, {77}}, VK_END, IDYES,
       {{kPs2, kNoKey}, {kPad, {REG_BINARY, {1, 2}}}}, "513", 0, false, {REG_BINARY, {77}},
       {kNoKey, {REG_BINARY, {1, 2}}}, {}, ERROR_ACCESS_DENIED, kNothing, 3},
      {"a put-back fails", Dword(60), VK_END, IDYES, {{kPs2, Dword(150)}, {kPad, Dword(100)}},
       "150", 0, false, Dword(60), {kNoKey, Dword(100)}, {}, ERROR_ACCESS_DENIED,
       "The old rate could not be put back everywhere. The new rate is now in 1 of the 2 PS/2 "
       "mice's own keys, but not in the driver's key.", 3, kPs2},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    ASSERT_TRUE(SetStored(c.stored));
    if (c.nAnswer != IDCANCEL) Protect(L"" KORAVEL_PARAMETERS_KEY, "D:(A;;0x10003;;;WD)");
    for (const Mouse& mouse : c.mice) Install(mouse);
    ASSERT_FALSE(ShutdownPrivilege(true));
    g_exits.clear();
    g_bRefuseExit = c.dwError == ERROR_PRIVILEGE_NOT_HELD;
    std::tie(g_nWrites, g_nFailWrite, g_pszDeleteFirst, g_bNt4, g_bFailListing) =
        std::make_tuple(0, c.nFailWrite, c.deleteFirst, c.bNt4, false);
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
              g_bFailListing = c.dwError == ERROR_NOT_ENOUGH_MEMORY;
              ::SendMessageA(hDlg, WM_COMMAND, IDOK, 0);  // OK, the prompt and what follows it
            })
        .On("Koravel Settings", [&](HWND hDlg) { ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(c.nAnswer == IDCANCEL || c.dwError ? IDCANCEL : IDOK, dlg.DoModal());
    std::vector<Stored> miceAfter;
    for (const Mouse& mouse : c.mice) miceAfter.push_back(ReadStored(OwnKey(mouse.id).c_str()));
    EXPECT_EQ(std::make_tuple(std::string(c.shown), c.after, c.miceAfter, c.exits),
              std::make_tuple(shown, ReadStored(), miceAfter, g_exits));
    const std::string prompt = (c.nRateText ? RateText(c.nRateText) : "") +
                               (c.bNoMouseText ? kNoMouseText : "") + kRestartText;
    // A listing that fails is reported at once: no question can say what the restart will do.
    std::vector<MessageBoxCall> expected;
    if (c.dwError != ERROR_NOT_ENOUGH_MEMORY)
      expected.emplace_back(hSettings, prompt, "Shutdown?", MB_YESNOCANCEL | MB_ICONQUESTION, true);
    if (c.dwError != 0) {
      expected.emplace_back(nullptr, SystemText(c.dwError) + c.note, "Error", MB_ICONINFORMATION,
                            false);
    }
    EXPECT_EQ(expected, boxes.calls);
  }
}

}  // namespace
