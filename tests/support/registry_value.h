// "SampleRate" as the registry holds it (type and bytes, kNoValue or kNoKey); a fixture that
// removes the driver's key after each test.
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

// The value under the driver's key, or under HKLM\lpszKey, byte for byte; true if it reads so.
bool SetStored(const Stored& value, LPCWSTR lpszKey = nullptr);
Stored ReadStored(LPCWSTR lpszKey = nullptr);

class RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override { SetStored(kNoKey); }
};
