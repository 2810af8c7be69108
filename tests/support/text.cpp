#include "text.h"

std::string SystemText(DWORD dwCode) {
  char text[2048] = "";
  ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, dwCode, 0,
                   text, sizeof text, nullptr);
  return text;
}

std::string ItemText(HWND hDlg, int nID) {
  char text[1024] = "";
  ::GetDlgItemTextA(hDlg, nID, text, sizeof text);
  return text;
}
