#include "window_search.h"

namespace {

struct Search {
  const char* caption;
  HWND hFound;
};

BOOL CALLBACK MatchCaption(HWND hWnd, LPARAM lParam) {
  Search* pSearch = reinterpret_cast<Search*>(lParam);
  if (!::IsWindowVisible(hWnd) || WindowCaption(hWnd) != pSearch->caption) return TRUE;
  pSearch->hFound = hWnd;
  return FALSE;
}

}  // namespace

std::string WindowCaption(HWND hWnd) {
  char text[4096] = "";
  ::GetWindowTextA(hWnd, text, sizeof text);
  return text;
}

std::string WindowClass(HWND hWnd) {
  char name[256] = "";
  ::GetClassNameA(hWnd, name, sizeof name);
  return name;
}

HWND FindVisibleWindow(const char* caption, DWORD dwThreadId) {
  Search search = {caption, nullptr};
  if (dwThreadId != 0) {
    ::EnumThreadWindows(dwThreadId, &MatchCaption, reinterpret_cast<LPARAM>(&search));
  } else {
    ::EnumWindows(&MatchCaption, reinterpret_cast<LPARAM>(&search));
  }
  return search.hFound;
}
