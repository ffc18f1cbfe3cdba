#pragma once
#include "platform/locale.h"

namespace platform {

class Win32Locale final : public Locale {
 public:
  std::uint32_t UserLocale() override;
  int ReadLocaleInfo(std::uint32_t lcid, std::uint32_t type, std::span<wchar_t> buffer) override;
  int CompareNoCase(std::wstring_view a, std::wstring_view b) override;
  std::wstring UpperCase(std::wstring_view text) override;
};

} // namespace platform
