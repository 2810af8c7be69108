// The DLL search of a process before and after it is limited: a DLL planted beside the executable
// is found until then, and never after. A process of its own, so that nothing has limited the
// search before the test looks.
#include <gtest/gtest.h>

#include "app/dll_search.h"

namespace {

const char kPlanted[] = "koravel_planted.dll";  // built beside this executable

TEST(DllSearch, DllBesideTheExecutableIsNotLoadedOnceTheSearchIsLimited) {
  HMODULE hPlanted = ::LoadLibraryA(kPlanted);
  ASSERT_NE(nullptr, hPlanted) << "the planted DLL must be found without the limit, or this "
                                  "test proves nothing; error "
                               << ::GetLastError();
  ::FreeLibrary(hPlanted);
  ASSERT_EQ(nullptr, ::GetModuleHandleA(kPlanted));

  ASSERT_TRUE(RestrictDllSearchToSystem());

  ::SetLastError(0);
  EXPECT_EQ(nullptr, ::LoadLibraryA(kPlanted));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), ::GetLastError());
  // Nor from the current directory, which is the executable's folder here too.
  char szExe[MAX_PATH];
  ::GetModuleFileNameA(nullptr, szExe, MAX_PATH);
  *::strrchr(szExe, '\\') = '\0';
  ASSERT_TRUE(::SetCurrentDirectoryA(szExe));
  EXPECT_EQ(nullptr, ::LoadLibraryA(kPlanted));
  // The system's own DLLs load as before.
  HMODULE hSystem = ::LoadLibraryA("version.dll");
  EXPECT_NE(nullptr, hSystem);
  if (hSystem != nullptr) ::FreeLibrary(hSystem);
}

}  // namespace
