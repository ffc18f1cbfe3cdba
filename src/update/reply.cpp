#include "update/reply.h"

#include <algorithm>

#include "support/text.h"

std::wstring ExtractBetween(std::wstring_view source, std::wstring_view startMark, std::wstring_view endMark) {
  std::wstring upper = AsciiUpperCase(source);
  const std::wstring start = AsciiUpperCase(startMark);
  const std::wstring end = AsciiUpperCase(endMark);
  if (end == L"\"" || end == L"'" || end == L"\"'") {
    // A quote with a backslash before it is no end: in the copy searched, the backslash and the
    // quote become backslashes, which keeps the copy's length.
    const std::wstring escaped = L'\\' + end;
    for (std::size_t at = upper.find(escaped); at != std::wstring::npos;
         at = upper.find(escaped, at + escaped.size())) {
      upper.replace(at, escaped.size(), escaped.size(), L'\\');
    }
  }
  const std::size_t found = upper.find(start);
  if (found == std::wstring::npos) return {};
  const std::size_t begin = found + start.size();
  const std::size_t stop = upper.find(end, begin);
  if (stop == std::wstring::npos) return {};
  return std::wstring(source.substr(begin, stop - begin));
}

namespace {

// The one-character escapes, each followed by what it stands for.
constexpr std::wstring_view kEscapes = L"\"\"''//\\\\b\bf\fn\nr\rt\t";

// Appends one UTF-16 code unit; on Linux a high and a low surrogate in a row become one character.
void AppendUnit(std::wstring& out, char16_t unit) {
  if constexpr (sizeof(wchar_t) == 4) {
    if (unit >= 0xDC00 && unit < 0xE000 && !out.empty() && out.back() >= 0xD800 && out.back() < 0xDC00) {
      const auto high = static_cast<char32_t>(out.back());
      out.back() = static_cast<wchar_t>(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
      return;
    }
  }
  out.push_back(static_cast<wchar_t>(unit));
}

} // namespace

std::wstring JsonUnescape(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\\') {
      out.push_back(text[i]);
      continue;
    }
    if (++i == text.size()) break; // a backslash at the end
    const wchar_t c = text[i];
    if (c != L'u') {
      // A one-character escape gives what it stands for; any other is dropped with its backslash.
      if (const std::size_t at = kEscapes.find(c); at != std::wstring_view::npos && at % 2 == 0) {
        out.push_back(kEscapes[at + 1]);
      }
      continue;
    }
    // Up to four hexadecimal digits; any other character among them makes it no escape.
    const std::size_t count = std::min<std::size_t>(4, text.size() - i - 1);
    unsigned value = 0;
    bool hex = count > 0;
    for (std::size_t k = 1; hex && k <= count; ++k) {
      const int digit = HexDigit(text[i + k]);
      hex = digit >= 0;
      value = value * 16 + static_cast<unsigned>(digit);
    }
    if (hex) {
      AppendUnit(out, static_cast<char16_t>(value));
      i += count;
    }
  }
  return out;
}

UpdateReply ReadUpdateReply(std::wstring_view reply) {
  auto member = [](std::wstring_view text, std::wstring_view key) {
    return JsonUnescape(ExtractBetween(text, L"\"" + std::wstring(key) + L"\":\"", L"\""));
  };
  const std::wstring info = ExtractBetween(reply, L"\"info\":{", L"}");
  return UpdateReply{member(reply, L"update"), member(reply, L"notify"), member(info, L"style"),
                     member(info, L"text"),    member(info, L"flag"),    member(info, L"url")};
}
