// UiScript: drives a modal dialog from inside its own message loop, the way a user would, by
// running a list of steps from a thread timer. Every modal loop of the thread (the dialog's, and
// those of message boxes shown on top of it) dispatches the timer, so a step can answer a message
// box that some handler is blocked in.
//
// A step is a condition, polled until it holds, and then an action. The script advances before
// an action runs, so an action that blocks in a nested loop lets the later steps go on. A step
// that is still waiting after the time limit fails the test and ends every dialog of the thread,
// and so does a dialog still open that long after the last step: a broken dialog fails the test
// instead of hanging it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// What a message box showed.
struct MessageBoxInfo {
  HWND hWnd = nullptr;
  HWND hOwner = nullptr;
  std::string caption;
  std::string text;
  HICON hIcon = nullptr;
  std::vector<int> buttons;  // command IDs of the box's buttons, in window order
};

class UiScript {
 public:
  UiScript();
  ~UiScript();
  UiScript(const UiScript&) = delete;
  UiScript& operator=(const UiScript&) = delete;

  // Runs action once the previous steps are done.
  UiScript& Then(std::function<void()> action);
  // Waits until condition holds.
  UiScript& WaitUntil(std::function<bool()> condition, const char* what);
  // Waits for a visible top-level window of this thread with this caption.
  UiScript& WaitForWindow(const char* caption, HWND* phWnd = nullptr);
  // Waits until no visible top-level window of this thread has this caption.
  UiScript& WaitForNoWindow(const char* caption);
  // Waits for a message box with this caption, records it in *pInfo, and presses button nID.
  UiScript& AnswerMessageBox(const char* caption, int nID, MessageBoxInfo* pInfo = nullptr);

  // Standing rule, checked on every tick before the steps: presses button nID in every message
  // box with this caption, and records each box in *pBoxes.
  UiScript& AnswerEvery(const char* caption, int nID, std::vector<MessageBoxInfo>* pBoxes);

  // TRUE once every step has run.
  bool Done() const { return m_nNext == m_steps.size(); }

  // A visible top-level window of this thread with this caption, or null.
  static HWND FindThreadWindow(const char* caption);
  static MessageBoxInfo ReadMessageBox(HWND hWnd);

 private:
  struct Step {
    std::function<bool()> condition;
    std::function<void()> action;
    std::string what;
  };
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  struct Rule {
    std::string caption;
    int nID;
    std::vector<MessageBoxInfo>* pBoxes;
    std::vector<HWND> answered;  // boxes answered that may not have closed yet
  };
  void Tick();
  void ApplyRules();
  void Abandon(const std::string& why);

  std::vector<Step> m_steps;
  std::vector<Rule> m_rules;
  size_t m_nNext = 0;
  DWORD m_dwStepStart = 0;
  UINT_PTR m_nTimer = 0;
  bool m_bAbandoned = false;
};
