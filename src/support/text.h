#pragma once
#include <string>
#include <string_view>

constexpr wchar_t AsciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - (L'a' - L'A')) : c; }

// Equal when the texts differ at most in the case of ASCII letters.
constexpr bool EqualsAsciiNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

constexpr bool StartsWithAsciiNoCase(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() && EqualsAsciiNoCase(text.substr(0, prefix.size()), prefix);
}

// The value of a hexadecimal digit, either case; -1 for any other character.
constexpr int HexDigit(wchar_t c) {
  return c >= L'0' && c <= L'9'   ? c - L'0'
         : c >= L'a' && c <= L'f' ? c - L'a' + 10
         : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                  : -1;
}

// The simple upper-case mapping of the scripts names are likely to use (Latin, Greek,
// Cyrillic), for where the system's own tables are not at hand.
wchar_t SimpleUpcase(wchar_t c);

// The text with ASCII letters upper-cased; other characters are kept.
std::wstring AsciiUpperCase(std::wstring_view text);
// Position of `part` in `text`, ASCII case ignored, or npos.
std::size_t FindAsciiNoCase(std::wstring_view text, std::wstring_view part);
// The text without the characters of code 32 or less at both ends.
std::wstring_view Trim(std::wstring_view text);
