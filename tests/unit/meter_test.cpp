// The meter: its measuring part fed directly, and the dialog fed through real raw input (or its
// hook), with Wine's mouse made a PS/2 mouse of the prefix or left a mouse of another class.
#include <gtest/gtest.h>

#include "meter/measure_dlg.h"
#include "meter/rate_meter.h"
#include "support/import_hook.h"
#include "support/registry_value.h"
#include "support/ui_script.h"

namespace {

// Mice interleaved (the first with a null handle), each at its rate from 10 to 8,000 reports a
// second, stamped in whole milliseconds from just before the wrap of the tick count: no figure
// before 800 ms of movement, then each mouse's own. The last pauses at 1000 ms and goes on at 40
// from 1300: no figure until 800 ms more.
TEST(RateMeter, EachMouseReadsItsRateFrom10To8000WithinTheBoundAndAfterAPause) {
  const std::vector<int> rates = {10, 20, 125, 200, 1000, 4000, 8000, 100};
  CRateMeter meter;
  const DWORD dwStart = 0xFFFFFFFF - 500;
  std::vector<int> shown, expected;
  for (DWORD ms = 0; ms <= 2300; ++ms) {
    for (size_t n = 0; n < rates.size(); ++n) {
      const int nRate = n == 7 && ms >= 1300 ? 40 : rates[n];
      const bool bPaused = n == 7 && ms >= 1000 && ms < 1300;
      for (DWORD k = (ms * nRate + 999) / 1000; !bPaused && k < ((ms + 1) * nRate + 999) / 1000;
           ++k)
        meter.Add(reinterpret_cast<HANDLE>(n), dwStart + ms);
    }
    if (ms != 799 && ms != 999 && ms != 2099 && ms != 2300) continue;
    for (int n = 0; n < meter.GetDeviceCount(); ++n) {
      shown.push_back(meter.GetRate(n));
      expected.push_back(ms == 799 ? -1 : n < 7 || ms == 999 ? rates[n] : ms == 2099 ? -1 : 40);
    }
  }
  EXPECT_EQ(expected, shown);
}

// Wine's mouse, its raw input name and its key (HKLM\...\Enum\<instance ID>), whose class and
// service are changed in a case and put back after it.
std::string RawName() {
  RAWINPUTDEVICELIST devices[8];
  UINT nDevices = 8;
  char name[256] = "";
  UINT cchName = sizeof name;
  for (UINT n = 0; n < ::GetRawInputDeviceList(devices, &nDevices, sizeof *devices); ++n)
    if (devices[n].dwType == RIM_TYPEMOUSE)
      ::GetRawInputDeviceInfoA(devices[n].hDevice, RIDI_DEVICENAME, name, &cchName);
  return name;
}
std::string EnumKey() {
  std::string id = RawName().substr(4);
  id = id.substr(0, id.find("#{"));
  for (char& c : id) c = c == '#' ? '\\' : c;
  return "SYSTEM\\CurrentControlSet\\Enum\\" + id;
}
void SetString(const std::string& key, const char* name, const std::string& value) {
  if (value.empty()) ::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, key.c_str(), name);
  if (!value.empty())
    ::RegSetKeyValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_SZ, value.c_str(),
                      static_cast<DWORD>(value.size() + 1));
}
std::string GetString(const std::string& key, const char* name) {
  char value[256] = "";
  DWORD cbValue = sizeof value;
  ::RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &cbValue);
  return value;
}

// Through GetProcAddress, the raw input functions missing, registrations recorded, or input made
// to come from no device; through the import table, hooks set and removed, or refused as Windows
// 95 refuses WH_MOUSE_LL.
bool g_bNoRawInput = false, g_bNoDevice = false, g_bNoHook = false;
std::vector<std::pair<DWORD, HWND>> g_registered;
std::vector<HHOOK> g_hooks, g_unhooked;
BOOL WINAPI Register(const RAWINPUTDEVICE* pDevices, UINT nDevices, UINT cbSize) {
  g_registered.emplace_back(pDevices->dwFlags, pDevices->hwndTarget);
  return ::RegisterRawInputDevices(pDevices, nDevices, cbSize);
}
UINT WINAPI GetData(HRAWINPUT hInput, UINT uCommand, void* pData, UINT* pcbSize, UINT cbHeader) {
  const UINT cbData = ::GetRawInputData(hInput, uCommand, pData, pcbSize, cbHeader);
  if (g_bNoDevice && pData != nullptr) static_cast<RAWINPUTHEADER*>(pData)->hDevice = nullptr;
  return cbData;
}
IMPORT_HOOK("kernel32.dll", GetProcAddress, ProcAddress);
FARPROC WINAPI ProcAddress(HMODULE hModule, LPCSTR lpszName) {
  const std::string name = HIWORD(lpszName) != 0 ? lpszName : "";
  void* pStandIn = name == "RegisterRawInputDevices" ? reinterpret_cast<void*>(&Register)
                   : name == "GetRawInputData"       ? reinterpret_cast<void*>(&GetData)
                                                     : nullptr;
  if (pStandIn != nullptr) return g_bNoRawInput ? nullptr : reinterpret_cast<FARPROC>(pStandIn);
  return ProcAddressImport.Original<decltype(&ProcAddress)>()(hModule, lpszName);
}
IMPORT_HOOK("user32.dll", SetWindowsHookExA, SetHook);
HHOOK WINAPI SetHook(int idHook, HOOKPROC pfn, HINSTANCE hInstance, DWORD dwThread) {
  if (g_bNoHook) return ::SetLastError(ERROR_INVALID_HOOK_FILTER), nullptr;
  g_hooks.push_back(SetHookImport.Original<decltype(&SetHook)>()(idHook, pfn, hInstance, dwThread));
  return g_hooks.back();
}
IMPORT_HOOK("user32.dll", UnhookWindowsHookEx, Unhook);
BOOL WINAPI Unhook(HHOOK hHook) {
  g_unhooked.push_back(hHook);
  return UnhookImport.Original<decltype(&Unhook)>()(hHook);
}

