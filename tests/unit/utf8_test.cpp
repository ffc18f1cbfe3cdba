#include <gtest/gtest.h>

#include "support/utf8.h"

namespace {

TEST(Utf8, RoundTripsAndReplacesWhatIsNotText) {
  const std::wstring text = L"A\u00E4\u65E5\U0001F600";
  EXPECT_EQ(Utf8FromWide(text), "A\xC3\xA4\xE6\x97\xA5\xF0\x9F\x98\x80");
  EXPECT_EQ(WideFromUtf8(Utf8FromWide(text)), text);
  std::wstring lone = L"a";
  lone.push_back(static_cast<wchar_t>(0xD800));
  EXPECT_EQ(Utf8FromWide(lone), "a\xEF\xBF\xBD");
  const struct {
    const char* bytes;
    const wchar_t* text;
  } invalid[] = {
      {"\xFF", L"\uFFFD"},
      {"\xC3", L"\uFFFD"},
      {"\xC0\xAF", L"\uFFFD\uFFFD"},
      {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},
      {"a\x80"
       "b",
       L"a\uFFFDb"},
      {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},
  };
  for (const auto& c : invalid) EXPECT_EQ(WideFromUtf8(c.bytes), c.text) << c.bytes;
}

} // namespace
