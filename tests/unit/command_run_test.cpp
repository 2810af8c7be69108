// Koravel run from a script, in-process: each command line against a state of the registry and a
// fault, to its exit code, what it said on each stream, what is stored afterwards and whether
// Windows was asked to restart; two changes at once; the console's events.
#include <gtest/gtest.h>

#include "command_line/command_run.h"
#include "rates/change_lock.h"
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

// Holds the change lock, as another run would, until released.
HANDLE g_hHeld = ::CreateEventA(nullptr, FALSE, FALSE, nullptr),
       g_hRelease = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
DWORD WINAPI HoldLock(void*) {
  const CChangeLock lock;
  return ::SetEvent(g_hHeld), ::WaitForSingleObject(g_hRelease, INFINITE);
}

// PS/2 mice, the first named with a tab. Errors go to standard error only, the data to standard
// output; a mouse's key is opened to read, and, by /set, to read and set values. A failure never
// ends below 1, nor asks Windows to restart.
TEST_F(CommandRunTest, EachCommandLineToItsCodeItsStreamsAndWhatIsStored) {
  enum Fault { kNone, kNoSetupApi, kListing, kAbsent, kWrite2, kPartly, kRefused, kLocked };
  const Stored kLong = {REG_QWORD, {100, 0, 0, 0, 0, 0, 0, 0}};
  const struct {
    const wchar_t* args;
    Stored driver;
    std::vector<std::pair<const char*, Stored>> mice;
    Fault fault;
    int nExit;
    std::string out, err;  // found in standard output and error; "": nothing there
    Stored driverAfter;
    std::vector<Stored> miceAfter;
    bool bRestart = false;
  } cases[] = {
      // clang-format off
      {L"/query", Dword(60), {{kPs2, Dword(100)}, {kPad, kNoKey}}, kNone, 0,
       "driver\t60\r\nmouse\tTab Name\tACPI\\PNP0F13\\4&1D401FB5&0\t100\t100\r\n"
       "mouse\t\tACPI\\SYN0002\\4&1D401FB5&0\tnone\t60\r\n", "", Dword(60), {Dword(100), kNoKey}},
      {L"/query", Dword(60), {{kPs2, kLong}}, kNone, ERROR_MORE_DATA,
       "\tunknown (error 234)\tunknown (error 234)\r\n", "Koravel: " + SystemText(234), Dword(60),
       {kLong}},
      {L"/set 100", Dword(100), {{kPs2, kNoKey}}, kNone, 0, "already read 100; nothing was written",
       "", Dword(100), {kNoKey}},
      {L"/set 100", Dword(60), {{kPs2, kNoKey}}, kAbsent, 3010, "100 written in the own key of Tab",
       "", Dword(100), {Dword(100)}},
      {L"/set 100", kNoValue, {{kPs2, Dword(60)}}, kNone, 2, "", "Nothing was changed.", kNoValue,
       {Dword(60)}},
      {L"/set 100", Dword(60), {{kPs2, Dword(60)}}, kNoSetupApi, ERROR_MOD_NOT_FOUND, "",
       "Nothing was changed.", Dword(60), {Dword(60)}},
      {L"/set 100", Dword(60), {{kPs2, Dword(60)}, {kPad, kNoKey}}, kListing, 0x2000020B, "",
       "Nothing was changed.", Dword(60), {Dword(60), kNoKey}},
      {L"/set 100 /restart", Dword(60), {{kPs2, Dword(60)}}, kWrite2, 5, "",
       "Access denied.\r\nNothing was changed.", Dword(60), {Dword(60)}},
      {L"/set 100 /restart", Dword(60), {{kPs2, Dword(60)}}, kPartly, 0x20010001, "",
       "now in the driver's key, but in no PS/2 mouse's own key.", Dword(100), {Dword(60)}},
      {L"/set 100 /restart", Dword(60), {{kPs2, Dword(60)}}, kNone, 1641, "Windows is restarting.",
       "", Dword(100), {Dword(100)}, true},
      {L"/set 100 /restart", Dword(60), {{kPs2, Dword(60)}}, kRefused, 3010, "written in the own",
       "The new rate is saved", Dword(100), {Dword(100)}, true},
      {L"/restart", Dword(60), {}, kNone, 87, "", "/restart goes only with /set", Dword(60), {}},
      {L"/set 100", Dword(60), {{kPs2, Dword(60)}}, kLocked, 1618, "", "Nothing was changed.",
       Dword(60), {Dword(60)}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.fault << " " << c.nExit);
    TearDown();
    ASSERT_TRUE(SetStored(c.driver));
    for (const auto& [id, own] : c.mice) Install(id, "i8042prt", own, id == kPs2 ? "Tab\tName" : 0);
    g_faults.bNoSetupApi = c.fault == kNoSetupApi, g_faults.bAbsent = c.fault == kAbsent;
    g_faults.dwListingError = c.fault == kListing ? 0xE000020B : 0;
    g_faults.nFailWrite = c.fault == kWrite2 || c.fault == kPartly ? 2 : 0;
    g_faults.bRefusePutBack = c.fault == kPartly, g_faults.bRefuseRestart = c.fault == kRefused;
    HANDLE hHolder = c.fault == kLocked ? ::CreateThread(0, 0, HoldLock, 0, 0, 0) : nullptr;
    ASSERT_TRUE(!hHolder || ::WaitForSingleObject(g_hHeld, 5000) == WAIT_OBJECT_0);
    const Ran ran = RunKoravel(c.args);
    if (hHolder)
      ::SetEvent(g_hRelease), ::WaitForSingleObject(hHolder, 5000), ::CloseHandle(hHolder);
    std::vector<Stored> miceAfter;
    for (const auto& mouse : c.mice) miceAfter.push_back(ReadStored(OwnKey(mouse.first).c_str()));
    EXPECT_EQ(std::make_tuple(c.nExit, c.driverAfter, c.miceAfter,
                              std::vector<std::string>(c.bRestart, kScriptRestart)),
              std::make_tuple(ran.nExit, ReadStored(), miceAfter, g_faults.restarts));
    EXPECT_TRUE(c.out.empty() ? ran.out.empty() : ran.out.find(c.out) != std::string::npos)
        << ran.out;
    EXPECT_TRUE(c.err.empty() ? ran.err.empty() : ran.err.find(c.err) != std::string::npos)
        << ran.err;
    EXPECT_TRUE(AccessWithin(KEY_QUERY_VALUE | (c.args[1] == L's' ? KEY_SET_VALUE : 0)));
  }
}

