// Koravel /set N [/restart]: the change that the settings dialog's OK makes, through the same
// code (rates/rate_change.h), whole or not at all.
#include "command_line/command_run.h"

#include "rates/ps2_mice.h"
#include "rates/rate_change.h"
#include "rates/sample_rate.h"
#include "win32/restart_windows.h"

int CCommandRun::SetRate(DWORD dwRate, BOOL bRestart) {
  // Koravel never creates the driver's key, nor its value: both must be there, as they are where
  // the driver is installed.
  HKEY hKey = nullptr;
  DWORD dwOld = 0;
  LONG lResult = OpenParametersKey(&hKey);
  if (lResult == ERROR_SUCCESS) lResult = ReadSampleRate(hKey, &dwOld);
  const int nExit = lResult == ERROR_SUCCESS ? ChangeRate(hKey, dwRate, bRestart)
                                             : Fail(lResult, "Nothing was changed.");
  if (hKey != nullptr) ::RegCloseKey(hKey);
  return nExit;
}

int CCommandRun::ChangeRate(HKEY hDriverKey, DWORD dwRate, BOOL bRestart) {
  const CPs2Mice mice;
  if (mice.GetError() != ERROR_SUCCESS) return Fail(mice.GetError(), "Nothing was changed.");
  CRateChange change;
  LONG lResult = change.Prepare(hDriverKey, mice);
  if (lResult == ERROR_SUCCESS && change.IsAlreadySet(dwRate)) {
    CString strText;
    strText.Format("Koravel: every key already holds %lu; nothing was written.\r\n",
                   static_cast<unsigned long>(dwRate));
    m_output.Write(strText);
    return ERROR_SUCCESS;
  }
  if (lResult == ERROR_SUCCESS) lResult = change.Write(dwRate);
  if (lResult != ERROR_SUCCESS) {
    Fail(lResult, change.FormatFailureNote());
    return change.IsUnchanged() ? static_cast<int>(lResult) : static_cast<int>(PARTLY_CHANGED);
  }

  // What was written where.
  CString strText;
  strText.Format("Koravel: SampleRate %lu written in the i8042 port driver's key.\r\n",
                 static_cast<unsigned long>(dwRate));
  m_output.Write(strText);
  for (int nMouse = 0; nMouse < mice.GetCount(); ++nMouse) {
    strText.Format("Koravel: SampleRate %lu written in the own key of %s (%s).\r\n",
                   static_cast<unsigned long>(dwRate), static_cast<LPCSTR>(mice.GetName(nMouse)),
                   static_cast<LPCSTR>(mice.GetInstanceId(nMouse)));
    m_output.Write(strText);
  }
  // With no PS/2 mouse installed (Windows 2000 and later), a restart would change nothing now.
  if (mice.IsListed() && mice.GetCount() == 0) {
    m_output.Write(
        "Koravel: no PS/2 mouse is installed: the rate is for one installed later, and a restart "
        "changes nothing now.\r\n");
    return ERROR_SUCCESS;
  }
  if (!bRestart) {
    m_output.Write("Koravel: the new rate takes effect when Windows next starts.\r\n");
    return ERROR_SUCCESS_REBOOT_REQUIRED;
  }
  const DWORD dwResult = RestartWindows();
  if (dwResult != ERROR_SUCCESS) {
    Fail(static_cast<LONG>(dwResult),
         "The new rate is saved and takes effect when Windows next starts.");
    return ERROR_SUCCESS_REBOOT_REQUIRED;
  }
  m_output.Write("Koravel: Windows is restarting.\r\n");
  return ERROR_SUCCESS_REBOOT_INITIATED;
}
