// The resources of the built Koravel.exe, read back as Windows reads them and compared field by
// field with the tables they were written from.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "resources/resource.h"
#include "tests/support/resource_reader.h"

namespace {

const DWORD kChild = WS_CHILD | WS_VISIBLE;

struct ExpectedItem {
  int id;
  const char* cls;
  const char* text;
  DWORD style;
  int x, y, cx, cy;
};

std::string KoravelPath() {
  const char* path = std::getenv("KORAVEL_EXE");
  return path != nullptr ? path : "";
}

void ExpectItems(const DialogTemplate& t, const std::vector<ExpectedItem>& expected) {
  ASSERT_EQ(expected.size(), t.items.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const ExpectedItem& e = expected[i];
    const DialogItem& got = t.items[i];
    SCOPED_TRACE("control #" + std::to_string(i + 1) + " \"" + e.text + "\"");
    EXPECT_EQ(e.id, got.id);
    EXPECT_EQ(e.cls, got.cls);
    EXPECT_EQ(e.text, got.text);
    EXPECT_EQ(e.style | kChild, got.style) << std::hex << "got 0x" << got.style;
    EXPECT_EQ(0u, got.exStyle);
    EXPECT_EQ((std::vector<int>{e.x, e.y, e.cx, e.cy}),
              (std::vector<int>{got.x, got.y, got.cx, got.cy}));
  }
}

class ResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(KoravelPath().empty()) << "KORAVEL_EXE names the executable under test";
    ASSERT_TRUE(m_reader.IsLoaded()) << KoravelPath();
  }
  ResourceReader m_reader{KoravelPath()};
};

TEST_F(ResourcesTest, SettingsDialogTemplate) {
  DialogTemplate t;
  ASSERT_TRUE(m_reader.Dialog(IDD_SETTINGS, &t));
  EXPECT_TRUE(t.extended);
  EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                               DS_SETFONT),
            t.style);
  EXPECT_EQ(static_cast<DWORD>(WS_EX_APPWINDOW), t.exStyle);
  EXPECT_EQ((std::vector<int>{0, 0, 197, 82}), (std::vector<int>{t.x, t.y, t.cx, t.cy}));
  EXPECT_EQ("", t.menu);
  EXPECT_EQ("", t.cls);
  EXPECT_EQ("Koravel Settings", t.caption);
  EXPECT_EQ(8, t.pointSize);
  EXPECT_EQ(0, t.weight);
  EXPECT_EQ(0, t.italic);
  EXPECT_EQ(DEFAULT_CHARSET, t.charset);
  EXPECT_EQ("MS Sans Serif", t.face);
  ExpectItems(t, {
                     {IDOK, "button", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 139, 61, 50, 14},
                     {IDCANCEL, "button", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, 83, 61, 50, 14},
                     {-1, "static", "Current Rate:", WS_GROUP | SS_LEFT, 7, 18, 45, 8},
                     {-1, "static", "New Rate:", WS_GROUP | SS_LEFT, 7, 46, 35, 8},
                     {IDC_CURRENT_BAR, "msctls_progress32", "Progress1", WS_BORDER, 57, 19, 132, 6},
                     {IDC_NEW_SLIDER, "msctls_trackbar32", "Slider1",
                      WS_TABSTOP | TBS_AUTOTICKS | TBS_TOP | TBS_ENABLESELRANGE, 52, 40, 141, 18},
                     {-1, "static", "20", WS_GROUP | SS_CENTER, 57, 7, 8, 8},
                     {-1, "static", "20", WS_GROUP | SS_LEFT, 57, 33, 8, 8},
                     {IDC_CURRENT_TEXT, "static", "999", WS_GROUP | SS_CENTER, 118, 7, 11, 8},
                     {-1, "static", "200", WS_GROUP | SS_RIGHT, 173, 7, 16, 8},
                     {IDC_NEW_TEXT, "static", "999", WS_GROUP | SS_CENTER, 118, 33, 11, 8},
                     {-1, "static", "200", WS_GROUP | SS_RIGHT, 173, 33, 16, 8},
                 });
}

// The questionnaire and the About box are plain (not extended) templates.
void ExpectPlainTemplate(const DialogTemplate& t, const char* caption, int cx, int cy) {
  EXPECT_FALSE(t.extended);
  EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT),
            t.style);
  EXPECT_EQ(0u, t.exStyle);
  EXPECT_EQ((std::vector<int>{0, 0, cx, cy}), (std::vector<int>{t.x, t.y, t.cx, t.cy}));
  EXPECT_EQ(caption, t.caption);
  EXPECT_EQ(8, t.pointSize);
  EXPECT_EQ("MS Sans Serif", t.face);
}

TEST_F(ResourcesTest, QuestionnaireTemplate) {
  DialogTemplate t;
  ASSERT_TRUE(m_reader.Dialog(IDD_WRONG_PLATFORM, &t));
  ExpectPlainTemplate(t, "You have chosen to run this program on something other than NT", 275,
                      100);
  ExpectItems(
      t,
      {
          {IDOK, "button", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 102, 79, 50, 14},
          {-1, "static", "Please select one of the following:", WS_GROUP | SS_LEFT, 7, 7, 108, 8},
          {IDC_CHOICE1, "button",
           "I got this program with no description, and just thought I'd see what it does.",
           WS_GROUP | BS_AUTORADIOBUTTON, 7, 17, 250, 10},
          {IDC_CHOICE2, "button", "I have the cumulative brain capacity of a goat on heroin.",
           BS_AUTORADIOBUTTON, 7, 28, 193, 10},
          {IDC_CHOICE3, "button", "My parents were blood relatives.", BS_AUTORADIOBUTTON, 7, 39,
           117, 10},
          {IDC_CHOICE4, "button",
           "I knew that it was for Windows NT, but I wanted to know what would happen.",
           BS_AUTORADIOBUTTON, 7, 50, 261, 10},
          {IDC_CHOICE5, "button", "I'm sorry, but I don't speak English.", BS_AUTORADIOBUTTON, 7,
           60, 125, 10},
      });
}

