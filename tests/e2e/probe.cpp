// The end-to-end tests' hands on the Windows side. Exit status 1: what it waited for never came.
// koravel_probe CAPTION ID: waits up to 30 s for a visible window with this caption, then prints
//   its control ID's screen rectangle: "x y width height".
// koravel_probe run COMMAND-LINE [APPLICATION|- [hidden]]: runs it as a Windows parent does (with
//   APPLICATION, where given, as the program that CreateProcess starts), on a window station made
//   without WSF_VISIBLE where "hidden" is given, and prints what it wrote to the pipes that are its
//   standard output and standard error, each followed by a unit separator (0x1F), then "windows N"
//   (the visible windows it showed) and "exit CODE", the whole exit code, which a Linux shell would
//   cut to 8 bits; or "exit timeout" where it had not ended after 20 s (it is then ended).
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

BOOL CALLBACK CountWindows(HWND hWnd, LPARAM lParam) {
  auto* pProcess = reinterpret_cast<std::pair<DWORD, int>*>(lParam);
  DWORD dwProcess = 0;
  ::GetWindowThreadProcessId(hWnd, &dwProcess);
  pProcess->second += dwProcess == pProcess->first && ::IsWindowVisible(hWnd);  // seen, ever
  return TRUE;
}

int Run(wchar_t* pszCommandLine, const wchar_t* pszApplication, bool bHidden) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE hRead[2], hWrite[2];
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  for (int n = 0; n < 2; ++n) {
    ::CreatePipe(&hRead[n], &hWrite[n], &inherit, 1 << 16);  // room for all Koravel says
    ::SetHandleInformation(hRead[n], HANDLE_FLAG_INHERIT, 0);
  }
  startup.hStdOutput = hWrite[0], startup.hStdError = hWrite[1];
  if (bHidden) {
    HWINSTA hVisible = ::GetProcessWindowStation();
    ::SetProcessWindowStation(::CreateWindowStationW(L"koravel-hidden", 0, WINSTA_ALL_ACCESS, 0));
    ::CreateDesktopW(L"Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    ::SetProcessWindowStation(hVisible);
    startup.lpDesktop = const_cast<wchar_t*>(L"koravel-hidden\\Default");
  }
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessW(pszApplication, pszCommandLine, nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process))
    return 1;
  ::CloseHandle(hWrite[0]), ::CloseHandle(hWrite[1]);
  // Its visible windows are counted until it ends; then what it wrote is read.
  std::pair<DWORD, int> windows(process.dwProcessId, 0);
  const DWORD dwStart = ::GetTickCount();
  while (::WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT) {
    ::EnumWindows(CountWindows, reinterpret_cast<LPARAM>(&windows));
    if (::GetTickCount() - dwStart > 20000) ::TerminateProcess(process.hProcess, 0xDEAD);
  }
  std::string output[2];
  char buffer[4096];
  for (int n = 0; n < 2; ++n) {
    for (DWORD cb; ::ReadFile(hRead[n], buffer, sizeof buffer, &cb, nullptr) && cb;)
      output[n].append(buffer, cb);
  }
  DWORD dwExit = 0;
  ::GetExitCodeProcess(process.hProcess, &dwExit);
  // As it came: the text mode of the runtime would add a carriage return to each line's own.
  _setmode(_fileno(stdout), _O_BINARY);
  std::printf("%s\x1f%s\x1fwindows %d\n", output[0].c_str(), output[1].c_str(), windows.second);
  std::printf(dwExit == 0xDEAD ? "exit timeout\n" : "exit %lu\n", dwExit);
  return 0;
}

int main(int argc, char** argv) {
  int nArgs = 0;
  wchar_t** ppszArgs = ::CommandLineToArgvW(::GetCommandLineW(), &nArgs);
  if (argc >= 3 && std::string(argv[1]) == "run") {
    return Run(ppszArgs[2], argc > 3 && ppszArgs[3] != std::wstring(L"-") ? ppszArgs[3] : nullptr,
               argc > 4);
  }
  if (argc != 3) return 2;
  HWND hWindow = nullptr;
  for (const DWORD dwStart = ::GetTickCount(); !::IsWindowVisible(hWindow); ::Sleep(50)) {
    if (::GetTickCount() - dwStart > 30000) return 1;
    hWindow = ::FindWindowA(nullptr, argv[1]);
  }
  HWND hControl = ::GetDlgItem(hWindow, std::atoi(argv[2]));
  RECT r;
  if (hControl == nullptr || !::GetWindowRect(hControl, &r)) return 1;
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  return 0;
}
