#include "command_line/run_log.h"

#include "command_line/json.h"
#include "rates/stored_rates.h"
#include "resources/resource.h"
#include "win32/system_library.h"

namespace {

// The own rate of the mouse with instance ID lpszId in rates, as AppendJsonRate writes it; null
// where rates lists no such mouse (it was uninstalled meanwhile).
void AppendOwnRate(CString& strLine, const CStoredRates* pRates, LPCSTR lpszId) {
  for (int n = 0; n < pRates->GetMouseCount(); ++n) {
    const CStoredRates::Mouse& mouse = pRates->GetMouse(n);
    if (mouse.strInstanceId == lpszId) {
      AppendJsonRate(strLine, mouse.rate.GetOwnResult(), mouse.rate.GetRate());
      return;
    }
  }
  strLine += "null";
}

}  // namespace

CRunLog::~CRunLog() {
  if (m_hFile != INVALID_HANDLE_VALUE) ::CloseHandle(m_hFile);
}

LONG CRunLog::Open(LPCWSTR lpszFile) {
  // Appending only: each write goes to the end of the file as it is then, whoever else appends;
  // the file may be read, renamed or deleted meanwhile (a collector's copy, a rotation). A reader
  // that shares no writing (a plain copy) is waited for, up to two seconds.
  // Looked up at run time: Windows 95 has it in name only.
  const auto pfnCreate = SYSTEM_FUNCTION(::GetModuleHandleA("kernel32.dll"), CreateFileW);
  if (pfnCreate == nullptr) return ERROR_CALL_NOT_IMPLEMENTED;
  for (int nTry = 0;; ++nTry) {
    m_hFile = pfnCreate(lpszFile, FILE_APPEND_DATA,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile != INVALID_HANDLE_VALUE) return ERROR_SUCCESS;
    const DWORD dwError = ::GetLastError();
    if ((dwError != ERROR_SHARING_VIOLATION && dwError != ERROR_LOCK_VIOLATION) || nTry == 20) {
      return static_cast<LONG>(dwError);
    }
    ::Sleep(100);
  }
}

LONG CRunLog::Append(LPCWSTR lpszCommandLine, const CStoredRates* pBefore,
                     const CStoredRates* pAfter, int nExitCode) {
  if (m_hFile == INVALID_HANDLE_VALUE) return ERROR_SUCCESS;
  SYSTEMTIME time;
  ::GetSystemTime(&time);
  CString strLine;
  strLine.Format(
      "{\"schema\":%d,\"time\":\"%04u-%02u-%02uT%02u:%02u:%02u.%03uZ\",\"koravel\":\"%s\","
      "\"commandLine\":",
      KORAVEL_JSON_SCHEMA, time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute,
      time.wSecond, time.wMilliseconds, KORAVEL_VERSION_TEXT);
  AppendJsonString(strLine, lpszCommandLine);
  strLine += ",\"keys\":[";
  if (pBefore != nullptr) {
    strLine += "{\"key\":\"driver\",\"before\":";
    AppendJsonRate(strLine, pBefore->GetDriverResult(), pBefore->GetDriverRate());
    strLine += ",\"after\":";
    AppendJsonRate(strLine, pAfter->GetDriverResult(), pAfter->GetDriverRate());
    strLine += '}';
  }
  for (int n = 0; pBefore != nullptr && n < pBefore->GetMouseCount(); ++n) {
    const LPCSTR lpszId = pBefore->GetMouse(n).strInstanceId;
    strLine += ",{\"key\":";
    AppendJsonString(strLine, lpszId);
    strLine += ",\"before\":";
    AppendOwnRate(strLine, pBefore, lpszId);
    strLine += ",\"after\":";
    AppendOwnRate(strLine, pAfter, lpszId);
    strLine += '}';
  }
  CString strEnd;
  strEnd.Format("],\"exitCode\":%d}\r\n", nExitCode);
  strLine += strEnd;
  DWORD cbWritten = 0;
  return ::WriteFile(m_hFile, static_cast<LPCSTR>(strLine), static_cast<DWORD>(strLine.GetLength()),
                     &cbWritten, nullptr)
             ? ERROR_SUCCESS
             : static_cast<LONG>(::GetLastError());
}