DWORD WINAPI CloseConsole(void*) { return CCommandRun::OnConsoleEvent(CTRL_CLOSE_EVENT) + 2; }

// A second change, started while the first has written the driver's key and not yet the mouse's,
// waits for it: the keys end agreeing, whichever wrote last. A console that closes meanwhile ends
// Koravel (through the system's handler) only once the change is whole; Ctrl+C and Ctrl+Break at
// it are ignored.
TEST_F(CommandRunTest, NoOtherChangeNorTheConsoleCutsAChangeInHalf) {
  ASSERT_TRUE(SetStored(Dword(60)));
  Install(kPs2, "i8042prt", Dword(60));
  char szKoravel[MAX_PATH], szLine[] = "Koravel.exe /set 200";
  strcpy(strrchr((::GetModuleFileNameA(nullptr, szKoravel, MAX_PATH), szKoravel), '\\') + 1,
         "koravel_planted.dll");
  PROCESS_INFORMATION child = {};
  HANDLE hClosing = nullptr;
  g_faults.onWrite = [&](int n) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup,
    startup.dwFlags = STARTF_USESTDHANDLES;  // and none: it says nothing
    if (n != 2) return;
    hClosing = ::CreateThread(nullptr, 0, CloseConsole, nullptr, 0, nullptr);
    ASSERT_TRUE(::CreateProcessA(szKoravel, szLine, 0, 0, 0, 0, 0, 0, &startup, &child));
    ::WaitForSingleObject(child.hProcess, 3000);  // done by then, unless it waits for the lock
    EXPECT_EQ(WAIT_TIMEOUT, ::WaitForSingleObject(hClosing, 0));
  };
  EXPECT_EQ(3010, RunKoravel(L"/set 100").nExit);
  DWORD dwExit = 0, dwClosed = 0;
  ::WaitForSingleObject(child.hProcess, 30000), ::GetExitCodeProcess(child.hProcess, &dwExit);
  ::WaitForSingleObject(hClosing, 5000), ::GetExitCodeThread(hClosing, &dwClosed);
  for (HANDLE h : {child.hProcess, child.hThread, hClosing}) ::CloseHandle(h);
  EXPECT_EQ(ReadStored(), ReadStored(OwnKey(kPs2).c_str()));
  EXPECT_TRUE(dwExit == 3010 || dwExit == 1618) << dwExit;
  EXPECT_EQ(2, dwClosed);  // FALSE: on to the system's handler
  EXPECT_TRUE(CCommandRun::OnConsoleEvent(CTRL_C_EVENT));
  EXPECT_TRUE(CCommandRun::OnConsoleEvent(CTRL_BREAK_EVENT));
}

// Session 0 of Windows Vista and later holds services only: no one sees a window there.
TEST(VisibleDesktop, NotInSession0) {
  EXPECT_TRUE(IsDesktopVisible());
  g_faults.bSession0 = true;
  EXPECT_FALSE(IsDesktopVisible());
  Reset();
}

}  // namespace
