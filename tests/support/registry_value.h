// The value under test, "SampleRate" under the i8042 port driver's parameters key, as the registry
// holds it: its type and bytes, or kNoValue or kNoKey; and a fixture that removes the key after.
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

// Sets the value up byte for byte; true when it then reads back so. Under the driver's parameters
// key, or under the key lpszKey of HKEY_LOCAL_MACHINE.
bool SetStored(const Stored& value, LPCWSTR lpszKey = nullptr);
Stored ReadStored(LPCWSTR lpszKey = nullptr);

class RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override { SetStored(kNoKey); }
};
