// The meter: its measuring part fed directly, and the dialog fed through real raw input (or its
// hook), with Wine's mouse made a PS/2 mouse of the prefix or left a mouse of another class.
#include <gtest/gtest.h>

#include "meter/measure_dlg.h"
#include "meter/rate_meter.h"
#include "rates/sample_rate.h"
#include "support/devices.h"
#include "support/faults.h"
#include "support/import_hook.h"
#include "support/registry_value.h"
#include "support/ui_script.h"

namespace {

// Mice interleaved (the first with a null handle), each at its rate from 10 to 8,000 reports a
// second, stamped in whole milliseconds from just before the wrap of the tick count: no figure
// before 800 ms of movement, then each mouse's own. From 1000 ms one mouse pauses for 300 ms and
// goes on at 40, and another's clock is set back 10 s: each starts a new measurement. A third goes
// from 20 to 80 without a pause: the figure is its last second's (68 at 1800 ms, then 80).
TEST(RateMeter, EachMouseReadsItsRateFrom10To8000AndAPauseOrAClockSetBackStartsAgain) {
  const int rates[] = {10, 20, 125, 200, 1000, 4000, 8000, 100, 100};
  CRateMeter meter;
  const DWORD dwStart = 0xFFFFFFFF - 500;
  std::vector<int> shown, expected;
  for (DWORD ms = 0; ms <= 2300; ++ms) {
    for (DWORD n = 0; n < 9; ++n) {
      const DWORD nRate = n == 1 && ms >= 1000  ? 80
                          : n != 7 || ms < 1000 ? rates[n]
                          : ms < 1300           ? 0
                                                : 40;
      const DWORD dwTime = dwStart + ms - (n == 8 && ms >= 1000 ? 10000 : 0);
      for (DWORD k = (ms * nRate + 999) / 1000; k < ((ms + 1) * nRate + 999) / 1000; ++k)
        meter.Add(reinterpret_cast<HANDLE>(n), dwTime);
    }
    if (ms != 799 && ms != 999 && ms != 1800 && ms != 2300) continue;
    ASSERT_EQ(9, meter.GetDeviceCount());
    for (int n = 0; n < 9; ++n) {
      shown.push_back(meter.GetRate(n));
      expected.push_back(ms == 799             ? -1
                         : n == 1 && ms > 999  ? (ms == 1800 ? 68 : 80)
                         : n != 7 || ms == 999 ? rates[n]
                         : ms == 1800          ? -1
                                               : 40);
    }
  }
  EXPECT_EQ(expected, shown);
}

// Real input's stamps: the system's tick (15.625 ms, so 15 or 16 ms of the tick count), handed
// over in bursts of 50 ms. Every figure shown five times a second, from the first, lies within 2%
// and half a report a second; and every mouse has one after three seconds.
TEST(RateMeter, TickStampsInBurstsReadWithinTheBoundFromTheFirstFigure) {
  const int rates[] = {10, 20, 40, 60, 80, 100, 200, 125, 500, 1000, 8000};
  CRateMeter meter;
  std::vector<std::pair<int, int>> outside;  // rate, figure
  long long next[11] = {};                   // each mouse's next report
  for (long long usBurst = 50000; usBurst <= 3000000; usBurst += 50000) {
    for (int n = 0; n < 11; ++n) {
      for (long long us; (us = next[n] * 1000000 / rates[n]) < usBurst; ++next[n])
        meter.Add(reinterpret_cast<HANDLE>(n), DWORD(us / 15625 * 15625 / 1000));
    }
    for (int n = 0; usBurst % 200000 == 0 && n < meter.GetDeviceCount(); ++n) {
      const int nRate = meter.GetRate(n);
      if ((nRate >= 0 || usBurst == 3000000) && abs(nRate - rates[n]) * 100 > 2 * rates[n] + 50)
        outside.emplace_back(rates[n], nRate);
    }
  }
  EXPECT_EQ(11, meter.GetDeviceCount());
  EXPECT_EQ(decltype(outside)(), outside);
}

// Mice installed in the prefix, raw input's name for a device, and the Bluetooth mouse's instance
// ID, which holds braces of its own.
const char kGone[] = "HID\\VID_DEAD&PID_0001\\1&2",
           kBluetooth[] =
               "HID\\{00001124-0000-1000-8000-00805f9b34fb}_VID&0002046d_PID&b016\\8&2A5E1B5&0&0";
std::string RawName(std::string id) {
  for (char& c : id) c = c == '\\' ? '#' : c;
  return "\\\\?\\" + id + "#{378de44c-56ef-11d1-bc8c-00a0c91405dd}";
}

// clang-format off
enum Case { kPs2NoValue, kPs2Value, kLocked, kDriverLocked, kNoDevice, kAbsolute, kBraced,
            kDeviceGone, kNoSetupApi, kNoRawInput, kNothing };
// clang-format on

// Through GetProcAddress: the raw input functions missing, registrations recorded, the raw input
// that Wine cannot give (every other report from no device; a device that reports positions) and
// another device's name for Wine's mouse; SetupAPI missing. Through the import table, the hook
// set (kept, to see that it is gone after the meter), or refused as Windows 95 refuses WH_MOUSE_LL.
Case g_case = kPs2NoValue;
std::string g_name;
int g_nReports = 0;
HHOOK g_hHook = nullptr;
std::vector<std::pair<DWORD, HWND>> g_registered;
BOOL WINAPI Register(const RAWINPUTDEVICE* pDevices, UINT nDevices, UINT cbSize) {
  g_registered.emplace_back(pDevices->dwFlags, pDevices->hwndTarget);
  return ::RegisterRawInputDevices(pDevices, nDevices, cbSize);
}
UINT WINAPI GetData(HRAWINPUT hInput, UINT uCommand, void* pData, UINT* pcbSize, UINT cbHeader) {
  const UINT cbData = ::GetRawInputData(hInput, uCommand, pData, pcbSize, cbHeader);
  auto* pInput = static_cast<RAWINPUT*>(pData);
  // Counted only where they move: the meter leaves out a report that does not (as Wine's echo of
  // the pointer put in the corner may be).
  const auto& move = pInput->data.mouse;
  const int n = move.lLastX || move.lLastY || g_case == kAbsolute ? g_nReports++ : -1;
  if (g_case == kNoDevice && n % 2 == 1) pInput->header.hDevice = nullptr;
  // Positions 0,0 0,0 1,0 1,0 ...: every other report moves.
  if (g_case == kAbsolute) pInput->data.mouse = {MOUSE_MOVE_ABSOLUTE, {}, 0, n / 2, 0, 0};
  return cbData;
}
UINT WINAPI GetInfo(HANDLE hDevice, UINT uCommand, void* pData, UINT* pcbSize) {
  if (g_name.empty()) return ::GetRawInputDeviceInfoA(hDevice, uCommand, pData, pcbSize);
  return UINT(strlen(strcpy(static_cast<char*>(pData), g_name.c_str())));
}
IMPORT_HOOK("kernel32.dll", GetProcAddress, ProcAddress);
FARPROC WINAPI ProcAddress(HMODULE hModule, LPCSTR lpszName) {
  const std::string name = HIWORD(lpszName) != 0 ? lpszName : "";
  void* const pStandIn = name == "RegisterRawInputDevices"  ? reinterpret_cast<void*>(&Register)
                         : name == "GetRawInputData"        ? reinterpret_cast<void*>(&GetData)
                         : name == "GetRawInputDeviceInfoA" ? reinterpret_cast<void*>(&GetInfo)
                                                            : nullptr;
  if ((g_case >= kNoRawInput && pStandIn != nullptr && pStandIn != &GetInfo) ||
      (g_case == kNoSetupApi && name == "SetupDiOpenDeviceInfoA"))
    return nullptr;
  if (pStandIn != nullptr) return reinterpret_cast<FARPROC>(pStandIn);
  return ProcAddressImport.Original<decltype(&ProcAddress)>()(hModule, lpszName);
}
IMPORT_HOOK("user32.dll", SetWindowsHookExA, SetHook);
HHOOK WINAPI SetHook(int idHook, HOOKPROC pfn, HINSTANCE hInstance, DWORD dwThread) {
  if (g_case == kNothing) return ::SetLastError(ERROR_INVALID_HOOK_FILTER), nullptr;
  return g_hHook = SetHookImport.Original<decltype(&SetHook)>()(idHook, pfn, hInstance, dwThread);
}

// Each case starts with no device of its own installed, and ends so.
void Clean() {
  for (const char* id : {kPs2, kBluetooth}) Uninstall(id);
  SetStored(kNoKey), Reset();
  g_case = kPs2NoValue, g_name.clear(), g_nReports = 0;
}
using MeterTest = RegistryTest;

// Moves 5 ms apart for a second, injected with their time stamps where no window is (over one,
// Wine would add an echo of each), reach the meter from Wine's mouse: a row for each device shows
// the name Windows gives it, what it reads when Windows starts (unknown where that cannot be read)
// and its measured rate. Raw input is registered for the meter's window, and removed as it
// closes; without raw input, the hook counts every mouse in one row, saying so; with neither, the
// meter says it cannot measure. (The texts are told apart by their beginnings.)
TEST_F(MeterTest, EachMouseByNameWithItsStoredAndMeasuredRate) {
  static const std::string kRaw = "Move each mouse in circles",
                           kHook = "This Windows does not tell",
                           kNone = "The rate cannot be measured on this Windows.\r\n",
                           kPs2Name = "PS/2 Compatible Mouse", kOther = "not a PS/2 mouse";
  using Rows = std::vector<std::vector<std::string>>;  // name, stored rate, measured rate
  const struct {
    Case what;
    const char* id;  // the device that raw input names: Wine's own mouse where null
    Stored own;      // the installed device's own SampleRate
    Rows rows;
    std::string text = kRaw;
  } cases[] = {
      // clang-format off
      {kNoDevice, kPs2, {REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}}, {{kPs2Name, "unknown (error 234)", "100"},
       {"Precision touchpad, or input sent by a program", kOther, "100"}}},
      {kPs2NoValue, kPs2, kNoKey, {{kPs2Name, "120", "200"}}},
      {kPs2Value, kPs2, Dword(60), {{kPs2Name, "60", "200"}}},
      {kLocked, kPs2, Dword(60), {{kPs2Name, "unknown (error 5)", "200"}}},
      {kDriverLocked, kPs2, kNoKey, {{kPs2Name, "unknown (error 5)", "200"}}},
      {kAbsolute, nullptr, kNoKey, {{"Wine HID device", kOther, "100"}}},
      {kBraced, kBluetooth, kNoKey, {{"Bluetooth mouse", kOther, "200"}}},
      {kDeviceGone, kGone, kNoKey, {{kGone, "unknown (error 0xE000020B)", "200"}}},
      {kNoSetupApi, kPs2, kNoKey, {{kPs2, "unknown (error 127)", "200"}}},
      {kNoRawInput, nullptr, kNoKey, {{"All mice together", "", "200"}}, kHook},
      {kNothing, nullptr, kNoKey, {}, kNone + SystemText(ERROR_INVALID_HOOK_FILTER)},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Clean();
    ASSERT_TRUE(SetStored(Dword(120)));
    if (c.id != nullptr && c.id != kGone)
      Install(c.id, c.id == kPs2 ? "i8042prt" : "HidBth", c.own,
              c.id == kPs2 ? kPs2Name.c_str() : "Bluetooth mouse");
    ASSERT_TRUE(c.what != kLocked || Protect(OwnKey(kPs2), "D:(A;;SD;;;WD)"));
    ASSERT_TRUE(c.what != kDriverLocked || Protect(L"" KORAVEL_PARAMETERS_KEY, "D:(A;;SD;;;WD)"));
    if (c.id != nullptr) g_name = RawName(c.id) + (c.id == kGone ? "\\KBD" : "");
    g_case = c.what, g_hHook = nullptr, g_registered.clear();
    std::string text;
    Rows rows;
    HWND hMeter = nullptr;
    {
      CMeasureDlg dlg;
      UiScript script;
      script.On("Measure Rate", [&](HWND hWnd) {
        hMeter = hWnd, text = ItemText(hWnd, IDC_MEASURE_TEXT);
        ::SetCursorPos(0, 0);
        DWORD dwTime = ::GetTickCount();
        for (int ms = 0; ms <= 1000; ms += 5) {
          INPUT input = {INPUT_MOUSE, {}};
          input.mi = {1, 0, 0, MOUSEEVENTF_MOVE, dwTime += 5, 0};
          ::SendInput(1, &input, sizeof input);
        }
        // Until every row shows a rate, for up to two seconds; with KORAVEL_PICTURE set, the first
        // case's rows stay eight seconds for scripts/screenshots.sh.
        const bool bHold = c.what == kNoDevice && ::getenv("KORAVEL_PICTURE") != nullptr;
        for (DWORD dwWait = ::GetTickCount(); ::GetTickCount() - dwWait < (bHold ? 8000 : 2000);
             ::Sleep(10)) {
          for (MSG msg; ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageA(&msg);
          rows.assign(dlg.m_list.GetItemCount(), {});
          for (size_t n = 0; n < 3 * rows.size(); ++n) {
            char cell[128] = "";
            ListView_GetItemText(dlg.m_list.m_hWnd, int(n / 3), int(n % 3), cell, sizeof cell);
            rows[n / 3].push_back(cell);
          }
          if (!bHold && !rows.empty() && !rows.back()[2].empty()) break;
        }
        ::EndDialog(hWnd, IDCANCEL);
      });
      dlg.DoModal();
    }
    EXPECT_FALSE(g_hHook != nullptr && ::UnhookWindowsHookEx(g_hHook)) << "the hook is still set";
    EXPECT_TRUE(AccessWithin(KEY_QUERY_VALUE));
    const decltype(g_registered) raw = {{RIDEV_INPUTSINK, hMeter}, {RIDEV_REMOVE, nullptr}};
    EXPECT_EQ(std::make_tuple(c.text, c.rows, c.what < kNoRawInput ? raw : decltype(raw)()),
              std::make_tuple(text.substr(0, c.text.size()), rows, g_registered));
  }
  Clean();
}

}  // namespace
