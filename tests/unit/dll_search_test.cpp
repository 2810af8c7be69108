// The application object limits the DLL search when it is constructed, before the program's own
// start-up: this runner's application object is Koravel's, so the limit is in force here.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

TEST(ApplicationObject, DllSearchIsLimitedBeforeStartUp) {
  char szPath[MAX_PATH];
  ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
  std::string planted(szPath);
  planted.replace(planted.rfind('\\') + 1, std::string::npos, "koravel_planted.dll");
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(planted.c_str()))
      << planted << " is missing: the test would prove nothing";
  EXPECT_EQ(nullptr, ::LoadLibraryA("koravel_planted.dll"));
}

}  // namespace
