#pragma once
// A shell that records what it is asked to open.
#include <string>
#include <vector>

#include "platform/shell.h"

namespace platform {

class FakeShell final : public Shell {
 public:
  std::vector<std::wstring> Opened;
  bool Answer = true; // false: as where no desktop shell runs, nothing is opened
  bool ShellOpen(std::wstring_view address) override {
    if (Answer) Opened.emplace_back(address);
    return Answer;
  }
};

} // namespace platform
