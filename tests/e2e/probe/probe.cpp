// koravel_probe: the end-to-end tests' eyes inside Wine. It reads the state of another
// process's windows (the tests' hands are real X input from xdotool) and sets up or reads the
// registry value under test. Each command prints JSON objects, one per line, and exits with 0
// when it did what it was asked, 1 when not (a window that never came), 2 on a usage error.
//
// Windows:
// - window CAPTION [MS]: waits up to MS for a visible top-level window; prints it and its controls
// - gone CAPTION [MS]: waits up to MS until no visible window has the caption
// - syscommand CAPTION ID: posts WM_SYSCOMMAND with ID (hexadecimal) to the window
// (A window's system menu cannot be read from another process under Wine.)
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/sample_rate_value.h"
#include "tests/support/window_search.h"

namespace {

std::string Json(const std::string& text) {
  std::string out = "\"";
  for (unsigned char ch : text) {
    if (ch == '"' || ch == '\\') {
      out += '\\';
      out += static_cast<char>(ch);
    } else if (ch < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", ch);
      out += escaped;
    } else {
      out += static_cast<char>(ch);
    }
  }
  return out + "\"";
}

LRESULT Send(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  ::SendMessageTimeoutA(hWnd, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
  return static_cast<LRESULT>(result);
}

std::string Text(HWND hWnd) {
  char text[4096] = "";
  Send(hWnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

std::string Rect(HWND hWnd) {
  RECT r;
  ::GetWindowRect(hWnd, &r);
  char text[128];
  std::snprintf(text, sizeof text, "\"x\": %ld, \"y\": %ld, \"w\": %ld, \"h\": %ld", r.left, r.top,
                r.right - r.left, r.bottom - r.top);
  return text;
}

HWND WaitFor(const char* caption, DWORD dwTimeout, bool bPresent) {
  const DWORD dwStart = ::GetTickCount();
  for (;;) {
    HWND hWnd = FindVisibleWindow(caption);
    if ((hWnd != nullptr) == bPresent) return bPresent ? hWnd : reinterpret_cast<HWND>(1);
    if (::GetTickCount() - dwStart > dwTimeout) return nullptr;
    ::Sleep(50);
  }
}

void PrintWindow(HWND hWnd) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hWnd, &pid);
  RECT client;
  ::GetClientRect(hWnd, &client);
  ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  std::printf(
      "{\"kind\": \"window\", \"caption\": %s, \"pid\": %lu, \"owner\": %d, "
      "\"enabled\": %d, \"iconic\": %d, \"style\": %lu, \"client\": [%ld, %ld, %ld, %ld], %s}\n",
      Json(WindowCaption(hWnd)).c_str(), pid, ::GetWindow(hWnd, GW_OWNER) != nullptr,
      ::IsWindowEnabled(hWnd) ? 1 : 0, ::IsIconic(hWnd) ? 1 : 0,
      static_cast<unsigned long>(::GetWindowLongA(hWnd, GWL_STYLE)), client.left, client.top,
      client.right - client.left, client.bottom - client.top, Rect(hWnd).c_str());
  GUITHREADINFO gui = {};
  gui.cbSize = sizeof gui;
  ::GetGUIThreadInfo(::GetWindowThreadProcessId(hWnd, nullptr), &gui);
  for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild != nullptr;
       hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
    const std::string cls = WindowClass(hChild);
    std::string extra;
    char buffer[160];
    if (cls == TRACKBAR_CLASSA) {
      std::snprintf(buffer, sizeof buffer, ", \"pos\": %ld, \"min\": %ld, \"max\": %ld",
                    static_cast<long>(Send(hChild, TBM_GETPOS)),
                    static_cast<long>(Send(hChild, TBM_GETRANGEMIN)),
                    static_cast<long>(Send(hChild, TBM_GETRANGEMAX)));
      extra = buffer;
    } else if (cls == PROGRESS_CLASSA) {
      std::snprintf(buffer, sizeof buffer, ", \"pos\": %ld, \"min\": %ld, \"max\": %ld",
                    static_cast<long>(Send(hChild, PBM_GETPOS)),
                    static_cast<long>(Send(hChild, PBM_GETRANGE, TRUE)),
                    static_cast<long>(Send(hChild, PBM_GETRANGE, FALSE)));
      extra = buffer;
    } else if (cls == "Button") {
      std::snprintf(buffer, sizeof buffer, ", \"checked\": %ld",
                    static_cast<long>(Send(hChild, BM_GETCHECK)));
      extra = buffer;
    }
    std::printf(
        "{\"kind\": \"control\", \"id\": %d, \"class\": %s, \"text\": %s, \"style\": %lu, "
        "\"visible\": %d, \"focused\": %d, %s%s}\n",
        static_cast<short>(::GetDlgCtrlID(hChild)), Json(cls).c_str(), Json(Text(hChild)).c_str(),
        static_cast<unsigned long>(::GetWindowLongA(hChild, GWL_STYLE)),
        ::IsWindowVisible(hChild) ? 1 : 0, hChild == gui.hwndFocus ? 1 : 0, Rect(hChild).c_str(),
        extra.c_str());
  }
}

std::string Hex(const std::vector<BYTE>& bytes) {
  std::string text;
  for (BYTE b : bytes) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", b);
    text += digits;
  }
  return text;
}

