// Start-up against random content of the value: every registry type from REG_NONE to REG_QWORD,
// 0 to 16 bytes, random bytes. Each run must either show the rate or report exactly one error,
// and must leave the value's type and bytes as they were. Many values run in this one process, a
// modal run each, as they would in as many starts of the program.
//
// The values come from a seeded generator: KORAVEL_FUZZ_SEED picks another seed, and a failure
// names the seed and the case, so that any run can be repeated.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>

#include "settings/koravel_dlg.h"
#include "tests/support/sample_rate_value.h"
#include "tests/support/text.h"
#include "tests/support/ui_script.h"

namespace {

// The program's own names, as wide strings.
const wchar_t kKey[] = L"" KORAVEL_PARAMETERS_KEY;
const wchar_t kValue[] = L"" KORAVEL_SAMPLE_RATE_VALUE;
const unsigned kDefaultSeed = 20261207;
const int kTypes = REG_QWORD + 1;  // REG_NONE (0) to REG_QWORD (11)
const int kSizes = 17;             // 0 to 16 bytes
const int kCases = 300;            // every type and size once, then random ones

// The value as the registry holds it: the wide functions, which convert nothing.
bool WriteExact(DWORD type, const std::vector<BYTE>& bytes) {
  HKEY hKey = nullptr;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                        nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG lResult =
      ::RegSetValueExW(hKey, kValue, 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
  ::RegCloseKey(hKey);
  return lResult == ERROR_SUCCESS;
}

StoredValue ReadExact() {
  StoredValue value = StoredValue::NoValue();
  HKEY hKey = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS) {
    return StoredValue::NoKey();
  }
  DWORD type = 0;
  BYTE bytes[64];
  DWORD cbData = sizeof bytes;
  if (::RegQueryValueExW(hKey, kValue, nullptr, &type, bytes, &cbData) == ERROR_SUCCESS) {
    value = StoredValue::Raw(type, std::vector<BYTE>(bytes, bytes + cbData));
  }
  ::RegCloseKey(hKey);
  return value;
}

// What start-up must show for the stored value: the rate, or the error code of the read.
struct Expected {
  LONG lResult;
  std::string rate;
};

Expected Expect(const StoredValue& stored) {
  if (stored.type == REG_SZ || stored.type == REG_EXPAND_SZ || stored.type == REG_MULTI_SZ) {
    // The ANSI functions hand strings over converted to the ANSI code page; what the program
    // reads is that conversion, which only the system can tell.
    HKEY hKey = nullptr;
    ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, KORAVEL_PARAMETERS_KEY, 0, KEY_QUERY_VALUE, &hKey);
    DWORD dwRate = 0;
    DWORD cbData = sizeof dwRate;
    const LONG lResult = ::RegQueryValueExA(hKey, KORAVEL_SAMPLE_RATE_VALUE, nullptr, nullptr,
                                            reinterpret_cast<BYTE*>(&dwRate), &cbData);
    ::RegCloseKey(hKey);
    return {lResult, std::to_string(static_cast<int>(dwRate))};
  }
  if (stored.bytes.size() > sizeof(DWORD)) return {ERROR_MORE_DATA, ""};
  DWORD dwRate = 0;
  for (size_t i = 0; i < stored.bytes.size(); ++i) dwRate |= DWORD{stored.bytes[i]} << (8 * i);
  return {ERROR_SUCCESS, std::to_string(static_cast<int>(dwRate))};
}

TEST(StartupFuzz, AnyContentShowsTheRateOrOneErrorAndIsLeftAsItWas) {
  const char* pszSeed = std::getenv("KORAVEL_FUZZ_SEED");
  const unsigned seed = pszSeed != nullptr ? std::strtoul(pszSeed, nullptr, 10) : kDefaultSeed;
  std::mt19937 random(seed);
  SampleRateValue restore;
  int counts[kTypes][kSizes] = {};
  int nShown = 0;

  for (int nCase = 0; nCase < kCases && !::testing::Test::HasFailure(); ++nCase) {
    const bool bEvery = nCase < kTypes * kSizes;
    const DWORD type = bEvery ? nCase % kTypes : random() % kTypes;
    const size_t size = bEvery ? nCase / kTypes : random() % kSizes;
    std::vector<BYTE> bytes(size);
    for (BYTE& b : bytes) b = static_cast<BYTE>(random());
    std::ostringstream trace;
    trace << "seed " << seed << ", case " << nCase << ": " << StoredValue::Raw(type, bytes);
    SCOPED_TRACE(trace.str());
    ASSERT_TRUE(WriteExact(type, bytes));
    // What the registry holds: Wine's 64-bit registry ends a string that was written without a
    // terminator with one.
    const StoredValue stored = ReadExact();
    ASSERT_EQ(type, stored.type);
    const Expected expected = Expect(stored);
    ++counts[type][size];

    CKoravelDlg dlg;
    std::vector<MessageBoxInfo> errors;
    std::string current = "(never shown)", next;
    UiScript script;
    script.AnswerEvery("Error", IDOK, &errors);
    script.WaitUntil(
        [&] { return !errors.empty() || UiScript::FindThreadWindow("Koravel Settings"); },
        "the rate or an error");
    script.Then([&] {
      if (!errors.empty()) return;
      current = ItemText(dlg.m_hWnd, IDC_CURRENT_TEXT);
      next = ItemText(dlg.m_hWnd, IDC_NEW_TEXT);
      ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());

    if (expected.lResult == ERROR_SUCCESS) {
      EXPECT_TRUE(errors.empty());
      EXPECT_EQ(expected.rate, current);
      EXPECT_EQ(expected.rate, next);
      ++nShown;
    } else {
      ASSERT_EQ(1u, errors.size()) << "one report for one failed read";
      EXPECT_EQ(SystemText(static_cast<DWORD>(expected.lResult)), errors[0].text);
    }
    EXPECT_EQ(stored, ReadExact()) << "Cancel leaves the value as it was";
  }

  std::ostringstream summary;
  summary << "seed " << seed << ": " << kCases << " values, " << nShown
          << " shown, the rest reported; by type (count for 0..16 bytes):";
  for (int type = 0; type < kTypes; ++type) {
    summary << "\n  type " << type << ":";
    for (int size = 0; size < kSizes; ++size) summary << ' ' << counts[type][size];
  }
  std::printf("%s\n", summary.str().c_str());
}

}  // namespace
