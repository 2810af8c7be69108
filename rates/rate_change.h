// CRateChange: a new rate written whole or not at all, into the i8042 port driver's key and into
// the own key of each installed PS/2 mouse.
//
// A key that already reads the rate when Windows starts (rates/stored_rates.h) is left as it is:
// a mouse without a value of its own that reads the driver's, say. Everything else is prepared
// before anything is written: every key opened (a mouse's created where it has none) and what each
// holds read. Should a write fail, everything written before it is put back: a value as it was (its
// type and bytes), a value that was not there deleted again, a key created here deleted again.
// Whether that succeeded, and where the new rate stands otherwise, is there to be reported.
#pragma once

#include <afx.h>

class CPs2Mice;
class CStoredRates;

class CRateChange {
 public:
  // Construction
  CRateChange() = default;
  // Closes the keys it opened; the driver's key is the caller's.
  ~CRateChange();
  CRateChange(const CRateChange&) = delete;
  CRateChange& operator=(const CRateChange&) = delete;

  // Operations
  // Prepares to write dwRate into the keys that rates says do not read it yet: the driver's key
  // hDriverKey (open to query and set values; null where it already reads dwRate) and the own key
  // of each of the mice that rates lists; rates must outlive this object. Fails where rates could
  // not list the mice or read the driver's value (but for its absence). On failure the keys
  // created so far are deleted again, and nothing has been written.
  LONG Prepare(HKEY hDriverKey, const CStoredRates& rates, DWORD dwRate);
  // Writes the rate as a 4-byte REG_DWORD into every key prepared, the driver's first. On failure
  // puts back what it wrote, and returns the error of the write that failed.
  LONG Write();

  // Attributes, after a failed Prepare or Write
  // Whether no key holds what this change wrote any more: all was put back.
  BOOL IsUnchanged() const;
  // Where the new rate stands, in keys that held it before and in those written and not put back.
  BOOL IsInDriverKey() const { return m_nKeys > 0 && (m_pKeys[0].bWritten || m_pKeys[0].bOwnRate); }
  int GetMiceWithNewRate() const;
  int GetMouseCount() const { return m_nKeys > 0 ? m_nKeys - 1 : 0; }
  // What the failure left, as the report says it: "Nothing was changed.", or where the new rate
  // now stands.
  CString FormatFailureNote() const;

 private:
  // One key to write, and how to put it back.
  struct Key {
    HKEY hKey;       // null where not open
    BOOL bLeft;      // already read the rate: not written
    BOOL bCreated;   // a mouse's key created here: deleting it puts it back
    BOOL bHadValue;  // there was a value: put back its type and bytes
    DWORD dwType;
    BYTE* pData;
    DWORD cbData;
    BOOL bWritten;  // written, and not put back
    BOOL bOwnRate;  // left as it is, holding the new rate as a value of its own
  };
  // What key holds now, into its bHadValue, dwType, pData and cbData.
  static LONG ReadValue(Key* pKey);
  // Puts back every key written or created, the last first; a key that cannot be put back keeps
  // bWritten while it holds the new rate.
  void PutBack();
  // Whether hKey's value is still the new rate, as Write stored it.
  BOOL HoldsRate(HKEY hKey) const;

  const CPs2Mice* m_pMice = nullptr;
  Key* m_pKeys = nullptr;  // the driver's key first, then mouse n's at n + 1
  int m_nKeys = 0;
  DWORD m_dwRate = 0;  // the rate to write
};
