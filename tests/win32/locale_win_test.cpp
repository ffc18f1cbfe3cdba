#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "common/translation_table.h"
#include "platform/win32/files_win.h"
#include "platform/win32/locale_win.h"
#include "ui/filter_list.h"
#include "translate/translate.h"

namespace {

class Win32Locale : public ::testing::Test {
 protected:
  platform::Win32Locale locale;
  platform::Win32Resources resources;
};

TEST_F(Win32Locale, ReportsTheLanguageOfTheEnvironment) {
  const char* expected = std::getenv("TARNWICK_EXPECT_LANGUAGE");
  const std::string language(expected ? expected : "en");
  EXPECT_EQ(GetUserLanguage(locale), std::wstring(language.begin(), language.end()));
  EXPECT_EQ(Translation(resources, locale).Translate(L"사용함"), language == "ko" ? L"사용함" : L"Enable");
}

TEST_F(Win32Locale, ComparesAndUpperCasesByTheLocale) {
  EXPECT_EQ(locale.CompareNoCase(L"spooler", L"Spooler"), 0);
  EXPECT_EQ(locale.CompareNoCase(L"привет", L"ПРИВЕТ"), 0);
  EXPECT_LT(locale.CompareNoCase(L"a", L"B"), 0);
  EXPECT_GT(locale.CompareNoCase(L"b", L"A"), 0);
  EXPECT_EQ(locale.UpperCase(L"c:\\program files\\ärger\\привет.exe"), L"C:\\PROGRAM FILES\\ÄRGER\\ПРИВЕТ.EXE");
  EXPECT_EQ(locale.UpperCase(L""), L"");
}

TEST_F(Win32Locale, BuiltInListsLoadFromTheProgramsResources) {
  FilterList nameWhite(locale), nameBlack(locale), fileWhite(locale), untouched(locale);
  LoadListFromResource(resources, nameWhite, L"name_white");
  LoadListFromResource(resources, nameBlack, L"NAME_BLACK");
  LoadListFromResource(resources, fileWhite, L"File_White");
  untouched.Add(L"kept");
  LoadListFromResource(resources, untouched, L"NO_SUCH_LIST");
  EXPECT_EQ(nameWhite.Count(), 84);
  EXPECT_EQ(nameBlack.Count(), 37);
  EXPECT_GT(fileWhite.Count(), 0);
  EXPECT_EQ(untouched.Count(), 1);
  EXPECT_FALSE(nameWhite.Add(L"spooler"));
  const FolderTokens tokens;
  for (const wchar_t* service : {L"BFE", L"BFEngine", L"cbdhsvc_1a2b3", L"Audiosrv"}) {
    EXPECT_TRUE(IsListed(nameWhite, tokens, service, false)) << service;
  }
  EXPECT_NE(nameBlack.IndexOf(L"유니사인(UniSign) 한국전자인증 스마트폰 인증서 이동"), -1);
}

TEST_F(Win32Locale, TheTranslationTableTranslatesEveryRowIntoEveryLanguage) {
  const Translation t(resources, locale);
  ASSERT_FALSE(t.TranslateTable.empty());
  for (const auto& row : kRows) {
    for (std::size_t to = 0; to < kCodes.size(); ++to) {
      EXPECT_EQ(t.Translate(row[0], kCodes[to]), row[to]);
      EXPECT_EQ(t.Translate(row[to], L"ko"),
                row[to] == L"Home" || row[to] == L"Loc" ? t.Translate(row[to], L"ko") : row[0]);
    }
  }
}

TEST(Win32Shell, OpensWhatItIsGiven) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring script = std::wstring(temp) + L"tarnwick-open.bat";
  const std::wstring marker = std::wstring(temp) + L"tarnwick-opened.txt";
  DeleteFileW(marker.c_str());
  const std::string text = "@echo opened> \"" + std::string(marker.begin(), marker.end()) + "\"\r\n";
  platform::Win32FileSystem files;
  std::wstring message;
  ASSERT_TRUE(files.WriteWholeFile(script, text, message));

  platform::Win32Shell shell;
  shell.ShellOpen(script); // the shell runs the script, which leaves the marker
  bool opened = false;
  for (int i = 0; i < 100 && !opened; ++i, Sleep(100)) opened = files.IsFile(marker);
  EXPECT_TRUE(opened);
  shell.ShellOpen(std::wstring(temp) + L"tarnwick-no-such-file.txt"); // fails without a word
  DeleteFileW(script.c_str());
  DeleteFileW(marker.c_str());
}

} // namespace
