#pragma once
// The shell, which opens addresses and files with their programs.
#include <string_view>

namespace platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecuteW(no window, "open", address, no parameters, no folder, SW_SHOWNORMAL); the
  // result is not examined.
  virtual void ShellOpen(std::wstring_view address) = 0;
};

} // namespace platform
