// CStartupRate: the rate a PS/2 mouse reads when Windows starts (Windows 2000 and later), as
// stored. The i8042 port driver reads the SampleRate of the mouse's own key ("Device Parameters"
// under its Enum key); where the mouse has no such key, or no such value in it, the SampleRate of
// the driver's parameters key; where neither is stored, a default of its own. This is the one rule
// for that question: the settings dialog, the meter and the command line all ask it here.
//
// Where a key or value that the rule needs cannot be read (a key that refuses to open, a value
// longer than 4 bytes), the rate is unknown, and the error says why: it is never guessed.
#pragma once

#include <afx.h>

class CStartupRate {
 public:
  enum Source {
    UNKNOWN,     // a read failed: GetError
    OWN_KEY,     // the mouse's own value: GetRate
    DRIVER_KEY,  // the driver's value: GetRate
    NOT_STORED   // neither: the driver chooses
  };

  // Construction
  // Nothing read yet: UNKNOWN, with the error ERROR_INVALID_FUNCTION.
  CStartupRate() = default;

  // Operations
  // Reads the rate from the mouse's own key hOwnKey, open to query values, or, where hOwnKey is
  // null, after opening that key failed with lOpenError: ERROR_FILE_NOT_FOUND where the mouse has
  // none. ERROR_SUCCESS, or the error that makes the rate unknown.
  LONG Read(HKEY hOwnKey, LONG lOpenError);

  // Attributes
  Source GetSource() const { return m_source; }
  DWORD GetRate() const { return m_dwRate; }
  // Whether the rate comes from a 4-byte REG_DWORD, the form Koravel writes.
  BOOL IsDword() const { return m_bDword; }
  LONG GetError() const { return m_lError; }
  // The mouse's own value: ERROR_SUCCESS where it has one (the rate, from OWN_KEY),
  // ERROR_FILE_NOT_FOUND where it has none, or the error that keeps it from being known.
  LONG GetOwnResult() const { return m_lOwnResult; }
  // Whether the mouse reads dwRate when Windows starts, from a 4-byte REG_DWORD (rates/
  // sample_rate.h): a change to dwRate can leave it as it is.
  BOOL Reads(DWORD dwRate) const {
    return (m_source == OWN_KEY || m_source == DRIVER_KEY) && m_bDword && m_dwRate == dwRate;
  }
  // As Koravel shows it: the rate as stored, "none stored", or "unknown (error N)".
  CString Format() const;
  // "unknown (error N)": N in decimal, or in hexadecimal for the codes of SetupAPI and others
  // that are not plain Win32 errors.
  static CString FormatUnknown(LONG lError);

 private:
  Source m_source = UNKNOWN;
  DWORD m_dwRate = 0;
  BOOL m_bDword = FALSE;  // the rate is a 4-byte REG_DWORD
  LONG m_lError = ERROR_INVALID_FUNCTION;
  LONG m_lOwnResult = ERROR_INVALID_FUNCTION;
};
