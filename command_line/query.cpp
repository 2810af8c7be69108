// Koravel /query: the rates stored, a line each, fields separated by tabs, for a script to read.
#include "command_line/command_run.h"

#include "command_line/json.h"
#include "rates/stored_rates.h"

CString CCommandRun::Field(CString str) {
  LPSTR psz = str.GetBuffer(str.GetLength());
  for (; *psz != '\0'; ++psz) {
    const unsigned char c = static_cast<unsigned char>(*psz);
    if (c < 0x20 || c == 0x7F) *psz = ' ';
    // The C1 controls, U+0080 to U+009F: two bytes of UTF-8, two spaces.
    if (c == 0xC2 && static_cast<unsigned char>(psz[1]) >= 0x80 &&
        static_cast<unsigned char>(psz[1]) <= 0x9F) {
      *psz = psz[1] = ' ';
    }
  }
  str.ReleaseBuffer();
  return str;
}

int CCommandRun::Query(BOOL bJson) {
  const CStoredRates& rates = Read();
  if (rates.GetDriverResult() != ERROR_SUCCESS) return Fail(rates.GetDriverResult());
  if (rates.GetMice().GetError() != ERROR_SUCCESS) return Fail(rates.GetMice().GetError());
  // A mouse whose rate cannot be read gets its line, and fails the query after them all.
  LONG lFirstError = ERROR_SUCCESS;
  for (int nMouse = 0; nMouse < rates.GetMouseCount(); ++nMouse) {
    if (lFirstError == ERROR_SUCCESS) lFirstError = rates.GetMouse(nMouse).lRateResult;
  }
  CString strLine;
  if (bJson) {
    strLine.Format("{\"schema\":%d,", KORAVEL_JSON_SCHEMA);
    AppendJsonRates(strLine, rates);
    strLine += "}\r\n";
    m_output.Write(strLine);
    return lFirstError != ERROR_SUCCESS ? Fail(lFirstError) : ERROR_SUCCESS;
  }
  strLine.Format("driver\t%lu\r\n", static_cast<unsigned long>(rates.GetDriverRate()));
  m_output.Write(strLine);
  // On Windows NT 4.0 there is no list: the driver's value is all there is.
  for (int nMouse = 0; nMouse < rates.GetMouseCount(); ++nMouse) {
    const CStoredRates::Mouse& mouse = rates.GetMouse(nMouse);
    CString strOwn;
    if (mouse.rate.GetOwnResult() == ERROR_SUCCESS) {
      strOwn.Format("%lu", static_cast<unsigned long>(mouse.rate.GetRate()));
    } else {
      strOwn = mouse.rate.GetOwnResult() == ERROR_FILE_NOT_FOUND
                   ? CString("none")
                   : CStartupRate::FormatUnknown(mouse.rate.GetOwnResult());
    }
    strLine.Format("mouse\t%s\t%s\t%s\t%s\r\n", static_cast<LPCSTR>(Field(mouse.strName)),
                   static_cast<LPCSTR>(mouse.strInstanceId), static_cast<LPCSTR>(strOwn),
                   static_cast<LPCSTR>(mouse.rate.Format()));
    m_output.Write(strLine);
  }
  return lFirstError != ERROR_SUCCESS ? Fail(lFirstError) : ERROR_SUCCESS;
}
