#include <gtest/gtest.h>

#include "update/reply.h"
#include "update/update_text.h"
#include "update/web_address.h"

namespace {

TEST(ExtractBetween, CutsBetweenMarksFoundWithoutCase) {
  const struct {
    const wchar_t *source, *start, *end, *expected;
  } cases[] = {
      {LR"({"update":"https://x/Setup.exe"})", LR"("update":")", L"\"", L"https://x/Setup.exe"},
      {LR"({"UPDATE":"https://x/a"})", LR"("update":")", L"\"", L"https://x/a"},
      {LR"({"update" : "https://x/a"})", LR"("update":")", L"\"", L""},
      {LR"({"update":"say \"hi\" now","x":"y"})", LR"("update":")", L"\"", LR"(say \"hi\" now)"},
      {LR"({"update":"C:\\","next":"v"})", LR"("update":")", L"\"", LR"(C:\\",)"},
      {LR"({"update":"it\'s'})", LR"("update":")", L"'", LR"(it\'s)"},
      {LR"({"update":"open)", LR"("update":")", L"\"", L""},
      {L"no marks here", LR"("update":")", L"\"", L""},
      {LR"({"a":"1","a":"2"})", LR"("a":")", L"\"", L"1"},
      {LR"({"info":{"style":"hold","text":"Later"},"x":{}})", LR"("info":{)", L"}",
       LR"("style":"hold","text":"Later")"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtractBetween(c.source, c.start, c.end), c.expected) << c.source;
}

TEST(JsonUnescape, DecodesEveryEscapeAndDropsTheUnknown) {
  const struct {
    const wchar_t *text, *expected;
  } cases[] = {
      {LR"(plain)", L"plain"},
      {LR"(\"\'\/\\)", LR"("'/\)"},
      {LR"(\b\f\n\r\t)", L"\b\f\n\r\t"},
      {LR"(caf\u00e9)", L"café"},
      {LR"(\uD83D\uDE00)", L"\U0001F600"},
      {LR"(a\xb)", L"ab"},
      {LR"(end\)", L"end"},
      {LR"(\u4)", L"\u0004"},
      {LR"(\u00e)", L"\u000e"},
      {LR"(\uzz12)", L"zz12"},
      {LR"(\u12g4x)", L"12g4x"},
      {LR"(\u)", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonUnescape(c.text), c.expected) << c.text;
}

TEST(UpdateReply, ReadsTheMembersOfACompactReply) {
  const UpdateReply reply = ReadUpdateReply(
      LR"({"name_white":["a"],"Update":"https://x/setup.exe?v=\"2\"","notify":"https://x/n",)"
      LR"("info":{"style":"note","text":"Read \u00e9","flag":"stayontop","url":"https://x/\/notes"}})");
  EXPECT_EQ(reply.update, L"https://x/setup.exe?v=\"2\"");
  EXPECT_EQ(reply.notify, L"https://x/n");
  EXPECT_EQ(reply.style, L"note");
  EXPECT_EQ(reply.text, L"Read é");
  EXPECT_EQ(reply.flag, L"stayontop");
  EXPECT_EQ(reply.url, L"https://x//notes");

  const UpdateReply blank = ReadUpdateReply(LR"({ "update": "https://x", "info": { "style": "hold" } })");
  EXPECT_EQ(blank.update, L"") << "blanks after the colon hide a member";
  EXPECT_EQ(blank.style, L"");
  EXPECT_EQ(ReadUpdateReply(L"").update, L"");
  EXPECT_EQ(ReadUpdateReply(LR"({"update":""})").update, L"") << "an empty offer is none";
}

TEST(UpdateText, GivesTheTablesTextsAndEnglishForOtherLanguages) {
  EXPECT_EQ(UpdateText(0, L"ko"),
            L"업데이트 정보가 있습니다.\r\r안정적으로 사용하기 위해 업데이트를 하시길 권장합니다.\r\r"
            L"다운로드 받으시겠습니까?");
  EXPECT_NE(UpdateText(0, L"ja").find(L"ダウンロード\u00B7実行"), std::wstring::npos) << "the middle dot";
  EXPECT_EQ(UpdateText(0, L"en"),
            L"This program has been updated.\r\rIt is recommended to download and execute new "
            L"for stable use.\r\rDo you want to download it?");
  const struct {
    const wchar_t* language;
    const wchar_t *status, *yes, *no;
  } cases[] = {{L"ko", L"업데이트 가능", L"예", L"아니오"},
               {L"ja", L"アップデート可", L"はい", L"いいえ"},
               {L"zh", L"可更新", L"是", L"否"},
               {L"de", L"Update möglich", L"Ja", L"Nein"},
               {L"ru", L"Обновление", L"Да", L"Нет"},
               {L"it", L"Aggiornabile", L"Sì", L"No"},
               {L"fr", L"Maj dispo", L"Oui", L"Non"},
               {L"en", L"Update available", L"Yes", L"No"},
               {L"ar", L"Update available", L"Yes", L"No"},
               {L"KO", L"Update available", L"Yes", L"No"}};
  for (const auto& c : cases) {
    EXPECT_EQ(UpdateText(1, c.language), c.status) << c.language;
    EXPECT_EQ(UpdateText(2, c.language), c.yes) << c.language;
    EXPECT_EQ(UpdateText(3, c.language), c.no) << c.language;
  }
  EXPECT_EQ(UpdateText(4, L"ko"), L"");
  EXPECT_EQ(UpdateText(-1, L"en"), L"");
}

TEST(WebAddress, OnlyAbsoluteHttpAndHttpsAddressesMayBeOpened) {
  const struct {
    const wchar_t* address;
    bool web;
  } cases[] = {
      {L"https://www.tarnwick.example/setup.exe", true},
      {L"HTTP://x.example:8080/a?b=c#d", true},
      {L"https://x.example", true},
      {L"https://", false},
      {L"https:///path", false},
      {L"C:\\Windows\\System32\\cmd.exe", false},
      {L"\\\\server\\share\\setup.exe", false},
      {L"file:///C:/Windows/System32/calc.exe", false},
      {L"ms-settings:windowsupdate", false},
      {L"javascript:alert(1)", false},
      {L"search-ms:query=x", false},
      {L" https://x.example", false},
      {L"\x01https://x.example", false},
      {L"https://x.example/a b", false},
      {L"https://x.example\\..\\..\\cmd.exe", false},
      {L"https:\\\\x.example", false},
      {L"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsWebAddress(c.address), c.web) << c.address;
}

} // namespace