std::vector<BYTE> FromHex(const std::string& text) {
  std::vector<BYTE> bytes;
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    bytes.push_back(static_cast<BYTE>(std::strtoul(text.substr(i, 2).c_str(), nullptr, 16)));
  }
  return bytes;
}

int PrintValue() {
  const StoredValue value = SampleRateValue::Read();
  static const char* const kStates[] = {"no-key", "no-value", "present"};
  std::printf("{\"kind\": \"value\", \"state\": \"%s\", \"type\": %lu, \"bytes\": \"%s\"}\n",
              kStates[value.state], value.type, Hex(value.bytes).c_str());
  return 0;
}

int SetValue(const std::vector<std::string>& args) {
  StoredValue value;
  if (args.size() == 2 && args[0] == "dword") {
    value = StoredValue::Dword(std::strtoul(args[1].c_str(), nullptr, 0));
  } else if (args.size() == 3 && args[0] == "raw") {
    value = StoredValue::Raw(std::strtoul(args[1].c_str(), nullptr, 0), FromHex(args[2]));
  } else if (args.size() == 1 && args[0] == "no-value") {
    value = StoredValue::NoValue();
  } else if (args.size() == 1 && args[0] == "no-key") {
    value = StoredValue::NoKey();
  } else {
    return 2;
  }
  SampleRateValue::Deny(false);
  return SampleRateValue::Write(value) ? 0 : 1;
}

int Emulate(const std::string& program, const std::string& version) {
  const std::string key = "Software\\Wine\\AppDefaults\\" + program;
  if (version == "-") {
    const LONG lResult = ::RegDeleteKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Version");
    return lResult == ERROR_SUCCESS || lResult == ERROR_FILE_NOT_FOUND ? 0 : 1;
  }
  return ::RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Version", REG_SZ, version.c_str(),
                           static_cast<DWORD>(version.size() + 1)) == ERROR_SUCCESS
             ? 0
             : 1;
}

int PrintSystemText(DWORD dwCode) {
  char text[2048] = "";
  ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, dwCode, 0,
                   text, sizeof text, nullptr);
  std::printf("{\"kind\": \"text\", \"text\": %s}\n", Json(text).c_str());
  return 0;
}

LRESULT CALLBACK WitnessProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ENDSESSION && wParam) ::PostQuitMessage(0);
  return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

// A window of its own, beside the program under test: the end of a Windows session ends every
// program that has one, so this process ending shows that the session ended.
int Witness() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &WitnessProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = "KoravelWitness";
  ::RegisterClassA(&wc);
  if (::CreateWindowExA(0, wc.lpszClassName, "Koravel test witness", WS_OVERLAPPED, 1000, 740, 20,
                        20, nullptr, nullptr, wc.hInstance, nullptr) == nullptr) {
    return 1;
  }
  std::printf("{\"kind\": \"ready\"}\n");
  std::fflush(stdout);
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
  return 0;
}

// Wine reads the screen's DPI from the user's desktop settings when a program starts.
int SetDpi(DWORD dwDpi) {
  return ::RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD,
                           &dwDpi, sizeof dwDpi) == ERROR_SUCCESS
             ? 0
             : 1;
}

int Run(const std::string& command, const std::vector<std::string>& args) {
  if (command == "dpi" && args.size() == 1)
    return SetDpi(std::strtoul(args[0].c_str(), nullptr, 10));
  if (command == "text" && args.size() == 1) {
    return PrintSystemText(std::strtoul(args[0].c_str(), nullptr, 0));
  }
  if (command == "witness" && args.empty()) return Witness();
  if (command == "value" && args.empty()) return PrintValue();
  if (command == "set-value") return SetValue(args);
  if (command == "deny" && args.empty()) return SampleRateValue::Deny(true) ? 0 : 1;
  if (command == "allow" && args.empty()) return SampleRateValue::Deny(false) ? 0 : 1;
  if (command == "emulate" && args.size() == 2) return Emulate(args[0], args[1]);
  if (args.empty()) return 2;

  const char* caption = args[0].c_str();
  const DWORD dwTimeout = args.size() > 1 ? std::strtoul(args[1].c_str(), nullptr, 10) : 0;
  if (command == "window") {
    HWND hWnd = WaitFor(caption, dwTimeout, true);
    if (hWnd == nullptr) return 1;
    PrintWindow(hWnd);
    return 0;
  }
  if (command == "gone") return WaitFor(caption, dwTimeout, false) != nullptr ? 0 : 1;
  HWND hWnd = FindVisibleWindow(caption);
  if (command == "syscommand" && args.size() == 2) {
    return hWnd != nullptr && ::PostMessageA(hWnd, WM_SYSCOMMAND,
                                             std::strtoul(args[1].c_str(), nullptr, 16), 0)
               ? 0
               : 1;
  }
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const int result = Run(argv[1], std::vector<std::string>(argv + 2, argv + argc));
  std::fflush(stdout);
  return result;
}
