// koravel_probe CAPTION ID: waits up to 30 s for a visible window with this caption, then prints
// its control ID's screen rectangle and text: "x y width height text". A list view's text is its
// first row's third cell (the meter's measured rate), empty where it has no row. Exit status 1:
// none came.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// The text of row 0's cell nCell, through memory in the list view's own process.
std::string Cell(HWND hList, int nCell) {
  DWORD dwProcess = 0;
  ::GetWindowThreadProcessId(hList, &dwProcess);
  HANDLE hProcess =
      ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, 0, dwProcess);
  struct {
    LVITEMA item;
    char text[64];
  } cell = {}, *pRemote = static_cast<decltype(pRemote)>(
                   ::VirtualAllocEx(hProcess, nullptr, sizeof cell, MEM_COMMIT, PAGE_READWRITE));
  cell.item = {0, 0, nCell,   0,       0, pRemote->text, sizeof cell.text, 0, 0, 0,
               0, 0, nullptr, nullptr, 0};
  ::WriteProcessMemory(hProcess, pRemote, &cell, sizeof cell, nullptr);
  ::SendMessageA(hList, LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&pRemote->item));
  ::ReadProcessMemory(hProcess, pRemote, &cell, sizeof cell, nullptr);
  ::VirtualFreeEx(hProcess, pRemote, 0, MEM_RELEASE);
  ::CloseHandle(hProcess);
  return cell.text;
}

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
  ::GetClassNameA(hControl, text, sizeof text);
  if (::lstrcmpiA(text, WC_LISTVIEWA) == 0)
    std::snprintf(text, sizeof text, "%s", Cell(hControl, 2).c_str());
  else
    ::SendMessageA(hControl, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  std::printf("%ld %ld %ld %ld %s\n", r.left, r.top, r.right - r.left, r.bottom - r.top, text);
  return 0;
}
