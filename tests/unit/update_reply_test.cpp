#include <gtest/gtest.h>

#include "update/reply.h"

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

} // namespace
