// CStoredRates: what this machine holds, read once (Windows NT): the i8042 port driver's
// SampleRate, and each installed PS/2 mouse with its name, instance ID, own value and what it reads
// when Windows starts (rates/startup_rate.h), each read's error beside it.
//
// Koravel asks these facts, and only these, what is stored: the command line prints them, and a
// change (rates/rate_change.h) leaves as it is every key that already reads the rate it writes.
// It only reads.
#pragma once

#include "rates/ps2_mice.h"
#include "rates/startup_rate.h"

class CStoredRates {
 public:
  // One installed PS/2 mouse.
  struct Mouse {
    CString strName;                   // as Windows shows it, in UTF-8
    CString strInstanceId;             // the device's
    CStartupRate rate;                 // its own value, and what it reads when Windows starts
    LONG lRateResult = ERROR_SUCCESS;  // or why what it reads is unknown
  };

  // Construction
  // Reads the driver's value, and lists the mice and reads theirs.
  CStoredRates();
  ~CStoredRates() { delete[] m_pMouseFacts; }
  CStoredRates(const CStoredRates&) = delete;
  CStoredRates& operator=(const CStoredRates&) = delete;

  // Attributes
  // The driver's value: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND where its key or the value is missing,
  // or the error that keeps it unknown.
  LONG GetDriverResult() const { return m_lDriverResult; }
  DWORD GetDriverRate() const { return m_dwDriverRate; }
  // Whether it is a 4-byte REG_DWORD, the form Koravel writes.
  BOOL IsDriverDword() const { return m_bDriverDword; }
  // The mice, in the system's order; their list fails as CPs2Mice::GetError says.
  const CPs2Mice& GetMice() const { return m_mice; }
  int GetMouseCount() const { return m_nMice; }
  const Mouse& GetMouse(int nMouse) const { return m_pMouseFacts[nMouse]; }

  // Whether the driver's key, or mouse nMouse, already reads dwRate when Windows starts, as a
  // 4-byte REG_DWORD: a change to dwRate leaves it as it is. A mouse without a value of its own
  // reads the driver's.
  BOOL DriverReads(DWORD dwRate) const;
  BOOL MouseReads(int nMouse, DWORD dwRate) const { return GetMouse(nMouse).rate.Reads(dwRate); }
  // Whether the driver's key and every mouse do: a change to dwRate would write nothing.
  BOOL AllRead(DWORD dwRate) const;

 private:
  CPs2Mice m_mice;
  LONG m_lDriverResult;
  DWORD m_dwDriverRate = 0;
  BOOL m_bDriverDword = FALSE;  // the driver's value is a 4-byte REG_DWORD
  int m_nMice;
  Mouse* m_pMouseFacts;  // m_nMice of them, in the order of m_mice
};
