// The error report and close handler, the system commands, the About box, the questionnaire,
// the DLL search, and the class library's CString formatting and CArray.
#include <gtest/gtest.h>

#include <afxtempl.h>

#include <functional>

#include "platform_gate/wrong_platform_dlg.h"
#include "settings/koravel_dlg.h"
#include "support/import_hook.h"
#include "support/registry_value.h"
#include "support/ui_script.h"

namespace {

class CTestDlg : public CKoravelDlg {
 public:
  using CKoravelDlg::m_hKey;
};

class DialogsTest : public RegistryTest {
 protected:
  void SetUp() override { ASSERT_TRUE(SetStored(Dword(120))); }
};

// Through the import table: each RegCloseKey; the system's texts, with one Wine lacks for a
// SetupAPI HRESULT.
std::vector<HKEY> g_closed;
IMPORT_HOOK("advapi32.dll", RegCloseKey, CloseKey);
LONG WINAPI CloseKey(HKEY hKey) {
  g_closed.push_back(hKey);
  return CloseKeyImport.Original<decltype(&CloseKey)>()(hKey);
}
const char kSetupApiText[] = "The device instance does not exist.\r\n";
IMPORT_HOOK("kernel32.dll", FormatMessageA, Text);
DWORD WINAPI Text(DWORD dwFlags, LPCVOID p, DWORD dwCode, DWORD dwLang, LPSTR psz, DWORD cch,
                  va_list* pArgs) {
  if (dwCode == 0x800F0208) return lstrlenA(lstrcpynA(psz, kSetupApiText, cch));
  return TextImport.Original<decltype(&Text)>()(dwFlags, p, dwCode, dwLang, psz, cch, pArgs);
}
// The report disables the dialog under its ownerless box (against a second OK). A second close
// must not close the key again: its handle value may by then be another key's.
TEST_F(DialogsTest, ErrorReportShowsTheSystemTextThenClosesTheKeyOnceAndTheDialog) {
  const std::pair<DWORD, std::string> cases[] = {
      {ERROR_ACCESS_DENIED, "Access denied.\r\n"},
      {ERROR_BAD_EXE_FORMAT, SystemText(ERROR_BAD_EXE_FORMAT)},  // holds "%1": shown as it stands
      {0xE0000208, kSetupApiText},  // SetupAPI's own, known to the system as 0x800F0208
      {0x20000005, "Windows has no description of error 536870917 (0x20000005)."},  // none
  };
  for (const auto& [dwCode, text] : cases) {
    CTestDlg dlg;
    MessageBoxes boxes;
    UiScript script;
    HKEY hKey = nullptr;
    script.On("Koravel Settings", [&, dwCode = dwCode](HWND hDlg) {
      hKey = dlg.m_hKey, g_closed.clear();
      dlg.ReportError(dwCode);
      EXPECT_EQ(std::vector<HKEY>{hKey}, g_closed) << "closed by the time the report returns";
      ::SendMessageA(hDlg, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(std::vector<HKEY>{hKey}, g_closed);
    EXPECT_EQ(std::vector<MessageBoxCall>({{nullptr, text, "Error", 0x40, false}}), boxes.calls);
  }
}

// Each reason gets its own reply (told by its caption; the last's is the application's name),
// with OK only; no reason checked, or Escape, gets none.
TEST(Questionnaire, EachReasonGetsItsReplyAndNoReasonOrEscapeNone) {
  const char* const kCaptions[] = {"Ignorance is no excuse!", "That makes sense.", "Yee Haw!",
                                   "Somehow, I doubt it.", "koravel_tests"};
  const int kUntouched = -2, kNone = -1;
  const std::tuple<int, WPARAM, int> cases[] = {
      {0, IDOK, 0}, {1, IDOK, 1},          {2, IDOK, 2},      {3, IDOK, 3},
      {4, IDOK, 4}, {kUntouched, IDOK, 0}, {kNone, IDOK, -1}, {kUntouched, IDCANCEL, -1}};
  for (const auto& [nCheck, command, nReply] : cases) {
    CWrongPlatformDlg dlg;
    MessageBoxes replies;
    HWND hQuestionnaire = nullptr;
    UiScript script;
    script.On("You have chosen to run this program on something other than NT", [&](HWND hWnd) {
      hQuestionnaire = hWnd;
      EXPECT_LE(OffCentre(hWnd), 4) << "on the work area, with no owner in view";
      if (nCheck == kNone) ::CheckDlgButton(hWnd, IDC_CHOICE1, BST_UNCHECKED);
      if (nCheck >= 0) ::CheckRadioButton(hWnd, IDC_CHOICE1, IDC_CHOICE5, IDC_CHOICE1 + nCheck);
      ::PostMessageA(hWnd, WM_COMMAND, command, 0);
    });
    EXPECT_EQ(int(command), dlg.DoModal());
    std::vector<std::tuple<HWND, std::string, UINT>> got, expected;
    for (const auto& [hOwner, text, caption, uType, bInput] : replies.calls)
      got.emplace_back(hOwner, caption, uType);
    if (nReply >= 0) expected.emplace_back(hQuestionnaire, kCaptions[nReply], MB_OK);
    EXPECT_EQ(expected, got) << nCheck;
  }
}

// The runner's application object, Koravel's, limits the DLL search: a DLL beside it is not found.
TEST(DllSearch, DllBesideTheExecutableIsNotFoundByName) {
  char szPath[MAX_PATH];
  ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
  strcpy(strrchr(szPath, '\\') + 1, "koravel_planted.dll");
  HMODULE hPlanted = ::LoadLibraryA(szPath);
  ASSERT_NE(nullptr, hPlanted) << szPath;
  ::FreeLibrary(hPlanted);
  EXPECT_EQ(nullptr, ::LoadLibraryA("koravel_planted.dll"));
}

struct Counted {  // counts the live ones, and reads -1 once destroyed
  Counted(int n = 0) : n(n) { ++nLive; }
  Counted(const Counted& other) : Counted(other.n) {}
  Counted& operator=(const Counted&) = default;
  ~Counted() { n = -1, --nLive; }
  int n;
  static inline int nLive = 0;
};

// Elements added one by one, every fifth a copy of the first (an element of the array itself,
// while the array grows), are there in order, each constructed and destroyed once; RemoveAll
// destroys them all, and leaves the array ready for more.
TEST(CArray, KeepsEachElementAddedInOrderAsItGrowsAndRemovesAll) {
  CArray<Counted, const Counted&> array;
  std::vector<int> expected, got;
  for (int n = 0; n < 40; ++n) {
    expected.push_back(n % 5 == 4 ? 0 : n);
    n % 5 == 4 ? array.Add(array[0]) : array.Add(Counted(n));
    got.push_back(array[n].n);
  }
  const int nLive = Counted::nLive;
  array.RemoveAll();
  const int nAfter = Counted::nLive;
  EXPECT_EQ(std::make_tuple(expected, 40, 0, 0), std::make_tuple(got, nLive, nAfter, array.Add(7)));
}

// Formatting fits the buffer's first size, one past it, and FORMAT_MAX; past that, or on an
// encoding error (which MSVCRT reports as a buffer too small), the string is left empty.
TEST(CString, FormatFitsAnyLengthUpToItsBoundAndEmptiesPastIt) {
  const wchar_t kUnpaired[] = {0xD800, 0};
  const int kMax = CString::FORMAT_MAX;
  const std::tuple<int, const wchar_t*, int> cases[] = {
      {64, L"", 64}, {65, L"", 65}, {kMax, L"", kMax}, {kMax + 1, L"", 0}, {0, kUnpaired, 0}};
  for (const auto& [nWidth, pwsz, nLength] : cases) {
    CString s = "before";
    s.Format("%*ls", nWidth, pwsz);
    EXPECT_EQ(nLength, s.GetLength()) << nWidth;
  }
}

}  // namespace
