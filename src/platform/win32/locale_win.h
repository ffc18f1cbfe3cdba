#pragma once
#include "platform/locale.h"
#include "platform/resources.h"

namespace platform {

class Win32Locale final : public Locale {
 public:
  std::uint32_t GetUserDefaultLCID() override;
  int GetLocaleInfoW(std::uint32_t lcid, std::uint32_t type, std::span<wchar_t> buffer) override;
  int CompareTextNoCase(std::wstring_view a, std::wstring_view b) override;
  std::wstring UpperCase(std::wstring_view text) override;
};

// The resources of the program's own executable.
class Win32Resources final : public Resources {
 public:
  bool LoadRcData(std::wstring_view name, std::string& bytes) override;
};

class Win32Shell final : public Shell {
 public:
  void ShellOpen(std::wstring_view address) override;
};

} // namespace platform
