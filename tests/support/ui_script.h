// UiScript: plays the user's part in a modal dialog from inside its own message loop, run by a
// thread timer that the loop dispatches. Steps run in order, each once the visible, enabled
// top-level window of this thread with its caption is there. Ten seconds without a step while a
// dialog runs fail the test and end the thread's dialogs: a broken dialog fails, never hangs.
//
// MessageBoxes: while it lives, the program's message boxes go through the runner's import table
// to a stand-in that records each and answers at once: with the answers given, in turn, then IDOK.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/import_hook.h"

class UiScript {
 public:
  UiScript();
  ~UiScript();
  UiScript& On(const char* caption, std::function<void(HWND)> action);

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  std::vector<std::pair<std::string, std::function<void(HWND)>>> m_steps;
  size_t m_nNext = 0;
  DWORD m_dwLastStep;
  UINT_PTR m_nTimer;
};

struct MessageBoxCall {
  HWND hOwner;
  std::string text, caption;  // caption "(null)" for none
  UINT uType;
  bool bActiveWindowEnabled;  // whether the active window took input while the box was up
};

class MessageBoxes {
 public:
  explicit MessageBoxes(std::vector<int> answers = {});
  ~MessageBoxes();
  std::vector<MessageBoxCall> calls;
  std::vector<int> answers;

 private:
  ImportHook m_hook;
};

// The text of control nID of dialog hDlg, and the system's text for an error code.
std::string ItemText(HWND hDlg, int nID);
std::string SystemText(DWORD dwCode);
