#include "contract/locale_contract.h"

#include "common/resource_files.h"
#include "support/text.h"
#include "translate/translate.h"
#include "ui/filter_list.h"

namespace {

TEST_P(LocaleContract, ComparesAndUpperCasesByTheLocale) {
  EXPECT_EQ(locale_->CompareNoCase(L"spooler", L"Spooler"), 0);
  EXPECT_EQ(locale_->CompareNoCase(L"привет", L"ПРИВЕТ"), 0);
  EXPECT_EQ(locale_->CompareNoCase(L"ärger", L"ÄRGER"), 0);
  EXPECT_LT(locale_->CompareNoCase(L"a", L"B"), 0);
  EXPECT_GT(locale_->CompareNoCase(L"b", L"A"), 0);
  EXPECT_LT(locale_->CompareNoCase(L"ab", L"abc"), 0) << "a prefix sorts first";
  EXPECT_EQ(locale_->UpperCase(L"c:\\program files\\ärger\\привет.exe"), L"C:\\PROGRAM FILES\\ÄRGER\\ПРИВЕТ.EXE");
  EXPECT_EQ(locale_->UpperCase(L"日本 123"), L"日本 123");
  EXPECT_EQ(locale_->UpperCase(L""), L"");
}

// The lists match texts by their upper case, so it must make alike exactly the texts that the
// comparison calls equal. The system's case rules are the same in every locale: in Turkish too,
// "i" and "I" are one letter's two cases, and dotted "İ" and dotless "ı" letters of their own.
TEST_P(LocaleContract, UpperCaseMakesAlikeWhatTheComparisonCallsEqual) {
  const std::wstring letters[] = {L"i", L"I", L"İ", L"ı", L"ä", L"Ä", L"я", L"Я"};
  for (const std::wstring& a : letters) {
    for (const std::wstring& b : letters) {
      EXPECT_EQ(locale_->CompareNoCase(a, b) == 0, locale_->UpperCase(a) == locale_->UpperCase(b)) << a << " " << b;
    }
  }
  EXPECT_EQ(locale_->UpperCase(L"iİıI"), L"IİıI");
  EXPECT_EQ(locale_->CompareNoCase(L"file", L"FILE"), 0);
  EXPECT_NE(locale_->CompareNoCase(L"fıle", L"FILE"), 0);
  EXPECT_NE(locale_->CompareNoCase(L"file", L"FİLE"), 0);
}

// The lists find printable ASCII by ASCII upper case: the locale's comparison must say "equal"
// for exactly those texts, and its upper case be ASCII's.
TEST_P(LocaleContract, BetweenTextsOfPrintableAsciiEqualWithoutCaseIsAsciisEqual) {
  std::wstring ascii;
  for (wchar_t c = L' '; c < 0x7F; ++c) ascii += c;
  EXPECT_EQ(locale_->UpperCase(ascii), AsciiUpperCase(ascii));
  int differences = 0;
  for (wchar_t a = L' '; a < 0x7F; ++a) {
    for (wchar_t b = L' '; b < 0x7F; ++b) {
      const bool equal = locale_->CompareNoCase(std::wstring{L'x', a, L'y'}, std::wstring{L'x', b, L'y'}) == 0;
      if (equal != (AsciiUpper(a) == AsciiUpper(b))) ++differences;
    }
  }
  EXPECT_EQ(differences, 0);
  const struct {
    const wchar_t* a;
    const wchar_t* b;
  } unequal[] = {{L"co-op", L"coop-"}, {L"co-op", L"-coop"}, {L"it's", L"its'"}, {L"a-b", L"a'b"}, {L"a b", L"ab "}};
  for (const auto& u : unequal) EXPECT_NE(locale_->CompareNoCase(u.a, u.b), 0) << u.a << " " << u.b;
}

TEST_P(LocaleContract, ReportsTheUsersLanguage) {
  EXPECT_EQ(GetUserLanguage(*locale_), GetParam().language);
  EXPECT_EQ(Translation(*resources_, *locale_).CurrentLanguage, GetParam().language);
}

TEST_P(LocaleContract, ResourcesAreFoundByNameInAnyCase) {
  std::string bytes = "untouched";
  EXPECT_FALSE(resources_->ReadRcData(L"NO_SUCH_LIST", bytes));
  EXPECT_EQ(bytes, "untouched");
  for (const wchar_t* name : {L"name_white", L"NAME_WHITE", L"Name_White"}) {
    bytes.clear();
    ASSERT_TRUE(resources_->ReadRcData(name, bytes));
    EXPECT_EQ(bytes, ReadResourceFile("lists/name_white.txt")) << "the file's bytes, mark and line ends included";
  }
}

TEST_P(LocaleContract, BuiltInListsLoadWithTheirEntries) {
  FilterList nameWhite(*locale_), nameBlack(*locale_), fileWhite(*locale_), untouched(*locale_);
  LoadListFromResource(*resources_, nameWhite, L"name_white");
  LoadListFromResource(*resources_, nameBlack, L"NAME_BLACK");
  LoadListFromResource(*resources_, fileWhite, L"File_White");
  untouched.Add(L"kept");
  LoadListFromResource(*resources_, untouched, L"NO_SUCH_LIST");
  EXPECT_EQ(nameWhite.Count(), 84) << "83 entries and the empty line";
  EXPECT_EQ(nameWhite[0], L"");
  EXPECT_EQ(nameBlack.Count(), 37);
  EXPECT_EQ(fileWhite.Count(), 26);
  EXPECT_EQ(untouched.Count(), 1) << "a missing resource changes nothing";
  EXPECT_NE(nameBlack.IndexOf(L"유니사인(UniSign) 한국전자인증 스마트폰 인증서 이동"), -1);
  EXPECT_FALSE(nameWhite.Add(L"spooler")) << "already there as Spooler";

  const FolderTokens tokens;
  const struct {
    const wchar_t* service;
    bool listed;
  } services[] = {{L"BFE", true},     {L"BFEngine", true}, {L"Audiosrv", true},     {L"cbdhsvc_1a2b3", true},
                  {L"spooler", true}, {L"Tarnwick", true}, {L"SampleAgent", false}, {L"AnySign4PC", false}};
  for (const auto& s : services) EXPECT_EQ(IsListed(nameWhite, tokens, s.service, false), s.listed) << s.service;
}

TEST_P(LocaleContract, TheTranslationTableTranslatesEveryRowIntoEveryLanguage) {
  const Translation t(*resources_, *locale_);
  const std::vector<TranslationRow> rows = ReadTranslationRows();
  ASSERT_EQ(rows.size(), 15u);
  for (const TranslationRow& row : rows) {
    ASSERT_EQ(row.size(), 8u);
    ASSERT_EQ(row[0].first, L"ko");
    for (const auto& [from, source] : row) {
      for (const auto& [to, text] : row) EXPECT_EQ(t.Translate(source, to), text) << from << " -> " << to;
    }
  }
}

} // namespace