TEST_F(ResourcesTest, AboutTemplateAndMenuString) {
  DialogTemplate t;
  ASSERT_TRUE(m_reader.Dialog(IDD_ABOUT, &t));
  ExpectPlainTemplate(t, "About Koravel", 235, 55);
  ASSERT_EQ(5u, t.items.size());
  const std::string firstNotice = t.items[2].text;
  const std::string secondNotice = t.items[4].text;
  EXPECT_FALSE(firstNotice.empty());
  EXPECT_FALSE(secondNotice.empty());
  ExpectItems(t,
              {
                  {-1, "static", "#128", SS_ICON, 11, 17, 20, 20},
                  {-1, "static", "Koravel Version 1.0", WS_GROUP | SS_NOPREFIX, 40, 10, 119, 8},
                  {-1, "static", firstNotice.c_str(), WS_GROUP | SS_LEFT, 40, 25, 119, 8},
                  {IDOK, "button", "OK", WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 178, 7, 50, 14},
                  {-1, "static", secondNotice.c_str(), WS_GROUP | SS_LEFT, 39, 40, 119, 8},
              });
  EXPECT_EQ("&About Koravel...", m_reader.String(IDS_ABOUT_MENU));
}

TEST_F(ResourcesTest, IconGroupHoldsTwoSixteenColourImages) {
  const std::vector<IconGroupEntry> entries = m_reader.IconGroup(IDI_APP);
  ASSERT_EQ(2u, entries.size());
  EXPECT_EQ(1, m_reader.Count(RT_GROUP_ICON));
  int nSizesSeen = 0;
  for (const IconGroupEntry& e : entries) {
    SCOPED_TRACE(e.width);
    nSizesSeen |= e.width == 32 ? 1 : e.width == 16 ? 2 : 4;
    EXPECT_EQ(e.width, e.height);
    EXPECT_EQ(16, e.colorCount);
    EXPECT_EQ(1, e.planes);
    EXPECT_EQ(4, e.bitCount);
    // The image itself agrees with its directory entry.
    const std::vector<BYTE> image = m_reader.Raw(RT_ICON, MAKEINTRESOURCEA(e.id));
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    memcpy(&header, image.data(), sizeof header);
    EXPECT_EQ(e.width, header.biWidth);
    EXPECT_EQ(2 * e.height, header.biHeight);
    EXPECT_EQ(4, header.biBitCount);
  }
  EXPECT_EQ(3, nSizesSeen) << "one 32 x 32 and one 16 x 16 image";
}

TEST_F(ResourcesTest, VersionResource) {
  DWORD dwHandle = 0;
  const DWORD nSize = ::GetFileVersionInfoSizeA(KoravelPath().c_str(), &dwHandle);
  ASSERT_NE(0u, nSize);
  std::vector<BYTE> data(nSize);
  ASSERT_TRUE(::GetFileVersionInfoA(KoravelPath().c_str(), 0, nSize, data.data()));
  EXPECT_EQ(1, m_reader.Count(RT_VERSION));

  VS_FIXEDFILEINFO* pFixed = nullptr;
  UINT nLength = 0;
  ASSERT_TRUE(::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&pFixed), &nLength));
  EXPECT_EQ(0x00010000u, pFixed->dwFileVersionMS);
  EXPECT_EQ(0x00000001u, pFixed->dwFileVersionLS);
  EXPECT_EQ(0x00010000u, pFixed->dwProductVersionMS);
  EXPECT_EQ(0x00000001u, pFixed->dwProductVersionLS);
  EXPECT_EQ(0x3Fu, pFixed->dwFileFlagsMask);
  EXPECT_EQ(0u, pFixed->dwFileFlags);
  EXPECT_EQ(static_cast<DWORD>(VOS__WINDOWS32), pFixed->dwFileOS);
  EXPECT_EQ(static_cast<DWORD>(VFT_APP), pFixed->dwFileType);
  EXPECT_EQ(0u, pFixed->dwFileSubtype);

  WORD* pTranslation = nullptr;
  ASSERT_TRUE(::VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&pTranslation), &nLength));
  ASSERT_EQ(4u, nLength);
  EXPECT_EQ(0x0409, pTranslation[0]);
  EXPECT_EQ(0x04B0, pTranslation[1]);

  const std::pair<const char*, const char*> strings[] = {
      {"CompanyName", ""},
      {"FileDescription", "Koravel MFC Application"},
      {"FileVersion", "1, 0, 0, 1"},
      {"InternalName", "Koravel"},
      {"LegalTrademarks", ""},
      {"OriginalFilename", "Koravel.EXE"},
      {"ProductName", "Koravel Application"},
      {"ProductVersion", "1, 0, 0, 1"},
  };
  for (const auto& [name, expected] : strings) {
    char* pValue = nullptr;
    const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
    EXPECT_TRUE(
        ::VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&pValue), &nLength))
        << name;
    EXPECT_STREQ(expected, pValue != nullptr ? pValue : "(missing)") << name;
  }
  char* pCopyright = nullptr;
  EXPECT_TRUE(::VerQueryValueA(data.data(), "\\StringFileInfo\\040904B0\\LegalCopyright",
                               reinterpret_cast<void**>(&pCopyright), &nLength));
}

}  // namespace
