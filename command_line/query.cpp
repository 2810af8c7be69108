// Koravel /query: the rates stored, a line each, fields separated by tabs, for a script to read.
#include "command_line/command_run.h"

#include "rates/stored_rates.h"

namespace {

// A name as a field: a tab or a line break in it would split the line.
CString Field(CString str) {
  LPSTR psz = str.GetBuffer(str.GetLength());
  for (; *psz != '\0'; ++psz) {
    if (*psz == '\t' || *psz == '\r' || *psz == '\n') *psz = ' ';
  }
  str.ReleaseBuffer();
  return str;
}

}  // namespace

int CCommandRun::Query() {
  const CStoredRates rates;
  if (rates.GetDriverResult() != ERROR_SUCCESS) return Fail(rates.GetDriverResult());
  CString strLine;
  strLine.Format("driver\t%lu\r\n", static_cast<unsigned long>(rates.GetDriverRate()));
  m_output.Write(strLine);

  // On Windows NT 4.0 there is no list: the driver's value is all there is.
  if (rates.GetMice().GetError() != ERROR_SUCCESS) return Fail(rates.GetMice().GetError());
  // Every mouse gets its line; the first rate that cannot be read fails the query after them.
  LONG lFirstError = ERROR_SUCCESS;
  for (int nMouse = 0; nMouse < rates.GetMouseCount(); ++nMouse) {
    const CStoredRates::Mouse& mouse = rates.GetMouse(nMouse);
    if (lFirstError == ERROR_SUCCESS) lFirstError = mouse.lRateResult;
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
