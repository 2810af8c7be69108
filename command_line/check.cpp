// Koravel /check N: whether /set N would write nothing, for the tools that ask before they change
// (a detection script, a test before a remediation). It reads what /set reads, compares it as /set
// does (rates/stored_rates.h), and writes nothing.
#include "command_line/command_run.h"

#include "command_line/json.h"
#include "rates/stored_rates.h"

namespace {

// Intune shows this much of a detection script's output.
const int kLineMax = 2048;

// What a key reads, where that is not dwRate as a 4-byte REG_DWORD.
CString Differs(DWORD dwRead, BOOL bDword) {
  CString str;
  str.Format(bDword ? "%lu" : "%lu, not as a REG_DWORD", static_cast<unsigned long>(dwRead));
  return str;
}

}  // namespace

int CCommandRun::Check(DWORD dwRate, BOOL bJson) {
  const CStoredRates& rates = Read();
  // A value that is not a rate (too long) is one /set replaces; a key that cannot be read is an
  // error, as it is for /query and /set.
  LONG lResult = rates.GetDriverResult();
  if (lResult == ERROR_SUCCESS) lResult = rates.GetMice().GetError();
  for (int nMouse = 0; nMouse < rates.GetMouseCount() && lResult == ERROR_SUCCESS; ++nMouse) {
    const LONG lRead = rates.GetMouse(nMouse).lRateResult;
    if (lRead != ERROR_MORE_DATA) lResult = lRead;
  }
  if (lResult != ERROR_SUCCESS) return Fail(lResult);
  const BOOL bCompliant = rates.AllRead(dwRate);

  CString strLine;
  if (bJson) {
    strLine.Format("{\"schema\":%d,\"rate\":%lu,\"compliant\":%s,", KORAVEL_JSON_SCHEMA,
                   static_cast<unsigned long>(dwRate), bCompliant ? "true" : "false");
    AppendJsonRates(strLine, rates);
    strLine += "}\r\n";
    m_output.Write(strLine);
    return bCompliant ? ERROR_SUCCESS : 1;
  }
  if (bCompliant) {
    strLine.Format("Koravel: compliant: the driver and every PS/2 mouse read %lu.",
                   static_cast<unsigned long>(dwRate));
  } else {
    strLine.Format("Koravel: not compliant with %lu:", static_cast<unsigned long>(dwRate));
    CString strKey;
    if (!rates.DriverReads(dwRate)) {
      strKey.Format(" the driver reads %s;",
                    static_cast<LPCSTR>(Differs(rates.GetDriverRate(), rates.IsDriverDword())));
      strLine += strKey;
    }
    for (int nMouse = 0; nMouse < rates.GetMouseCount(); ++nMouse) {
      const CStoredRates::Mouse& mouse = rates.GetMouse(nMouse);
      if (rates.MouseReads(nMouse, dwRate)) continue;
      const BOOL bRead =
          mouse.lRateResult == ERROR_SUCCESS && mouse.rate.GetSource() != CStartupRate::NOT_STORED;
      // A mouse without a name by its instance ID, as the meter names it.
      const CString& strName = mouse.strName.IsEmpty() ? mouse.strInstanceId : mouse.strName;
      strKey.Format(" %s reads %s;", static_cast<LPCSTR>(Field(strName)),
                    static_cast<LPCSTR>(bRead ? Differs(mouse.rate.GetRate(), mouse.rate.IsDword())
                                              : mouse.rate.Format()));
      strLine += strKey;
    }
    // The last key's ";" ends the sentence.
    strLine.GetBuffer(0)[strLine.GetLength() - 1] = '.';
    strLine.ReleaseBuffer();
  }
  // One line, cut where it would be longer than the tools show: at a character's first byte.
  if (strLine.GetLength() > kLineMax - 2) {
    LPSTR psz = strLine.GetBuffer(0);
    int cb = kLineMax - 5;
    while ((psz[cb] & 0xC0) == 0x80) --cb;
    ::lstrcpynA(psz + cb, "...", 4);
    strLine.ReleaseBuffer();
  }
  strLine += "\r\n";
  m_output.Write(strLine);
  return bCompliant ? ERROR_SUCCESS : 1;
}
