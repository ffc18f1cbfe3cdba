#pragma once
// A shell that records what it is asked to open.
#include <string>
#include <vector>

#include "platform/shell.h"

namespace platform {

class FakeShell final : public Shell {
 public:
  std::vector<std::wstring> Opened;
  void ShellOpen(std::wstring_view address) override { Opened.emplace_back(address); }
};

} // namespace platform
