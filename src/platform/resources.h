#pragma once
// The program's own resources and the shell.
#include <string>
#include <string_view>

namespace platform {

class Resources {
 public:
  virtual ~Resources() = default;
  // The bytes of the RCDATA resource `name` of the program's own module (names compare
  // without regard to case); false when there is none.
  virtual bool LoadRcData(std::wstring_view name, std::string& bytes) = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecuteW(no window, "open", address, no parameters, no folder, SW_SHOWNORMAL); the
  // result is not examined.
  virtual void ShellOpen(std::wstring_view address) = 0;
};

} // namespace platform
