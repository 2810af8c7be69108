// Koravel /query: the rates stored, a line each, fields separated by tabs, for a script to read.
#include "command_line/command_run.h"

#include "rates/ps2_mice.h"
#include "rates/sample_rate.h"

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
  DWORD dwRate = 0;
  LONG lResult = ReadParametersRate(&dwRate);
  if (lResult != ERROR_SUCCESS) return Fail(lResult);
  CString strLine;
  strLine.Format("driver\t%lu\r\n", static_cast<unsigned long>(dwRate));
  m_output.Write(strLine);

  // On Windows NT 4.0 there is no list: the driver's value is all there is.
  const CPs2Mice mice;
  if (mice.GetError() != ERROR_SUCCESS) return Fail(mice.GetError());
  // Every mouse gets its line; the first rate that cannot be read fails the query after them.
  LONG lFirstError = ERROR_SUCCESS;
  for (int nMouse = 0; nMouse < mice.GetCount(); ++nMouse) {
    CStartupRate rate;
    lResult = mice.ReadStartupRate(nMouse, &rate);
    if (lFirstError == ERROR_SUCCESS) lFirstError = lResult;
    CString strOwn;
    if (rate.GetOwnResult() == ERROR_SUCCESS) {
      strOwn.Format("%lu", static_cast<unsigned long>(rate.GetRate()));
    } else {
      strOwn = rate.GetOwnResult() == ERROR_FILE_NOT_FOUND
                   ? CString("none")
                   : CStartupRate::FormatUnknown(rate.GetOwnResult());
    }
    strLine.Format("mouse\t%s\t%s\t%s\t%s\r\n", static_cast<LPCSTR>(Field(mice.GetName(nMouse))),
                   static_cast<LPCSTR>(mice.GetInstanceId(nMouse)), static_cast<LPCSTR>(strOwn),
                   static_cast<LPCSTR>(rate.Format()));
    m_output.Write(strLine);
  }
  return lFirstError != ERROR_SUCCESS ? Fail(lFirstError) : ERROR_SUCCESS;
}
