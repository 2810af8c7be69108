// The in-process test runner, whose application object is Koravel's own (theApp), set up as the
// framework does. It writes its prefix's registry: CTest starts it only in a prefix for the tests.
#include <afxwin.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL)) {
    return 2;
  }
  return RUN_ALL_TESTS();
}
