#pragma once
// The shell, which opens web addresses in the user's browser.
#include <string_view>

namespace platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens `address` with the verb "open" in a normal window, through the desktop's own shell:
  // whatever it starts runs as the signed-in user without the program's administrator rights.
  // False, and nothing opened, where no desktop shell answers; what the opened program then
  // does is not examined.
  virtual bool ShellOpen(std::wstring_view address) = 0;
};

} // namespace platform
