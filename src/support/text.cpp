#include "support/text.h"

#include <cstdint>

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

wchar_t SimpleUpcase(wchar_t c) {
  const auto u = static_cast<std::uint32_t>(c);
  if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7) || (u >= 0x3B1 && u <= 0x3CB && u != 0x3C2) ||
      (u >= 0x430 && u <= 0x44F)) {
    return static_cast<wchar_t>(u - 0x20);
  }
  if (u == 0xFF) return static_cast<wchar_t>(0x178);
  if (u == 0x3C2) return static_cast<wchar_t>(0x3A3);
  if (u >= 0x450 && u <= 0x45F) return static_cast<wchar_t>(u - 0x50);
  if (u >= 0x100 && u <= 0x17F && u != 0x130 && u != 0x131 && u != 0x138 && u != 0x149 && u != 0x17F) {
    const bool pairedOdd = (u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E);
    if (pairedOdd ? (u % 2 == 0) : (u % 2 == 1)) return static_cast<wchar_t>(u - 1);
  }
  return c;
}
