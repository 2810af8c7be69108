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
  const int rates[] = {10, 20, 125, 200, 1000, 4000, 8000, 100};
  CRateMeter meter;
  const DWORD dwStart = 0xFFFFFFFF - 500;
  std::vector<int> shown, expected;
  for (DWORD ms = 0; ms <= 2300; ++ms) {
    for (DWORD n = 0; n < 8; ++n) {
      const DWORD nRate = n < 7 || ms < 1000 ? rates[n] : ms < 1300 ? 0 : 40;
      for (DWORD k = (ms * nRate + 999) / 1000; k < ((ms + 1) * nRate + 999) / 1000; ++k)
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

// Wine's mouse, a device of the prefix, named by raw input
// "\\?\HID#VID_845E&PID_0001#0&0000&0&0#{...}". Its class and service are changed in a case and put
// back after it; Replace gives the value it replaced.
const char kMouse[] = "SYSTEM\\CurrentControlSet\\Enum\\HID\\VID_845E&PID_0001\\0&0000&0&0";
std::string Replace(const char* name, const std::string& value) {
  char old[256] = "";
  DWORD cbOld = sizeof old;
  ::RegGetValueA(HKEY_LOCAL_MACHINE, kMouse, name, RRF_RT_REG_SZ, nullptr, old, &cbOld);
  ::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kMouse, name);
  if (!value.empty())
    ::RegSetKeyValueA(HKEY_LOCAL_MACHINE, kMouse, name, REG_SZ, value.c_str(),
                      DWORD(value.size() + 1));
  return old;
}

// Through GetProcAddress, the raw input functions missing, or registrations recorded; through the
// import table, the hook set (kept, to see that it is gone after the meter), or refused as
// Windows 95 refuses WH_MOUSE_LL.
bool g_bNoRawInput = false, g_bNoHook = false;
HHOOK g_hHook = nullptr;
std::vector<std::pair<DWORD, HWND>> g_registered;
BOOL WINAPI Register(const RAWINPUTDEVICE* pDevices, UINT nDevices, UINT cbSize) {
  g_registered.emplace_back(pDevices->dwFlags, pDevices->hwndTarget);
  return ::RegisterRawInputDevices(pDevices, nDevices, cbSize);
}
IMPORT_HOOK("kernel32.dll", GetProcAddress, ProcAddress);
FARPROC WINAPI ProcAddress(HMODULE hModule, LPCSTR lpszName) {
  if (HIWORD(lpszName) != 0 && std::string(lpszName) == "RegisterRawInputDevices")
    return g_bNoRawInput ? nullptr : reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&Register));
  if (g_bNoRawInput && HIWORD(lpszName) != 0 && std::string(lpszName) == "GetRawInputData")
    return nullptr;
  return ProcAddressImport.Original<decltype(&ProcAddress)>()(hModule, lpszName);
}
IMPORT_HOOK("user32.dll", SetWindowsHookExA, SetHook);
HHOOK WINAPI SetHook(int idHook, HOOKPROC pfn, HINSTANCE hInstance, DWORD dwThread) {
  if (g_bNoHook) return ::SetLastError(ERROR_INVALID_HOOK_FILTER), nullptr;
  return g_hHook = SetHookImport.Original<decltype(&SetHook)>()(idHook, pfn, hInstance, dwThread);
}

const char* const kNames[] = {"ClassGUID", "Class", "Service"};

class MeterTest : public RegistryTest {
 protected:
  // Makes Wine's mouse a PS/2 mouse of the prefix; TearDown puts back what it was.
  void MakePs2() {
    const char* const kPs2[] = {"{4D36E96F-E325-11CE-BFC1-08002BE10318}", "Mouse", "i8042prt"};
    for (int n = 0; n < 3; ++n) m_saved[n] = Replace(kNames[n], kPs2[n]);
  }
  void TearDown() override {
    for (int n = 0; n < 3 && !m_saved[0].empty(); ++n) Replace(kNames[n], m_saved[n]);
    m_saved[0].clear();
    SetStored(kNoValue, m_own.c_str());
    g_bNoRawInput = g_bNoHook = false;
    RegistryTest::TearDown();
  }
  const std::wstring m_own = std::wstring(kMouse, kMouse + strlen(kMouse)) + L"\\Device Parameters";
  std::string m_saved[3];
};

// Moves 5 ms apart for a second, injected with their time stamps, reach the meter from Wine's
// mouse: its row shows the name Windows gives it, what Koravel stored for it and 200. Raw input
// is registered for the meter's window, and removed as it closes; without raw input, the hook
// counts every mouse in one row, saying so; with neither, the meter says it cannot measure. (The
// texts are told apart by their beginnings.)
TEST_F(MeterTest, EachMouseByNameWithItsStoredAndMeasuredRate) {
  const std::string kRaw = "Move each mouse in circles", kHook = "This Windows does not tell",
                    kNone = "The rate cannot be measured on this Windows.\r\n";
  enum Case { kPs2, kPs2NoValue, kOther, kNoRawInput, kNothing };
  const struct {
    Case what;
    std::string text;
    std::vector<std::string> row;  // name, stored rate, measured rate
  } cases[] = {
      {kPs2, kRaw, {"Wine HID device", "60", "200"}},
      {kPs2NoValue, kRaw, {"Wine HID device", "120", "200"}},
      {kOther, kRaw, {"Wine HID device", "not a PS/2 mouse", "200"}},
      {kNoRawInput, kHook, {"All mice together", "", "200"}},
      {kNothing, kNone + SystemText(ERROR_INVALID_HOOK_FILTER), {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    ASSERT_TRUE(SetStored(Dword(120)));
    if (c.what <= kPs2NoValue) MakePs2();
    ASSERT_TRUE(c.what != kPs2 || SetStored(Dword(60), m_own.c_str()));
    g_bNoRawInput = c.what >= kNoRawInput, g_bNoHook = c.what == kNothing, g_hHook = nullptr;
    g_registered.clear();
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
            ListView_GetItemText(dlg.m_list.m_hWnd, 0, n, cell, sizeof cell);
            row.push_back(cell);
          }
          if (!row.empty() && !row[2].empty()) break;
        }
        ::EndDialog(hWnd, IDCANCEL);
      });
      dlg.DoModal();
    }
    EXPECT_FALSE(g_hHook != nullptr && ::UnhookWindowsHookEx(g_hHook)) << "the hook is still set";
    const decltype(g_registered) raw = {{RIDEV_INPUTSINK, hMeter}, {RIDEV_REMOVE, nullptr}};
    EXPECT_EQ(std::make_tuple(c.text, c.row, c.what < kNoRawInput ? raw : decltype(raw)()),
              std::make_tuple(text.substr(0, c.text.size()), row, g_registered));
  }
}

}  // namespace
