// koravel_probe CAPTION ID: waits up to 30 s for a visible window with this caption, then prints
// its control ID's screen rectangle and text: "x y width height text". Exit status 1: none came.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  HWND hWindow = nullptr;
  for (const DWORD dwStart = ::GetTickCount(); !::IsWindowVisible(hWindow); ::Sleep(50)) {
    if (::GetTickCount() - dwStart > 30000) return 1;
    hWindow = ::FindWindowA(nullptr, argv[1]);
  }
  HWND hControl = ::GetDlgItem(hWindow, std::atoi(argv[2]));
  RECT r;
  char text[64] = "";
  if (hControl == nullptr || !::GetWindowRect(hControl, &r)) return 1;
  ::SendMessageA(hControl, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  std::printf("%ld %ld %ld %ld %s\n", r.left, r.top, r.right - r.left, r.bottom - r.top, text);
  return 0;
}
