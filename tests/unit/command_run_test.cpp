// Koravel run from a script, in-process: each command line against a state of the registry and a
// fault, to its exit code, what it said on each stream, what is stored afterwards and whether
// Windows was asked to restart; two changes at once; the console's events.
#include <gtest/gtest.h>
#include <process.h>

#include "command_line/command_run.h"
#include "rates/change_lock.h"
#include "rates/sample_rate.h"
#include "support/devices.h"
#include "support/faults.h"
#include "support/registry_value.h"
#include "support/ui_script.h"
#include "win32/visible_desktop.h"

namespace {

struct Ran {
  int nExit;
  std::string out, err;
};

// Runs Koravel with args, its standard output and standard error each a pipe of the test's.
Ran RunKoravel(const std::wstring& args) {
  const DWORD nStd[2] = {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
  HANDLE hRead[2], hWrite[2], hOld[2] = {::GetStdHandle(nStd[0]), ::GetStdHandle(nStd[1])};
  for (int n = 0; n < 2; ++n)
    ::CreatePipe(&hRead[n], &hWrite[n], nullptr, 1 << 16), ::SetStdHandle(nStd[n], hWrite[n]);
  CCommandLine line((L"Koravel.exe " + args).c_str());
  Ran ran = {CCommandRun().Run(line), "", ""};
  char buffer[4096];
  for (int n = 0; n < 2; ++n) {
    ::SetStdHandle(nStd[n], hOld[n]), ::CloseHandle(hWrite[n]);
    for (DWORD cb; ::ReadFile(hRead[n], buffer, sizeof buffer, &cb, nullptr) && cb;)
      (n ? ran.err : ran.out).append(buffer, cb);
    ::CloseHandle(hRead[n]);
  }
  return ran;
}

class CommandRunTest : public RegistryTest {
 protected:
  void TearDown() override {
    for (const char* id : {kPs2, kPad}) Uninstall(id);
    RegistryTest::TearDown();
    Reset();
  }
};

// PS/2 mice, the first named with a tab and a letter beyond ASCII. Errors go to standard error
// only, the data to standard output (a pipe: in the OEM code page, JSON in ASCII); a mouse's key is
// opened to read, and, by /set, to read and set values. A failure never ends below 1, nor asks
// Windows to restart.
TEST_F(CommandRunTest, EachCommandLineToItsCodeItsStreamsAndWhatIsStored) {
  // clang-format off
  enum Fault { kNone, kNoSetupApi, kListing, kAbsent, kPartly, kRefused, kLocked, kReadOnly };
  // clang-format on
  const Stored kLong = {REG_QWORD, {100, 0, 0, 0, 0, 0, 0, 0}};
  const struct {
    const wchar_t* args;
    Stored driver;
    std::vector<std::pair<const char*, Stored>> mice;
    Fault fault;
    int nExit;
    std::string out, err;  // found in standard output and error; "": nothing there
    int nNew;  // the keys that hold 100 afterwards (the driver's bit 0, mouse n's bit n + 1)
    bool bRestart = false;
  } cases[] = {
      // clang-format off
      {L"/query", Dword(60), {{kPs2, Dword(100)}, {kPad, kNoKey}}, kNone, 0,
       "driver\t60\r\nmouse\tTab N\x84me\tACPI\\PNP0F13\\4&1D401FB5&0\t100\t100\r\n"
       "mouse\t\tACPI\\SYN0002\\4&1D401FB5&0\tnone\t60\r\n", "", 0},
      {L"/query", Dword(60), {{kPs2, kLong}}, kNone, ERROR_MORE_DATA,
       "\tunknown (error 234)\tunknown (error 234)\r\n", "Koravel: " + SystemText(234), 0},
      {L"/set 100", Dword(60), {{kPs2, kNoKey}}, kAbsent, 3010, "100 written in the own key of Tab", "",
       3},
      {L"/set 100", Dword(60), {{kPs2, Dword(60)}}, kNoSetupApi, ERROR_MOD_NOT_FOUND, "",
       "Nothing was changed.", 0},
      {L"/set 100", Dword(60), {{kPs2, Dword(60)}, {kPad, kNoKey}}, kListing, 0x2000020B, "",
       "Nothing was changed.", 0},
      {L"/set 100 /restart", Dword(60), {{kPs2, Dword(60)}}, kPartly, 0x20010001, "",
       "now in the driver's key, but in no PS/2 mouse's own key.", 1},
      {L"/set 100 /restart", Dword(60), {{kPs2, Dword(60)}}, kNone, 1641, "Windows is restarting.",
       "", 3, true},
      {L"/set 100 /restart", Dword(60), {{kPs2, Dword(60)}}, kRefused, 3010, "written in the own",
       "The new rate is saved", 3, true},
      {L"/check 100 /json", Dword(100), {{kPs2, kLong}, {kPad, kNoKey}}, kNone, 1, "{\"schema\":1,"
       "\"rate\":100,\"compliant\":false,\"driverRate\":100,\"mice\":[{\"name\":\"Tab\\u0009N\\u00e4me\","
       "\"instanceId\":\"ACPI\\\\PNP0F13\\\\4&1D401FB5&0\",\"ownRate\":{\"error\":234},\"rateAtStart\":"
       "{\"error\":234}},{\"name\":\"\",\"instanceId\":\"ACPI\\\\SYN0002\\\\4&1D401FB5&0\",\"ownRate\":"
       "null,\"rateAtStart\":100}]}\r\n", "", 1},
      {L"/check:100", {REG_BINARY, {100, 0, 0, 0}}, {{kPs2, Dword(60)}, {kPad, kNoKey}}, kNone, 1,
       "Koravel: not compliant with 100: the driver reads 100, not as a REG_DWORD; Tab N\x84me reads "
       "60; ACPI\\SYN0002\\4&1D401FB5&0 reads 100, not as a REG_DWORD.\r\n", "", 0},
      {L"/set 100", Dword(60), {{kPs2, Dword(60)}}, kLocked, 1618, "", "Nothing was changed.", 0},
      {L"/set 100", Dword(60), {{kPs2, Dword(60)}}, kReadOnly, 5, "", "Access denied.\r\nNothing was "
       "changed.", 0},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.fault << " " << c.nExit);
    TearDown();
    ASSERT_TRUE(SetStored(c.driver));
    for (const auto& [id, own] : c.mice)
      Install(id, "i8042prt", own, id == kPs2 ? "Tab\tN\xe4me" : 0);
    g_faults.bNoSetupApi = c.fault == kNoSetupApi, g_faults.bAbsent = c.fault == kAbsent;
    g_faults.dwListingError = c.fault == kListing ? 0xE000020B : 0;
    g_faults.nFailWrite = c.fault == kPartly ? 2 : 0;
    g_faults.bRefusePutBack = c.fault == kPartly, g_faults.bRefuseRestart = c.fault == kRefused;
    ASSERT_TRUE(c.fault != kReadOnly || Protect(OwnKey(kPs2), "D:(A;;KR;;;WD)"));
    HoldChangeLock(c.fault == kLocked);
    const Ran ran = RunKoravel(c.args);
    HoldChangeLock(false);
    std::vector<Stored> expected = {c.nNew & 1 ? Dword(100) : c.driver}, stored = {ReadStored()};
    for (size_t n = 0; n < c.mice.size(); ++n) {
      expected.push_back(c.nNew >> (n + 1) & 1 ? Dword(100) : c.mice[n].second);
      stored.push_back(ReadStored(OwnKey(c.mice[n].first).c_str()));
    }
    EXPECT_EQ(
        std::make_tuple(c.nExit, expected, std::vector<std::string>(c.bRestart, kScriptRestart)),
        std::make_tuple(ran.nExit, stored, g_faults.restarts));
    for (const auto& [got, part] : {std::make_pair(ran.out, c.out), std::make_pair(ran.err, c.err)})
      EXPECT_TRUE(part.empty() ? got.empty() : got.find(part) != std::string::npos) << got;
    EXPECT_TRUE(AccessWithin(KEY_QUERY_VALUE | (c.args[1] == L's' ? KEY_SET_VALUE : 0)));
  }
}

// /check N ends 0 exactly where /set N then writes nothing, 1 exactly where it writes, and with
// the error of /set where that fails; it writes nothing itself. For each rate, each state: all
// read N; the driver differs; a mouse differs; a mouse without a value of its own, the driver at
// N; no PS/2 mouse, the driver differing; the driver's key missing; the driver's key unreadable.
TEST_F(CommandRunTest, CheckEndsZeroExactlyWhereSetWritesNothing) {
  const unsigned long kN = 0, kOther = 1, kNone = 2;  // the rate checked, another, no key
  const std::tuple<unsigned long, std::vector<unsigned long>, int> states[] = {
      {kN, {kN, kN}, 0}, {kOther, {kN, kN}, 1}, {kN, {kN, kOther}, 1}, {kN, {kNone}, 0},
      {kOther, {}, 1},   {kNone, {kN}, 2},      {kN, {kN}, 5}};
  const std::wstring keys[] = {L"" KORAVEL_PARAMETERS_KEY, OwnKey(kPs2), OwnKey(kPad)};
  for (const unsigned long nRate : {10, 20, 40, 60, 80, 100, 200}) {
    for (const auto& [driver, mice, nCheck] : states) {
      SCOPED_TRACE(testing::Message() << nRate << " " << nCheck << " " << mice.size());
      TearDown();
      const auto Value = [&](unsigned long n) {
        return n == kNone ? kNoKey : Dword(n == kN ? nRate : nRate % 7 + 11);
      };
      ASSERT_TRUE(SetStored(Value(driver)));
      for (size_t n = 0; n < mice.size(); ++n) Install(n ? kPad : kPs2, "i8042prt", Value(mice[n]));
      ASSERT_TRUE(nCheck != 5 || Protect(keys[0], "D:(A;;SD;;;WD)"));
      const auto Stored = [&] {
        std::vector<::Stored> all;
        for (size_t n = 0; n <= mice.size(); ++n) all.push_back(ReadStored(keys[n].c_str()));
        return all;
      };
      const auto before = Stored();
      EXPECT_EQ(nCheck, RunKoravel(L"/check " + std::to_wstring(nRate)).nExit);
      EXPECT_EQ(before, Stored());
      const int nSet = RunKoravel(L"/set " + std::to_wstring(nRate)).nExit;
      EXPECT_EQ(nCheck == 1, before != Stored()) << nSet;
      EXPECT_TRUE(nCheck == 1 ? nSet == 0 || nSet == 3010 : nSet == nCheck) << nSet;
    }
  }
}

// A second change, started while the first has written the driver's key and not yet the mouse's,
// waits for it: the keys end agreeing, whichever wrote last.
TEST_F(CommandRunTest, ASecondChangeWaitsForTheFirst) {
  ASSERT_TRUE(SetStored(Dword(60)));
  Install(kPs2, "i8042prt", Dword(60));
  char szKoravel[MAX_PATH];
  strcpy(strrchr((::GetModuleFileNameA(nullptr, szKoravel, MAX_PATH), szKoravel), '\\') + 1,
         "koravel_planted.dll");
  HANDLE hChild = nullptr;
  g_faults.onWrite = [&](int n) {
    if (n != 2) return;
    hChild = HANDLE(_spawnl(_P_NOWAIT, szKoravel, "Koravel.exe", "/set", "200", nullptr));
    ::WaitForSingleObject(hChild, 3000);  // done by then, unless it waits for the lock
  };
  EXPECT_EQ(3010, RunKoravel(L"/set 100").nExit);
  DWORD dwExit = 0;
  ::WaitForSingleObject(hChild, 30000), ::GetExitCodeProcess(hChild, &dwExit);
  ::CloseHandle(hChild);
  EXPECT_EQ(ReadStored(), ReadStored(OwnKey(kPs2).c_str()));
  EXPECT_TRUE(dwExit == 3010 || dwExit == 1618) << dwExit;
  EXPECT_EQ(dwExit == 3010 ? Dword(200) : Dword(100), ReadStored());  // the one that waited last
}

DWORD WINAPI CloseConsole(void*) { return CCommandRun::OnConsoleEvent(CTRL_CLOSE_EVENT) + 2; }

// Ctrl+C and Ctrl+Break at the console are ignored. A console that closes during a change ends
// Koravel (through the system's handler) only once the change is whole, and no change begins
// after it. In a second runner: no change of this one's could begin after it.
TEST_F(CommandRunTest, TheConsoleNeverCutsAChangeInHalf) {
  if (!::getenv("KORAVEL_CLOSING")) {
    EXPECT_EQ(0, RunAgain("*TheConsole*", "KORAVEL_CLOSING=1"));
    return;
  }
  ASSERT_TRUE(SetStored(Dword(60)));
  Install(kPs2, "i8042prt", Dword(60));
  for (DWORD dwEvent : {CTRL_C_EVENT, CTRL_BREAK_EVENT, CTRL_LOGOFF_EVENT})
    EXPECT_TRUE(CCommandRun::OnConsoleEvent(dwEvent));
  HANDLE hClosing = nullptr;
  g_faults.onWrite = [&](int n) {
    if (n != 2) return;
    hClosing = ::CreateThread(nullptr, 0, CloseConsole, nullptr, 0, nullptr);
    EXPECT_EQ(WAIT_TIMEOUT, ::WaitForSingleObject(hClosing, 200));
  };
  EXPECT_EQ(3010, RunKoravel(L"/set 100").nExit);
  DWORD dwClosed = 0;
  ::WaitForSingleObject(hClosing, 5000), ::GetExitCodeThread(hClosing, &dwClosed);
  ::CloseHandle(hClosing);
  EXPECT_EQ(2, dwClosed);  // FALSE: on to the system's handler
  EXPECT_EQ(ERROR_OPERATION_ABORTED, RunKoravel(L"/set 200").nExit);
  EXPECT_EQ(std::make_pair(Dword(100), Dword(100)),
            std::make_pair(ReadStored(), ReadStored(OwnKey(kPs2).c_str())));
}

// Session 0 of Windows Vista and later holds services only: no one sees a window there.
TEST(VisibleDesktop, NotInSession0) {
  const bool bVisible = IsDesktopVisible();
  g_faults.bSession0 = true;
  EXPECT_EQ(std::make_pair(true, false), std::make_pair(bVisible, !!IsDesktopVisible()));
  Reset();
}

}  // namespace
