// Applying a new rate: the prompt, what is written where and whether Windows is asked to restart.
#include <gtest/gtest.h>
#include <windows.h>
#include <setupapi.h>

#include "rates/sample_rate.h"
#include "settings/koravel_dlg.h"
#include "support/devices.h"
#include "support/faults.h"
#include "support/registry_value.h"
#include "support/ui_script.h"

namespace {

// A mouse with its own SampleRate.
using Mouse = std::pair<const char*, Stored>;
const std::wstring kParameters = L"" KORAVEL_PARAMETERS_KEY;

class ApplyTest : public RegistryTest {
 protected:
  void TearDown() override {
    for (const char* id : {kPs2, kPad, kUsb}) Uninstall(id);
    RegistryTest::TearDown();
    Reset();
  }
};

// clang-format off
std::string RateText(int nRate) {
  return !nRate ? "" : std::to_string(nRate) + " is not one of the rates PS/2 mice are made for (20, "
      "40, 60, 80, 100 and 200 reports a second). A mouse that refuses it does not work after the "
      "restart until the rate is set back, with the keyboard.\r\n\r\n";
}
// clang-format on
const std::string kNoMouseText =
    "No PS/2 mouse is installed, so no mouse changes now. The new rate applies to a PS/2 mouse "
    "installed later.\r\n\r\n";

// The slider's position (untouched: the stored rate clamped) is written as a 4-byte REG_DWORD into
// the driver's key, which grants only reading and setting values (and deleting, for the clean-up),
// and each PS/2 mouse's own key, created where there is none; not on NT 4.0. A change that fails
// leaves all as it was, or says where the rate stands; Windows is then not restarted.
TEST_F(ApplyTest, EachAnswerEachMouseAndChangesWholeOrNone) {
  // kPs2Gone, kKeyGone: another program deletes the first mouse's key, or the driver's, just
  // before the third write is refused, and every put-back is refused.
  // clang-format off
  enum Fault { kNone, kNt4, kRefused, kDeleted, kListing, kListingLocked, kLockHeld, kWrite3,
               kPs2Gone, kKeyGone };
  // clang-format on
  const struct {
    const char* what;
    Stored stored;
    WPARAM vk;  // a key pressed on the slider first, or 0
    int nAnswer;
    std::vector<Mouse> mice;
    const char* shown;  // the current rate
    Stored after;
    std::vector<Stored> miceAfter;  // each mouse's own value
    Fault fault = kNone;
    DWORD dwError = 0;  // reported, with the note
    std::string note = "Nothing was changed.";
    int nRateText = 0;  // the rate the prompt warns of
    bool bNoMouseText = false;
  } cases[] = {
      // clang-format off
      {"untouched, Yes", Dword(250), 0, IDYES, {{kPs2, kNoKey}}, "250", Dword(200), {Dword(200)}},
      {"Home, No", {REG_BINARY, {77}}, VK_HOME, IDNO, {{kPs2, Dword(150)}}, "150", Dword(20),
       {Dword(20)}},
      {"Page Up, Cancel", Dword(60), VK_PRIOR, IDCANCEL, {}, "60", Dword(60), {}, kNone, 0, "", 50,
       true},
      {"only a USB mouse, refused", Dword(60), VK_END, IDYES, {{kUsb, Dword(100)}}, "60",
       Dword(200), {Dword(100)}, kRefused, ERROR_PRIVILEGE_NOT_HELD,
       "The new rate is saved and takes effect when Windows next starts.", 0, true},
      {"Windows NT 4.0", Dword(60), VK_END, IDYES, {{kPs2, Dword(150)}}, "60", Dword(200),
       {Dword(150)}, kNt4},
      {"driver's key deleted", Dword(60), 0, IDYES, {{kPs2, Dword(100)}}, "100", kNoKey,
       {Dword(100)}, kDeleted, ERROR_KEY_DELETED},
      {"the listing fails part-way", Dword(60), VK_END, IDYES, {{kPs2, Dword(150)}, {kPad, kNoKey}},
       "150", Dword(60), {Dword(150), kNoKey}, kListing, ERROR_NOT_ENOUGH_MEMORY},
      {"the listing fails under the lock", Dword(60), VK_END, IDYES,
       {{kPs2, Dword(150)}, {kPad, kNoKey}}, "150", Dword(60), {Dword(150), kNoKey}, kListingLocked,
       ERROR_NOT_ENOUGH_MEMORY},
      {"another change holds the lock", Dword(60), VK_END, IDYES, {{kPs2, Dword(150)}}, "150",
       Dword(60), {Dword(150)}, kLockHeld, ERROR_INSTALL_ALREADY_RUNNING},
      {"a key refuses the write", {REG_BINARY, {77}}, VK_END, IDYES,
       {{kPs2, kNoKey}, {kPad, {REG_BINARY, {1, 2}}}}, "77", {REG_BINARY, {77}},
       {kNoKey, {REG_BINARY, {1, 2}}}, kWrite3, ERROR_ACCESS_DENIED},
      {"put-backs fail, a mouse's key gone", Dword(60), VK_END, IDYES,
       {{kPs2, Dword(150)}, {kPad, Dword(100)}}, "150", Dword(200), {kNoKey, Dword(100)},
       kPs2Gone, ERROR_ACCESS_DENIED, "The old rate could not be put back everywhere. The new "
       "rate is now in the driver's key, but in no PS/2 mouse's own key."},
      {"put-backs fail, the driver's key gone", Dword(60), VK_END, IDYES,
       {{kPs2, Dword(150)}, {kPad, Dword(100)}}, "150", kNoKey, {Dword(200), Dword(100)},
       kKeyGone, ERROR_ACCESS_DENIED, "The old rate could not be put back everywhere. The new "
       "rate is now in 1 of the 2 PS/2 mice's own keys, but not in the driver's key."},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    ASSERT_TRUE(SetStored(c.stored));
    ASSERT_TRUE(c.nAnswer == IDCANCEL ||
                Protect(L"" KORAVEL_PARAMETERS_KEY, "D:(A;;0x10003;;;WD)"));
    for (const auto& [id, own] : c.mice) Install(id, id == kUsb ? "mouhid" : "i8042prt", own);
    g_faults.bRefuseRestart = c.fault == kRefused, g_faults.bNt4 = c.fault == kNt4;
    g_faults.nFailWrite = c.fault >= kWrite3 ? 3 : 0, g_faults.bRefusePutBack = c.fault > kWrite3;
    g_faults.deleted = c.fault == kPs2Gone ? OwnKey(kPs2) : c.fault == kKeyGone ? kParameters : L"";
    CKoravelDlg dlg;
    MessageBoxes boxes(c.nAnswer);
    HWND hSettings = nullptr;
    std::string shown;
    UiScript script;
    script.EndsEarly(c.nAnswer != IDCANCEL);  // every answer but Cancel ends it, OK or the report
    script
        .On("Koravel Settings",
            [&](HWND hDlg) {
              hSettings = hDlg;
              EXPECT_TRUE(AccessWithin(KEY_QUERY_VALUE));
              shown = ItemText(hDlg, IDC_CURRENT_TEXT);
              if (c.vk != 0) {
                dlg.m_slider.SendMessage(WM_KEYDOWN, c.vk);
                EXPECT_EQ(std::to_string(dlg.m_slider.SendMessage(TBM_GETPOS)),
                          ItemText(hDlg, IDC_NEW_TEXT));
              }
              if (c.fault == kDeleted) SetStored(kNoKey);
              // The listing before the question, or the one under the lock, fails.
              g_faults.dwListingError = c.fault == kListing || c.fault == kListingLocked ? 8 : 0;
              g_faults.nFailListing = g_faults.nListings + 1 + (c.fault == kListingLocked);
              HoldChangeLock(c.fault == kLockHeld);
              ::SendMessageA(hDlg, WM_COMMAND, IDOK, 0);  // OK, the prompt and what follows it
            })
        .On("Koravel Settings", [&](HWND hDlg) { ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(c.nAnswer == IDCANCEL || c.dwError ? IDCANCEL : IDOK, dlg.DoModal());
    g_faults.dwListingError = 0, g_faults.bRefusePutBack = false;
    std::vector<Stored> miceAfter;
    for (const Mouse& mouse : c.mice) miceAfter.push_back(ReadStored(OwnKey(mouse.first).c_str()));
    // Only after a change that was stored. A mouse's key was opened to read at start-up, to read
    // and set values on OK.
    const std::vector<std::string> exits(c.nAnswer == IDYES && (!c.dwError || c.fault == kRefused),
                                         kDialogRestart);
    EXPECT_EQ(std::make_tuple(std::string(c.shown), c.after, c.miceAfter, exits),
              std::make_tuple(shown, ReadStored(), miceAfter, g_faults.restarts));
    EXPECT_TRUE(AccessWithin(KEY_QUERY_VALUE | KEY_SET_VALUE));
    // A listing that fails is reported at once: no question could say what the restart will do.
    std::vector<MessageBoxCall> expected;
    if (c.fault != kListing) {
      expected.emplace_back(hSettings,
                            RateText(c.nRateText) + (c.bNoMouseText ? kNoMouseText : "") +
                                "You must shutdown and restart for the change to take effect.",
                            "Shutdown?", MB_YESNOCANCEL | MB_ICONQUESTION, true);
    }
    if (c.dwError)
      expected.emplace_back(nullptr, SystemText(c.dwError) + c.note, "Error", 0x40, false);
    EXPECT_EQ(expected, boxes.calls);
  }
}

}  // namespace
