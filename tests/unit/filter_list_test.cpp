#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "common/resource_files.h"
#include "fakes/fake_locale.h"
#include "fakes/fake_resources.h"
#include "support/utf8.h"
#include "ui/filter_list.h"

namespace {

using namespace platform;

std::vector<std::wstring> Items(const FilterList& list) { return {list.begin(), list.end()}; }

class Lists : public ::testing::Test {
 protected:
  FakeLocale locale;
  FakeResources resources;
  FilterList list{locale};
  const FolderTokens tokens = {{L"%ProgramFiles%", L"C:\\Program Files"}, {L"%Public%", L""}};
};

TEST_F(Lists, StaySortedAndDropTextsTheyHoldInAnyCase) {
  for (const wchar_t* text : {L"Spooler", L"BFE", L"spooler", L"", L"Ärger", L"ärger", L"bfe2"}) list.Add(text);
  EXPECT_EQ(Items(list), (std::vector<std::wstring>{L"", L"BFE", L"bfe2", L"Spooler", L"Ärger"}));
  EXPECT_EQ(list.IndexOf(L"SPOOLER"), 3);
  EXPECT_EQ(list.IndexOf(L"Spool"), -1);
}

TEST_F(Lists, LoadFromAResourceLineByLine) {
  resources.Items = {{L"MIXED",
                      "\xEF\xBB\xBF"
                      "b\r\na\rc\n\r\nd\r\n"},
                     {L"BARE", "x\ny"}};
  list.Add(L"old");
  LoadListFromResource(resources, list, L"mixed");
  EXPECT_EQ(Items(list), (std::vector<std::wstring>{L"", L"a", L"b", L"c", L"d"}))
      << "CR LF, CR and LF end lines; a middle empty line is an item; the last break adds none";
  LoadListFromResource(resources, list, L"BARE");
  EXPECT_EQ(Items(list), (std::vector<std::wstring>{L"x", L"y"}));
  LoadListFromResource(resources, list, L"MISSING");
  EXPECT_EQ(Items(list), (std::vector<std::wstring>{L"x", L"y"})) << "a missing resource changes nothing";
}

TEST_F(Lists, MergeOnlyArraysAndOnlyNewTexts) {
  list.Add(L"Spooler");
  const auto reply = nlohmann::json::parse(R"({"name_white": ["spooler", "Themes", "テーマ", 5, true, null],
                                              "file_white": "svchost.exe*", "name_black": {"a": 1}})");
  MergeJSONArray(list, reply, "file_white");
  MergeJSONArray(list, reply, "name_black");
  MergeJSONArray(list, reply, "missing");
  MergeJSONArray(list, nlohmann::json::array({"x"}), "name_white");
  EXPECT_EQ(Items(list), std::vector<std::wstring>{L"Spooler"});
  MergeJSONArray(list, reply, "name_white");
  EXPECT_EQ(Items(list), (std::vector<std::wstring>{L"Spooler", L"Themes", L"true", L"テーマ"}))
      << "5 is too short to name anything, null is no text";
}

TEST_F(Lists, AReplyCannotWhiteListEverything) {
  const struct {
    const char* line;
    bool taken;
  } cases[] = {
      {"\\\\", false}, {":", false}, {"a", false}, {"ab", false}, {"  ab  ", false}, {"*.*", false}, {"\\*\\", false},
      {"?:\\*", false}, {" . / ", false}, {"//", false}, {"abc", true}, {"*.lnk", true}, {"%Startup%\\", true},
      {"// a comment", true}, // taken, and skipped as every comment is when matched
  };
  for (const auto& c : cases) {
    FilterList merged(locale);
    MergeJSONArray(merged, nlohmann::json{{"file_white", {c.line}}}, "file_white");
    EXPECT_EQ(merged.Count(), c.taken ? 1 : 0) << c.line;
  }
  FilterList merged(locale);
  nlohmann::json many = nlohmann::json::array();
  many.push_back(std::string(261, 'x')); // longer than any path: not taken
  many.push_back(std::string(260, 'y'));
  for (int i = 0; i < 20000; ++i) many.push_back("line" + std::to_string(i));
  MergeJSONArray(merged, nlohmann::json{{"name_white", many}}, "name_white");
  EXPECT_EQ(merged.Count(), kMaxReplyLines);
  EXPECT_GE(merged.IndexOf(std::wstring(260, L'y')), 0);
  EXPECT_GE(merged.IndexOf(L"line9998"), 0);
  EXPECT_EQ(merged.IndexOf(L"line9999"), -1) << "the first 10,000 taken";
  resources.Items = {{L"SHORT", "a\nb"}};
  LoadListFromResource(resources, merged, L"SHORT");
  EXPECT_EQ(Items(merged), (std::vector<std::wstring>{L"a", L"b"})) << "the built-in lists keep their lines";
}

