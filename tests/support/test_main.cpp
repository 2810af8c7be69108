// The in-process test runner. Its application object is Koravel's own (theApp), set up as the
// framework sets it up: the dialogs find their resources and the application's name.
#include <afxwin.h>
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // The tests write the registry of their Wine prefix: only one that scripts/test.sh made for them.
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
