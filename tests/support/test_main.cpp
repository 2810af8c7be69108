// The in-process test runner. Its application object is Koravel's own (theApp), set up as the
// framework sets it up: the dialogs find their resources and the application's name. It writes
// the registry of its Wine prefix: CTest starts it (support/in_test_prefix.sh) only in a prefix
// that scripts/test.sh made for the tests.
#include <afxwin.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL)) {
    return 2;
  }
  return RUN_ALL_TESTS();
}
