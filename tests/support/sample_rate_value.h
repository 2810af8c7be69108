// The registry value under test, "SampleRate" under the i8042 port driver's parameters key:
// reading it byte for byte, setting it up in any state, and putting back what was there.
#pragma once

#include <windows.h>

#include <ostream>
#include <vector>

struct StoredValue {
  enum State { kNoKey, kNoValue, kPresent };
  State state = kNoKey;
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;

  static StoredValue Dword(DWORD dwValue);
  static StoredValue Raw(DWORD type, std::vector<BYTE> bytes);
  static StoredValue NoValue();
  static StoredValue NoKey();
  bool operator==(const StoredValue& other) const;
  bool operator!=(const StoredValue& other) const { return !(*this == other); }
};
std::ostream& operator<<(std::ostream& out, const StoredValue& value);

// Sets the value up for one test case and restores what was there before when it goes.
class SampleRateValue {
 public:
  SampleRateValue();
  ~SampleRateValue();
  SampleRateValue(const SampleRateValue&) = delete;
  SampleRateValue& operator=(const SampleRateValue&) = delete;

  static StoredValue Read();
  // Sets the value up as given (creating the key, or deleting the value or the key); TRUE when
  // it then reads back as given.
  static bool Write(const StoredValue& value);
  // Gives the key a DACL that lets everyone read it and nothing more, so that opening it for full
  // access fails with ERROR_ACCESS_DENIED; FALSE gives it full access again.
  static bool Deny(bool bDeny);

 private:
  StoredValue m_saved;
};
