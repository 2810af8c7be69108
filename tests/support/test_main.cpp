// The in-process test runner. Its application object is Koravel's own (theApp), set up as the
// framework sets it up, so that the dialogs find their resources and the application's name.
#include <afxwin.h>
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // The tests write the registry of the Wine prefix that they run in, and change a key's
  // security: only in a prefix made for them (scripts/test.sh marks the ones it makes).
  if (::GetFileAttributesA("C:\\koravel-test-prefix") == INVALID_FILE_ATTRIBUTES) {
    std::fprintf(stderr,
                 "This is not a Wine prefix made for the tests; scripts/test.sh makes one. "
                 "Nothing was run.\n");
    return 1;
  }
  if (!AfxWinInit(::GetModuleHandleA(nullptr), nullptr, ::GetCommandLineA(), SW_SHOWNORMAL)) {
    return 2;
  }
  return RUN_ALL_TESTS();
}
