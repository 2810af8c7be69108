// Koravel /set N [/restart]: the change that the settings dialog's OK makes, through the same
// code (rates/rate_change.h), whole or not at all, one change at a time on the machine.
#include "command_line/command_run.h"

#include "rates/change_lock.h"
#include "rates/rate_change.h"
#include "rates/sample_rate.h"
#include "rates/stored_rates.h"
#include "win32/restart_windows.h"

int CCommandRun::SetRate(DWORD dwRate, BOOL bRestart) {
  int nExit;
  m_output.Hold(TRUE), m_errors.Hold(TRUE);  // until the run has logged it (Run)
  {
    const CChangeLock lock;
    LONG lResult = lock.GetError();
    if (lResult == ERROR_SUCCESS &&
        ::InterlockedCompareExchange(&s_lChange, CHANGING, IDLE) != IDLE) {
      lResult = ERROR_OPERATION_ABORTED;  // the console closes: the process is ending
    }
    if (lResult != ERROR_SUCCESS) {
      nExit = Fail(lResult, "Nothing was changed.");
    } else {
      nExit = ChangeRate(dwRate);
      // What the change left, for the log, still under the lock. A closing console's handler
      // waits until the run has logged it too (Run).
      if (!m_pBefore->AllRead(dwRate)) Read();
    }
  }
  if (nExit != ERROR_SUCCESS_REBOOT_REQUIRED) return nExit;
  if (!bRestart) {
    m_output.Write("Koravel: the new rate takes effect when Windows next starts.\r\n");
    return ERROR_SUCCESS_REBOOT_REQUIRED;
  }
  const DWORD dwResult = RequestRestart();
  if (dwResult != ERROR_SUCCESS) {
    Fail(static_cast<LONG>(dwResult),
         "The new rate is saved and takes effect when Windows next starts.");
    return ERROR_SUCCESS_REBOOT_REQUIRED;
  }
  m_output.Write("Koravel: Windows is restarting.\r\n");
  return ERROR_SUCCESS_REBOOT_INITIATED;
}

int CCommandRun::ChangeRate(DWORD dwRate) {
  // Koravel never creates the driver's key, nor its value: both must be there, as they are where
  // the driver is installed.
  const CStoredRates& rates = Read();
  LONG lResult = rates.GetDriverResult();
  if (lResult == ERROR_SUCCESS) lResult = rates.GetMice().GetError();
  if (lResult != ERROR_SUCCESS) return Fail(lResult, "Nothing was changed.");
  CString strText;
  if (rates.AllRead(dwRate)) {
    strText.Format(
        "Koravel: the driver and every PS/2 mouse already read %lu; nothing was written.\r\n",
        static_cast<unsigned long>(dwRate));
    m_output.Write(strText);
    return ERROR_SUCCESS;
  }
  // The driver's key is opened to set values only where its value is to change.
  HKEY hKey = nullptr;
  if (!rates.DriverReads(dwRate)) lResult = OpenParametersKey(&hKey);
  CRateChange change;
  if (lResult == ERROR_SUCCESS) lResult = change.Prepare(hKey, rates, dwRate);
  if (lResult == ERROR_SUCCESS) lResult = change.Write();
  if (hKey != nullptr) ::RegCloseKey(hKey);
  if (lResult != ERROR_SUCCESS) {
    const int nExit = Fail(lResult, change.FormatFailureNote());
    return change.IsUnchanged() ? nExit : static_cast<int>(PARTLY_CHANGED);
  }

  // What was written where; a key that already read the rate was left as it was.
  if (!rates.DriverReads(dwRate)) {
    strText.Format("Koravel: SampleRate %lu written in the i8042 port driver's key.\r\n",
                   static_cast<unsigned long>(dwRate));
    m_output.Write(strText);
  }
  for (int nMouse = 0; nMouse < rates.GetMouseCount(); ++nMouse) {
    if (rates.MouseReads(nMouse, dwRate)) continue;
    strText.Format("Koravel: SampleRate %lu written in the own key of %s (%s).\r\n",
                   static_cast<unsigned long>(dwRate),
                   static_cast<LPCSTR>(rates.GetMouse(nMouse).strName),
                   static_cast<LPCSTR>(rates.GetMouse(nMouse).strInstanceId));
    m_output.Write(strText);
  }
  // With no PS/2 mouse installed (Windows 2000 and later), a restart would change nothing now.
  if (rates.GetMice().IsListed() && rates.GetMouseCount() == 0) {
    m_output.Write(
        "Koravel: no PS/2 mouse is installed: the rate is for one installed later, and a restart "
        "changes nothing now.\r\n");
    return ERROR_SUCCESS;
  }
  return ERROR_SUCCESS_REBOOT_REQUIRED;
}
