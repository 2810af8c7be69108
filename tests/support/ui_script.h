// UiScript plays the user in a modal dialog, from a thread timer its loop dispatches: each step
// runs once a visible, enabled window of the thread has its caption. Ten seconds without a step,
// steps left over, or none left over where the dialog was to end early, fail the test. While a
// MessageBoxes lives, the program's message boxes are recorded and answered at once.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

class UiScript {
 public:
  UiScript();
  ~UiScript();
  UiScript& On(const char* caption, std::function<void(HWND)> action);
  // The dialog is expected to end (bEarly) before the steps have all run, or not to.
  void EndsEarly(bool bEarly = true) { m_bEndsEarly = bEarly; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  std::vector<std::pair<std::string, std::function<void(HWND)>>> m_steps;
  size_t m_nNext = 0;
  bool m_bEndsEarly = false;
  DWORD m_dwLastStep;
  UINT_PTR m_nTimer;
};

// A box the program asked for: owner, text, caption ("(null)" for none), style, and whether the
// active window took input while the box was up.
using MessageBoxCall = std::tuple<HWND, std::string, std::string, UINT, bool>;

class MessageBoxes {
 public:
  explicit MessageBoxes(int nAnswer = IDOK);
  ~MessageBoxes();
  std::vector<MessageBoxCall> calls;
  int nAnswer;
};

// Runs the tests that filter names in a second runner, with the environment's variable as
// setting ("NAME=value") says; its exit code.
int RunAgain(const char* filter, const std::string& setting);
// How far (in pixels, twice over) a window's centre lies from another window's, or the work area's.
int OffCentre(HWND hWnd, HWND hOver = nullptr);
// The text of a window, of control nID of dialog hDlg, and the system's text for an error code.
std::string WindowText(HWND hWnd);
std::string ItemText(HWND hDlg, int nID);
std::string SystemText(DWORD dwCode);
