#include "command_line/json.h"

#include "rates/stored_rates.h"

void AppendJsonString(CString& strJson, LPCSTR lpszText) {
  // Always UTF-8 made here from Unicode, so every character comes back.
  const int cchWide = ::MultiByteToWideChar(CP_UTF8, 0, lpszText, -1, nullptr, 0);
  WCHAR* pszWide = new WCHAR[cchWide > 0 ? cchWide : 1];
  pszWide[0] = L'\0';
  if (cchWide > 0) ::MultiByteToWideChar(CP_UTF8, 0, lpszText, -1, pszWide, cchWide);
  AppendJsonString(strJson, pszWide);
  delete[] pszWide;
}

void AppendJsonString(CString& strJson, LPCWSTR lpszText) {
  strJson += '"';
  for (LPCWSTR p = lpszText; *p != L'\0'; ++p) {
    if (*p == L'"' || *p == L'\\') {
      strJson += '\\';
      strJson += static_cast<char>(*p);
    } else if (*p < 0x20 || *p > 0x7E) {
      CString strEscape;
      strEscape.Format("\\u%04x", static_cast<unsigned>(*p));
      strJson += strEscape;
    } else {
      strJson += static_cast<char>(*p);
    }
  }
  strJson += '"';
}

void AppendJsonRate(CString& strJson, LONG lResult, DWORD dwRate) {
  CString strRate;
  if (lResult == ERROR_SUCCESS) {
    strRate.Format("%lu", static_cast<unsigned long>(dwRate));
  } else if (lResult == ERROR_FILE_NOT_FOUND) {
    strRate = "null";
  } else {
    strRate.Format("{\"error\":%lu}", static_cast<unsigned long>(lResult));
  }
  strJson += strRate;
}

void AppendJsonRates(CString& strJson, const CStoredRates& rates) {
  strJson += "\"driverRate\":";
  AppendJsonRate(strJson, rates.GetDriverResult(), rates.GetDriverRate());
  strJson += ",\"mice\":[";
  for (int nMouse = 0; nMouse < rates.GetMouseCount(); ++nMouse) {
    const CStoredRates::Mouse& mouse = rates.GetMouse(nMouse);
    strJson += nMouse > 0 ? ",{\"name\":" : "{\"name\":";
    AppendJsonString(strJson, mouse.strName);
    strJson += ",\"instanceId\":";
    AppendJsonString(strJson, mouse.strInstanceId);
    strJson += ",\"ownRate\":";
    AppendJsonRate(strJson, mouse.rate.GetOwnResult(), mouse.rate.GetRate());
    strJson += ",\"rateAtStart\":";
    const BOOL bNone = mouse.rate.GetSource() == CStartupRate::NOT_STORED;
    AppendJsonRate(strJson, bNone ? ERROR_FILE_NOT_FOUND : mouse.rate.GetError(),
                   mouse.rate.GetRate());
    strJson += '}';
  }
  strJson += ']';
}