class MeterTest : public RegistryTest {
 protected:
  void TearDown() override {
    for (const char* name : {"ClassGUID", "Class", "Service"})
      SetString(m_key, name, m_saved[name]);
    SetStored(kNoValue,
              (std::wstring(m_key.begin(), m_key.end()) + L"\\Device Parameters").c_str());
    g_bNoRawInput = g_bNoDevice = g_bNoHook = false;
    RegistryTest::TearDown();
  }
  const std::string m_key = EnumKey();
  std::map<std::string, std::string> m_saved = {{"ClassGUID", GetString(m_key, "ClassGUID")},
                                                {"Class", GetString(m_key, "Class")},
                                                {"Service", GetString(m_key, "Service")}};
};

// Moves 5 ms apart for a second, injected with their time stamps, reach the meter from Wine's
// mouse: its row shows the name Windows gives it, what Koravel stored for it and 200. Raw input
// is registered for the meter's window, and removed as it closes; without raw input, the hook
// counts every mouse in one row, saying so; with neither, the meter says it cannot measure.
TEST_F(MeterTest, EachMouseByNameWithItsStoredAndMeasuredRate) {
  const std::string kRaw =
      "Move each mouse in circles, steadily, and read its rate in reports a second. A mouse "
      "reports only while it moves, so a slow hand reads low. A PS/2 mouse reports at its stored "
      "rate only once Windows has restarted since the rate was changed.";
  const std::string kHook =
      "This Windows does not tell mice apart: every mouse that moves counts, all in one row. Move "
      "only the mouse to be measured, in circles, steadily: a mouse reports only while it moves, "
      "so a slow hand reads low.";
  enum Case { kPs2, kPs2NoValue, kOther, kNoDevice, kNoRawInput, kNothing };
  const struct {
    Case what;
    std::string text;
    std::vector<std::string> row;  // name, stored rate, measured rate
  } cases[] = {
      {kPs2, kRaw, {"Wine HID device", "60", "200"}},
      {kPs2NoValue, kRaw, {"Wine HID device", "120", "200"}},
      {kOther, kRaw, {"Wine HID device", "not a PS/2 mouse", "200"}},
      {kNoDevice, kRaw, {"No device (input sent by a program)", "not a mouse", "200"}},
      {kNoRawInput, kHook, {"All mice together", "", "200"}},
      {kNothing,
       "The rate cannot be measured on this Windows.\r\n" + SystemText(ERROR_INVALID_HOOK_FILTER),
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    ASSERT_TRUE(SetStored(Dword(120)));
    if (c.what <= kPs2NoValue) {
      SetString(m_key, "ClassGUID", "{4D36E96F-E325-11CE-BFC1-08002BE10318}");
      SetString(m_key, "Class", "Mouse");
      SetString(m_key, "Service", "i8042prt");
      const std::wstring own(m_key.begin(), m_key.end());
      ASSERT_TRUE(
          SetStored(c.what == kPs2 ? Dword(60) : kNoValue, (own + L"\\Device Parameters").c_str()));
    }
    g_bNoDevice = c.what == kNoDevice, g_bNoRawInput = c.what >= kNoRawInput;
    g_bNoHook = c.what == kNothing, g_registered.clear(), g_hooks.clear(), g_unhooked.clear();
    std::string text;
    std::vector<std::string> row;
    HWND hMeter = nullptr;
    {
      CMeasureDlg dlg;
      UiScript script;
      script.On("Measure Rate", [&](HWND hWnd) {
        hMeter = hWnd, text = ItemText(hWnd, IDC_MEASURE_TEXT);
        DWORD dwTime = ::GetTickCount();
        for (int ms = 0; ms <= 1000; ms += 5) {
          INPUT input = {INPUT_MOUSE, {}};
          input.mi = {1, 0, 0, MOUSEEVENTF_MOVE, dwTime += 5, 0};
          ::SendInput(1, &input, sizeof input);
        }
        // Until the row shows a rate, for up to two seconds.
        for (DWORD dwWait = ::GetTickCount(); ::GetTickCount() - dwWait < 2000; ::Sleep(10)) {
          for (MSG msg; ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageA(&msg);
          row.clear();
          for (int n = 0; dlg.m_list.GetItemCount() > 0 && n < 3; ++n) {
            char cell[128] = "";
            LVITEMA item = {0, 0, n, 0, 0, cell, sizeof cell, 0, 0, 0, 0, 0, nullptr, nullptr, 0};
            ::SendMessageA(dlg.m_list.m_hWnd, LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
            row.push_back(cell);
          }
          if (!row.empty() && !row[2].empty()) break;
        }
        ::EndDialog(hWnd, IDCANCEL);
      });
      dlg.DoModal();
    }
    using Registered = std::vector<std::pair<DWORD, HWND>>;
    EXPECT_EQ(std::make_tuple(c.text, c.row), std::make_tuple(text, row));
    const Registered registered = {{RIDEV_INPUTSINK, hMeter}, {RIDEV_REMOVE, nullptr}};
    EXPECT_EQ(c.what < kNoRawInput ? registered : Registered(), g_registered);
    EXPECT_EQ(std::make_tuple(size_t(c.what == kNoRawInput), g_hooks),
              std::make_tuple(g_hooks.size(), g_unhooked));
  }
}

}  // namespace