TEST_F(Lists, MatchFilesByNameOrFragmentAndNamesByPrefix) {
  const struct {
    const wchar_t* entry;
    const wchar_t* text;
    bool fileMode;
    bool listed;
  } cases[] = {
      {L"svchost.exe*", L"C:\\Windows\\System32\\SVCHOST.EXE", true, true},
      {L"svchost.exe*", L"C:\\Windows\\System32\\svchost.exe.bak", true, false},
      {L"svchost.exe*", L"svchost.exe", true, true},
      {L"%ProgramFiles%\\Vendor\\tool.exe", L"\"c:\\program files\\VENDOR\\TOOL.EXE\" /x", true, true},
      {L"%ProgramFiles%\\Vendor\\tool.exe", L"C:\\Program Files\\Vendor\\tool2.exe", true, false},
      {L"*", L"C:\\Startup\\", true, true},
      {L"*", L"C:\\Startup\\a.lnk", true, false},
      {L"  startup\\  ", L"C:\\STARTUP\\a.lnk", true, true},
      {L"cbdhsvc_", L"cbdhsvc_4a2b1", false, true},
      {L"BFE", L"BFEngine", false, true},
      {L"BFE", L"BF", false, false},
      {L"abc*", L"abcdef", false, false},
      {L"abc*", L"abc*def", false, true},
      {L"привет", L"ПРИВЕТ мир", false, true},
      {L"// Spooler", L"// Spooler", false, false},
      {L"//", L"//", true, false},
      {L"   ", L"anything", false, false},
      {L"%Public%\\x", L"\\x", true, true},
  };
  for (const auto& c : cases) {
    list.Clear();
    list.Add(c.entry);
    EXPECT_EQ(IsListed(list, tokens, c.text, c.fileMode), c.listed) << c.entry << " / " << c.text;
  }
  list.Clear();
  EXPECT_FALSE(IsListed(list, tokens, L"x", false)) << "an empty list";
}

TEST_F(Lists, AReplysFileLineHidesOnlyTheFileItNames) {
  const std::wstring startup = L"C:\\Users\\Ann\\Start Menu\\Programs\\Startup\\Notes.lnk";
  const std::wstring vendor = L"C:\\Program Files\\Vendor\\App.exe";
  const struct {
    const wchar_t* line;
    std::wstring path;
    bool byReply, builtIn; // listed by the line as a reply's, as a built-in one
  } cases[] = {
      {L"Startup", startup, false, true},
      {L"lnk", startup, false, true},
      {L"Startup\\", startup, false, true},
      {L"Notes", startup, false, true},
      {L"notes.LNK", startup, true, true},
      {L"startup\\notes.lnk", startup, true, true},
      {L"notes.lnk*", startup, true, true},
      {L"\\Vendor\\App.exe", vendor, true, true},
      {L"Vendor\\App.exe", vendor, true, true},
      {L"%ProgramFiles%\\Vendor\\App.exe", vendor, true, true},
      {L"App.exe", vendor, true, true},
      {L"pp.exe", vendor, false, true},
      {L"Vendor", vendor, false, true},
      {L"App.exe", L"C:/Tools/app.EXE", true, true},
      {L"Tools/App.exe", L"C:\\Tools/app.exe", true, true},
      {L"Привет.lnk", L"C:\\Startup\\привет.LNK", true, true},
      {L"вет.lnk", L"C:\\Startup\\привет.lnk", false, true},
  };
  for (const auto& c : cases) {
    FilterList reply(locale), builtIn(locale);
    MergeJSONArray(reply, nlohmann::json{{"file_white", {Utf8FromWide(c.line)}}}, "file_white");
    ASSERT_EQ(reply.Count(), 1) << c.line;
    EXPECT_EQ(reply.OriginOf(0), FilterList::Origin::Reply);
    builtIn.Add(c.line);
    EXPECT_EQ(builtIn.OriginOf(0), FilterList::Origin::BuiltIn);
    EXPECT_EQ(IsListed(reply, tokens, c.path, true), c.byReply) << c.line << " / " << c.path;
    EXPECT_EQ(IsListed(builtIn, tokens, c.path, true), c.builtIn) << c.line << " / " << c.path;
  }
  list.Add(L"Notes");
  MergeJSONArray(list, nlohmann::json{{"file_white", {"NOTES", "Startup"}}}, "file_white");
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.OriginOf(list.IndexOf(L"notes")), FilterList::Origin::BuiltIn) << "the line it had stays its own";
  EXPECT_EQ(list.OriginOf(list.IndexOf(L"startup")), FilterList::Origin::Reply);
}

