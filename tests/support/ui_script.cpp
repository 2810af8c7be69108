#include "ui_script.h"

#include <gtest/gtest.h>

#include <process.h>

#include <algorithm>

#include "support/import_hook.h"

namespace {

UiScript* g_pScript = nullptr;  // neither a timer nor a hooked call carries context
MessageBoxes* g_pBoxes = nullptr;

BOOL CALLBACK EndDialogWindow(HWND hWnd, LPARAM) { return ::EndDialog(hWnd, IDABORT) || TRUE; }

HWND Find(const std::string& caption) {
  HWND hWnd = ::FindWindowA(nullptr, caption.c_str());
  const bool bOurs = ::GetWindowThreadProcessId(hWnd, nullptr) == ::GetCurrentThreadId();
  return bOurs && ::IsWindowVisible(hWnd) && ::IsWindowEnabled(hWnd) ? hWnd : nullptr;
}

IMPORT_HOOK("user32.dll", MessageBoxA, RecordMessageBox);
int WINAPI RecordMessageBox(HWND hOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT uType) {
  if (g_pBoxes == nullptr)
    return RecordMessageBoxImport.Original<decltype(&RecordMessageBox)>()(hOwner, lpszText,
                                                                          lpszCaption, uType);
  g_pBoxes->calls.emplace_back(hOwner, lpszText, lpszCaption ? lpszCaption : "(null)", uType,
                               ::IsWindowEnabled(::GetActiveWindow()) != FALSE);
  return g_pBoxes->nAnswer;
}

}  // namespace

UiScript::UiScript() : m_dwLastStep(::GetTickCount()) {
  g_pScript = this;
  m_nTimer = ::SetTimer(nullptr, 0, 20, &UiScript::OnTimer);
}

UiScript::~UiScript() {
  ::KillTimer(nullptr, m_nTimer);
  g_pScript = nullptr;
  EXPECT_EQ(m_bEndsEarly, m_nNext < m_steps.size())
      << m_nNext << " of " << m_steps.size() << " steps ran"
      << (m_bEndsEarly ? ", but the dialog was to end early" : "");
}

UiScript& UiScript::On(const char* caption, std::function<void(HWND)> action) {
  m_steps.emplace_back(caption, std::move(action));
  return *this;
}

void CALLBACK UiScript::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  UiScript& s = *g_pScript;
  // One step a tick: what a step posts (a close turned into a cancel, say) is handled before the
  // next tick, as it would be before the user's next action.
  HWND hWnd = s.m_nNext < s.m_steps.size() ? Find(s.m_steps[s.m_nNext].first) : nullptr;
  if (hWnd != nullptr) {
    s.m_dwLastStep = ::GetTickCount();
    s.m_steps[s.m_nNext++].second(hWnd);  // advanced first: it may block in a loop that ticks
  }
  if (::GetTickCount() - s.m_dwLastStep < 10000) return;
  s.m_dwLastStep = ::GetTickCount();
  ADD_FAILURE() << "nothing happened for ten seconds, waiting for "
                << (s.m_nNext < s.m_steps.size() ? s.m_steps[s.m_nNext].first : "the end");
  ::EnumThreadWindows(::GetCurrentThreadId(), &EndDialogWindow, 0);
}

MessageBoxes::MessageBoxes(int nAnswer) : nAnswer(nAnswer) {
  EXPECT_TRUE(RecordMessageBoxImport.Installed());
  g_pBoxes = this;
}

MessageBoxes::~MessageBoxes() { g_pBoxes = nullptr; }

int RunAgain(const char* filter, const std::string& setting) {
  char szRunner[MAX_PATH];
  ::GetModuleFileNameA(nullptr, szRunner, MAX_PATH);
  _putenv(setting.c_str());
  const intptr_t nExit = _spawnl(_P_WAIT, szRunner, szRunner,
                                 ("--gtest_filter=" + std::string(filter)).c_str(), nullptr);
  _putenv((setting.substr(0, setting.find('=')) + "=").c_str());
  return int(nExit);
}

int OffCentre(HWND hWnd, HWND hOver) {
  RECT r, o;
  ::GetWindowRect(hWnd, &r);
  hOver ? ::GetWindowRect(hOver, &o) : ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &o, 0);
  return std::max(abs(r.left + r.right - o.left - o.right),
                  abs(r.top + r.bottom - o.top - o.bottom));
}

std::string WindowText(HWND hWnd) {
  char text[1024] = "";
  ::GetWindowTextA(hWnd, text, sizeof text);
  return text;
}

std::string ItemText(HWND hDlg, int nID) { return WindowText(::GetDlgItem(hDlg, nID)); }

std::string SystemText(DWORD dwCode) {
  char text[2048] = "";
  ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, dwCode, 0,
                   text, sizeof text, nullptr);
  return text;
}
