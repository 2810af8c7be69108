// koravel_probe CAPTION ID: waits up to 30 s for a visible window with this caption, then prints
// its control ID's screen rectangle and text: "x y width height text". A list view's text is that
// of its first row, the cells joined by "|" (read through memory of the window's own process).
// Exit status 1: none came.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

std::string FirstRow(HWND hList) {
  DWORD dwProcess = 0;
  ::GetWindowThreadProcessId(hList, &dwProcess);
  HANDLE hProcess =
      ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, dwProcess);
  struct Remote {
    LVITEMA item;
    char text[64];
  } local = {}, *pRemote = static_cast<Remote*>(
                    ::VirtualAllocEx(hProcess, nullptr, sizeof local, MEM_COMMIT, PAGE_READWRITE));
  std::string row;
  for (int n = 0; pRemote != nullptr && n < 3 && ::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0);
       ++n) {
    local.item.iSubItem = n, local.item.pszText = pRemote->text, local.item.cchTextMax = 64;
    ::WriteProcessMemory(hProcess, pRemote, &local, sizeof local, nullptr);
    ::SendMessageA(hList, LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&pRemote->item));
    ::ReadProcessMemory(hProcess, pRemote, &local, sizeof local, nullptr);
    row += (n > 0 ? "|" : "") + std::string(local.text);
  }
  if (pRemote != nullptr) ::VirtualFreeEx(hProcess, pRemote, 0, MEM_RELEASE);
  ::CloseHandle(hProcess);
  return row;
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
  const std::string shown =
      ::lstrcmpiA(text, WC_LISTVIEWA) == 0
          ? FirstRow(hControl)
          : (::SendMessageA(hControl, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)),
             text);
  std::printf("%ld %ld %ld %ld %s\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
              shown.c_str());
  return 0;
}
