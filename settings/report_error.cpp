#include <cstdio>

#include "koravel_dlg.h"

void CKoravelDlg::ReportError(DWORD dwCode) {
  // Inserts are ignored: the call has no arguments to fill them with, and a system text that
  // holds one ("%1") must be shown as it stands rather than read arguments that are not there.
  char szMessage[2048];
  const DWORD nLength = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                         nullptr, dwCode, 0, szMessage, sizeof szMessage, nullptr);
  if (nLength == 0) {
    std::snprintf(szMessage, sizeof szMessage, "Windows has no description of error %lu (0x%08lX).",
                  static_cast<unsigned long>(dwCode), static_cast<unsigned long>(dwCode));
  }
  ::MessageBoxA(nullptr, szMessage, "Error", MB_ICONINFORMATION);
  SendMessage(WM_CLOSE);
}
