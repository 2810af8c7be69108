// The meter, opened from the settings dialog's system menu, fed through its own hook with moves
// that SendInput injects with chosen time stamps (which Wine keeps, as Windows does); the hook
// removed however the meter ends, and a system without the hook.
#include <gtest/gtest.h>

#include <string>

#include "meter/measure_dlg.h"
#include "settings/koravel_dlg.h"
#include "tests/support/import_hook.h"
#include "tests/support/registry_value.h"
#include "tests/support/ui_script.h"

namespace {

int g_nMoves = 0;
void Move(DWORD dwTime) {
  ++g_nMoves;
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi = {1, 0, 0, MOUSEEVENTF_MOVE, dwTime, 0};
  ::SendInput(1, &input, sizeof input);
}

// The meter's rate text once it reads `expected`, after two of its refreshes at least; or what it
// reads after two seconds.
std::string RateOnceItReads(HWND hMeter, const std::string& expected) {
  std::string text;
  for (const DWORD dwStart = ::GetTickCount(); ::GetTickCount() - dwStart < 2000;) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    text = ItemText(hMeter, IDC_MEASURED_RATE);
    if (::GetTickCount() - dwStart > 2 * CMeasureDlg::REFRESH && text == expected) break;
    ::Sleep(10);
  }
  return text;
}

// The hooks the program sets and removes, through the runner's import table; g_bNoHook makes the
// system refuse them, as Windows 95 and NT 4.0 before Service Pack 3 refuse WH_MOUSE_LL.
std::vector<HHOOK> g_set, g_removed;
bool g_bNoHook = false;
ImportHook *g_pSetHook = nullptr, *g_pRemoveHook = nullptr;
HHOOK WINAPI SetHook(int idHook, HOOKPROC pfn, HINSTANCE hInstance, DWORD dwThread) {
  if (g_bNoHook) return ::SetLastError(ERROR_INVALID_HOOK_FILTER), nullptr;
  g_set.push_back(
      g_pSetHook->Original<decltype(&::SetWindowsHookExA)>()(idHook, pfn, hInstance, dwThread));
  return g_set.back();
}
BOOL WINAPI RemoveHook(HHOOK hHook) {
  g_removed.push_back(hHook);
  return g_pRemoveHook->Original<decltype(&::UnhookWindowsHookEx)>()(hHook);
}

int g_nPassedOn = 0;
LRESULT CALLBACK CountPassedOn(int nCode, WPARAM wParam, LPARAM lParam) {
  g_nPassedOn += nCode == HC_ACTION && wParam == WM_MOUSEMOVE;
  return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

using MeterTest = RegistryTest;

// Each row follows a pause: moves evenly spaced read their rate; a slow start followed by a
// second of faster moves reads the faster, since only the last second of movement counts. Before
// enough movement, there is no number. Ended in any way, here by EndDialog, the meter removes its
// hook; and where the system has none, it says so and measures nothing.
TEST_F(MeterTest, InjectedMovesReadTheirRateAndEachPauseStartsAgain) {
  ImportHook setHook("user32.dll", "SetWindowsHookExA", &SetHook);
  ImportHook removeHook("user32.dll", "UnhookWindowsHookEx", &RemoveHook);
  ASSERT_TRUE(setHook.Installed() && removeHook.Installed() && SetStored(Dword(100)));
  std::tie(g_pSetHook, g_pRemoveHook) = std::make_tuple(&setHook, &removeHook);
  const std::vector<std::pair<std::vector<std::pair<int, int>>, std::string>> rows = {
      {{{5, 1}, {5, 200}}, ""},  // (spacing, duration) in ms, in turn
      {{{5, 300}}, "200 reports a second"},
      {{{10, 300}}, "100 reports a second"},
      {{{25, 300}}, "40 reports a second"},
      {{{50, 300}}, "20 reports a second"},
      {{{50, 1000}, {5, 1200}}, "200 reports a second"},
  };
  for (bool bNoHook : {false, true}) {
    SCOPED_TRACE(bNoHook);
    g_set.clear(), g_removed.clear(), g_bNoHook = bNoHook;
    CKoravelDlg dlg;
    std::vector<std::string> shown, expected;
    std::string prompt;
    UiScript script;
    script
        .On("Koravel Settings",
            [](HWND hDlg) { ::SendMessageA(hDlg, WM_SYSCOMMAND, IDM_MEASURE, 0); })
        .On("Measure Rate",
            [&](HWND hMeter) {
              prompt = ItemText(hMeter, IDC_MEASURE_TEXT);
              DWORD dwTime = ::GetTickCount();
              for (const auto& [moves, rate] : bNoHook ? decltype(rows)() : rows) {
                dwTime += 400;  // a pause, shorter than a second
                for (const auto& [nSpacing, nDuration] : moves) {
                  for (int ms = 0; ms < nDuration; ms += nSpacing) Move(dwTime += nSpacing);
                }
                shown.push_back(RateOnceItReads(hMeter, rate));
                expected.push_back(rate);
              }
              ::EndDialog(hMeter, IDABORT);
            })
        .On("Koravel Settings", [](HWND hDlg) { ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0); });
    // A hook set before the meter's sees every move after it: the meter passes each on.
    g_nMoves = g_nPassedOn = 0;
    HHOOK hBefore = setHook.Original<decltype(&::SetWindowsHookExA)>()(
        WH_MOUSE_LL, &CountPassedOn, ::GetModuleHandleA(nullptr), 0);
    dlg.DoModal();
    removeHook.Original<decltype(&::UnhookWindowsHookEx)>()(hBefore);
    EXPECT_LE(g_nMoves, g_nPassedOn);
    EXPECT_EQ(expected, shown);
    EXPECT_EQ(g_set, g_removed);
    EXPECT_EQ(bNoHook ? "The rate cannot be measured on this Windows.\r\n" +
                            SystemText(ERROR_INVALID_HOOK_FILTER)
                      : "Move the mouse to be measured in circles, and only that one: every "
                        "mouse that moves counts.",
              prompt);
  }
}

}  // namespace
