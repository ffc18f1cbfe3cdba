#include "support/text.h"

std::wstring AsciiUpperCase(std::wstring_view text) {
  std::wstring upper(text);
  for (wchar_t& c : upper) c = AsciiUpper(c);
  return upper;
}

std::size_t FindAsciiNoCase(std::wstring_view text, std::wstring_view part) {
  return AsciiUpperCase(text).find(AsciiUpperCase(part));
}

std::wstring_view Trim(std::wstring_view text) {
  while (!text.empty() && static_cast<unsigned>(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned>(text.back()) <= 32) text.remove_suffix(1);
  return text;
}
