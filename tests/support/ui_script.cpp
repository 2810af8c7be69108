#include "ui_script.h"

#include "window_search.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const DWORD kStepLimitMs = 15000;
UiScript* g_pScript = nullptr;  // timers carry no context; one script runs at a time

BOOL CALLBACK EndDialogWindow(HWND hWnd, LPARAM) {
  if (WindowClass(hWnd) == "#32770") ::EndDialog(hWnd, IDABORT);
  return TRUE;
}

}  // namespace

UiScript::UiScript() {
  g_pScript = this;
  m_dwStepStart = ::GetTickCount();
  m_nTimer = ::SetTimer(nullptr, 0, 20, &UiScript::OnTimer);
}

UiScript::~UiScript() {
  ::KillTimer(nullptr, m_nTimer);
  if (g_pScript == this) g_pScript = nullptr;
  EXPECT_TRUE(Done()) << "the script stopped at step " << m_nNext + 1 << " of " << m_steps.size()
                      << (m_nNext < m_steps.size() ? ": " + m_steps[m_nNext].what : "");
}

UiScript& UiScript::Then(std::function<void()> action) {
  m_steps.push_back({[] { return true; }, std::move(action), "an action"});
  return *this;
}

UiScript& UiScript::WaitUntil(std::function<bool()> condition, const char* what) {
  m_steps.push_back({std::move(condition), [] {}, what});
  return *this;
}

UiScript& UiScript::WaitForWindow(const char* caption, HWND* phWnd) {
  std::string title = caption;
  m_steps.push_back({[title] { return FindThreadWindow(title.c_str()) != nullptr; },
                     [title, phWnd] {
                       if (phWnd != nullptr) *phWnd = FindThreadWindow(title.c_str());
                     },
                     "the window \"" + title + "\""});
  return *this;
}

UiScript& UiScript::WaitForNoWindow(const char* caption) {
  std::string title = caption;
  m_steps.push_back({[title] { return FindThreadWindow(title.c_str()) == nullptr; }, [] {},
                     "the window \"" + title + "\" to go"});
  return *this;
}

UiScript& UiScript::AnswerMessageBox(const char* caption, int nID, MessageBoxInfo* pInfo) {
  std::string title = caption;
  m_steps.push_back({[title] { return FindThreadWindow(title.c_str()) != nullptr; },
                     [title, nID, pInfo] {
                       HWND hBox = FindThreadWindow(title.c_str());
                       if (pInfo != nullptr) *pInfo = ReadMessageBox(hBox);
                       ::PostMessageA(hBox, WM_COMMAND, nID, 0);
                     },
                     "the message box \"" + title + "\""});
  return *this;
}

UiScript& UiScript::AnswerEvery(const char* caption, int nID, std::vector<MessageBoxInfo>* pBoxes) {
  m_rules.push_back({caption, nID, pBoxes, {}});
  return *this;
}

void UiScript::ApplyRules() {
  for (Rule& rule : m_rules) {
    rule.answered.erase(std::remove_if(rule.answered.begin(), rule.answered.end(),
                                       [](HWND hWnd) { return !::IsWindow(hWnd); }),
                        rule.answered.end());
    HWND hBox = FindThreadWindow(rule.caption.c_str());
    if (hBox == nullptr ||
        std::find(rule.answered.begin(), rule.answered.end(), hBox) != rule.answered.end()) {
      continue;
    }
    rule.answered.push_back(hBox);
    if (rule.pBoxes != nullptr) rule.pBoxes->push_back(ReadMessageBox(hBox));
    ::PostMessageA(hBox, WM_COMMAND, rule.nID, 0);
  }
}

void CALLBACK UiScript::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (g_pScript != nullptr) g_pScript->Tick();
}

void UiScript::Tick() {
  if (m_bAbandoned) return;
  ApplyRules();
  if (Done() && ::GetTickCount() - m_dwStepStart > kStepLimitMs) {
    Abandon("the dialogs to end after the last step");
    return;
  }
  while (!m_bAbandoned && m_nNext < m_steps.size()) {
    Step& step = m_steps[m_nNext];
    if (!step.condition()) {
      if (::GetTickCount() - m_dwStepStart > kStepLimitMs) Abandon(step.what);
      return;
    }
    // Advance first: the action may block in a nested loop that ticks again.
    ++m_nNext;
    m_dwStepStart = ::GetTickCount();
    std::function<void()> action = step.action;
    action();
  }
}

void UiScript::Abandon(const std::string& why) {
  m_bAbandoned = true;
  ADD_FAILURE() << "timed out waiting for " << why;
  ::EnumThreadWindows(::GetCurrentThreadId(), &EndDialogWindow, 0);
}

HWND UiScript::FindThreadWindow(const char* caption) {
  return FindVisibleWindow(caption, ::GetCurrentThreadId());
}

MessageBoxInfo UiScript::ReadMessageBox(HWND hWnd) {
  MessageBoxInfo info;
  info.hWnd = hWnd;
  info.hOwner = ::GetWindow(hWnd, GW_OWNER);
  info.caption = WindowCaption(hWnd);
  for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild != nullptr;
       hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
    const std::string name = WindowClass(hChild);
    const LONG style = ::GetWindowLongA(hChild, GWL_STYLE);
    if (name == "Button") {
      if (style & WS_VISIBLE) info.buttons.push_back(::GetDlgCtrlID(hChild));
    } else if (name == "Static") {
      if ((style & SS_TYPEMASK) == SS_ICON) {
        info.hIcon = reinterpret_cast<HICON>(::SendMessageA(hChild, STM_GETICON, 0, 0));
      } else if (!WindowCaption(hChild).empty()) {
        info.text = WindowCaption(hChild);
      }
    }
  }
  return info;
}
