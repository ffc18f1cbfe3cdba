#include "windows/locale_win.h"

#include <windows.h>

namespace platform {

std::uint32_t Win32Locale::UserLocale() { return GetUserDefaultLCID(); }

int Win32Locale::ReadLocaleInfo(std::uint32_t lcid, std::uint32_t type, std::span<wchar_t> buffer) {
  return GetLocaleInfoW(lcid, type, buffer.empty() ? nullptr : buffer.data(), static_cast<int>(buffer.size()));
}

int Win32Locale::CompareNoCase(std::wstring_view a, std::wstring_view b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) -
         CSTR_EQUAL;
}

std::wstring Win32Locale::UpperCase(std::wstring_view text) {
  if (text.empty()) return {};
  std::wstring upper(text.size(), L'\0');
  const int length = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, text.data(), static_cast<int>(text.size()),
                                  upper.data(), static_cast<int>(upper.size()));
  upper.resize(length > 0 ? length : 0);
  return length > 0 ? upper : std::wstring(text);
}

} // namespace platform
