// The registry value under test, "SampleRate" under the i8042 port driver's parameters key, as
// the registry holds it: its type and bytes, or kNoValue or kNoKey. A fixture removes the key
// after each test.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <utility>
#include <vector>

using Stored = std::pair<DWORD, std::vector<BYTE>>;
const Stored kNoValue = {0xFFFFFFFE, {}};
const Stored kNoKey = {0xFFFFFFFF, {}};
inline Stored Dword(DWORD dw) {
  return {REG_DWORD, {BYTE(dw), BYTE(dw >> 8), BYTE(dw >> 16), BYTE(dw >> 24)}};
}

// Sets the value up byte for byte (creating the key, or deleting the value or the key); true
// when it then reads back so.
bool SetStored(const Stored& value);
Stored ReadStored();
// Lets everyone only read the key, so that opening it for full access fails with access denied;
// false lets everyone do anything again.
bool DenyFullAccess(bool bDeny);

class RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    DenyFullAccess(false);
    SetStored(kNoKey);
  }
};
