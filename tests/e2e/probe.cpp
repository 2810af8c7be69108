// koravel_probe CAPTION ID: the end-to-end tests' eyes inside Wine. Waits up to 30 s for a visible
// window with this caption, then prints its control ID's screen rectangle, a slider's position and
// the screen point of its thumb's centre (zeros for other controls), and the control's text:
// "x y width height position thumb_x thumb_y text". Exit status 1: none came.
#include <windows.h>
#include <commctrl.h>

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
  if (hControl == nullptr || !::GetWindowRect(hControl, &r)) return 1;
  char text[64] = "", kind[64] = "";
  ::SendMessageA(hControl, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  ::GetClassNameA(hControl, kind, sizeof kind);
  long nPos = 0;
  POINT thumb = {0, 0};
  if (::lstrcmpiA(kind, TRACKBAR_CLASSA) == 0) {
    nPos = static_cast<long>(::SendMessageA(hControl, TBM_GETPOS, 0, 0));
    // The control fills a RECT in its own process: one allocated there, and read back.
    DWORD dwProcess = 0;
    ::GetWindowThreadProcessId(hControl, &dwProcess);
    HANDLE hProcess = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, dwProcess);
    void* pRemote = ::VirtualAllocEx(hProcess, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    RECT t = {0, 0, 0, 0};
    ::SendMessageA(hControl, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(pRemote));
    ::ReadProcessMemory(hProcess, pRemote, &t, sizeof t, nullptr);
    ::VirtualFreeEx(hProcess, pRemote, 0, MEM_RELEASE);
    ::CloseHandle(hProcess);
    thumb = {(t.left + t.right) / 2, (t.top + t.bottom) / 2};
    ::ClientToScreen(hControl, &thumb);
  }
  std::printf("%ld %ld %ld %ld %ld %ld %ld %s\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
              nPos, thumb.x, thumb.y, text);
  return 0;
}
