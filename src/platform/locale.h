#pragma once
// The user's locale: its language name, and comparing and upper-casing text by its rules.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace platform {

class Locale {
 public:
  virtual ~Locale() = default;

  // The user's default locale identifier (GetUserDefaultLCID).
  virtual std::uint32_t UserLocale() = 0;
  // GetLocaleInfoW: with an empty buffer the characters needed (NUL included), else the
  // characters written; 0 on failure.
  virtual int ReadLocaleInfo(std::uint32_t lcid, std::uint32_t type, std::span<wchar_t> buffer) = 0;
  // CompareStringW on the user's default locale with NORM_IGNORECASE: <0, 0 or >0.
  virtual int CompareNoCase(std::wstring_view a, std::wstring_view b) = 0;
  // The text upper-cased by the user's locale (LCMapStringW with LCMAP_UPPERCASE).
  virtual std::wstring UpperCase(std::wstring_view text) = 0;
};

inline constexpr std::uint32_t kLocaleSIso639LangName = 0x59;

} // namespace platform
