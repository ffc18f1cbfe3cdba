#include "fakes/fake_locale.h"

#include <algorithm>

#include "support/text.h"

namespace platform {

int FakeLocale::ReadLocaleInfo(std::uint32_t, std::uint32_t type, std::span<wchar_t> buffer) {
  if (Fail || type != kLocaleSIso639LangName) return 0;
  const int needed = static_cast<int>(Language.size()) + 1;
  if (buffer.empty()) return needed;
  if (static_cast<int>(buffer.size()) < needed) return 0;
  std::copy(Language.begin(), Language.end(), buffer.begin());
  buffer[Language.size()] = L'\0';
  return needed;
}

int FakeLocale::CompareNoCase(std::wstring_view a, std::wstring_view b) { return UpperCase(a).compare(UpperCase(b)); }

std::wstring FakeLocale::UpperCase(std::wstring_view text) {
  std::wstring upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), SimpleUpcase);
  return upper;
}

} // namespace platform
