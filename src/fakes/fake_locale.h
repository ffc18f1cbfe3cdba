#pragma once
// A locale of a chosen language whose comparisons fold case by the simple mapping.
#include <string>

#include "platform/locale.h"

namespace platform {

class FakeLocale final : public Locale {
 public:
  std::wstring Language = L"en"; // what LOCALE_SISO639LANGNAME answers
  bool Fail = false;             // ReadLocaleInfo fails

  std::uint32_t UserLocale() override { return 0x0409; }
  int ReadLocaleInfo(std::uint32_t lcid, std::uint32_t type, std::span<wchar_t> buffer) override;
  int CompareNoCase(std::wstring_view a, std::wstring_view b) override;
  std::wstring UpperCase(std::wstring_view text) override;
};

} // namespace platform
