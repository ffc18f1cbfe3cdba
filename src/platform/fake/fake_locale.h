#pragma once
// A locale of a chosen language whose comparisons fold case by the simple mapping.
#include <string>
#include <vector>

#include "platform/locale.h"
#include "platform/resources.h"

namespace platform {

class FakeLocale final : public Locale {
 public:
  std::wstring Language = L"en"; // what LOCALE_SISO639LANGNAME answers
  bool Fail = false;             // GetLocaleInfoW fails

  std::uint32_t GetUserDefaultLCID() override { return 0x0409; }
  int GetLocaleInfoW(std::uint32_t lcid, std::uint32_t type, std::span<wchar_t> buffer) override;
  int CompareTextNoCase(std::wstring_view a, std::wstring_view b) override;
  std::wstring UpperCase(std::wstring_view text) override;
};

// Resources by name, as a test puts them in.
class FakeResources final : public Resources {
 public:
  std::vector<std::pair<std::wstring, std::string>> Items;
  bool LoadRcData(std::wstring_view name, std::string& bytes) override;
};

class FakeShell final : public Shell {
 public:
  std::vector<std::wstring> Opened;
  void ShellOpen(std::wstring_view address) override { Opened.emplace_back(address); }
};

} // namespace platform