// A locale that counts what it is asked.
class CountingLocale final : public Locale {
 public:
  std::uint32_t UserLocale() override { return inner_.UserLocale(); }
  int ReadLocaleInfo(std::uint32_t lcid, std::uint32_t type, std::span<wchar_t> buffer) override {
    return inner_.ReadLocaleInfo(lcid, type, buffer);
  }
  int CompareNoCase(std::wstring_view a, std::wstring_view b) override {
    ++calls;
    return inner_.CompareNoCase(a, b);
  }
  std::wstring UpperCase(std::wstring_view text) override {
    ++calls;
    return inner_.UpperCase(text);
  }
  int calls = 0;

 private:
  FakeLocale inner_;
};

// A reply of lines beyond ASCII matched against many entries costs one fold of each text, not
// one comparison per line; and what matches is still what the locale's case rules make equal.
TEST(ListsOfManyLines, AreMatchedByOneFoldOfEachText) {
  CountingLocale locale;
  FilterList names(locale), files(locale);
  std::vector<std::string> lines;
  for (int i = 0; i < 2000; ++i) lines.push_back("Прием агент " + std::to_string(i) + " Ärger");
  lines.push_back("Tool Ä");
  lines.push_back("Toolbox Agent"); // longer than the ASCII start of names below
  MergeJSONArray(names, nlohmann::json{{"name_white", lines}}, "name_white");
  for (std::string& line : lines) line.insert(0, 1, '\\').append(".lnk");
  MergeJSONArray(files, nlohmann::json{{"file_white", lines}}, "file_white");
  const FolderTokens tokens;
  names.Prepare(tokens);
  files.Prepare(tokens);
  locale.calls = 0;
  const struct {
    const wchar_t* name;
    bool byName, byFile; // listed as a name, as a Startup file of that name
  } cases[] = {
      {L"ПРИЕМ АГЕНТ 1999 ärger", true, true},
      {L"прием агент 7 ÄRGER и ещё", true, false},
      {L"прием агент 2000 ärger", false, false},
      {L"tool ä", true, true},
      {L"Tool Ärger", true, false},
      {L"TOOLBOX agent ü", true, false},
      {L"Toolbox Ägent", false, false},
      {L"Sample", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsListed(names, tokens, c.name, false), c.byName) << c.name;
    EXPECT_EQ(IsListed(files, tokens, std::wstring(L"C:\\Startup\\") + c.name + L".LNK", true), c.byFile) << c.name;
  }
  EXPECT_LE(locale.calls, 2 * static_cast<int>(std::size(cases)));
}

TEST(BuiltInLists, AreUtf8FilesWithAMarkAndCrLfLineEnds) {
  for (const char* name : {"lists/name_white.txt", "lists/name_black.txt", "lists/file_white.txt"}) {
    const std::string text = ReadResourceFile(name);
    EXPECT_TRUE(text.starts_with("\xEF\xBB\xBF")) << name;
    EXPECT_TRUE(text.ends_with("\r\n")) << name;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(text.begin(), text.end(), '\r')) << name;
  }
}

} // namespace
