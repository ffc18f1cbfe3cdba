#pragma once
#include "platform/shell.h"

namespace platform {

class Win32Shell final : public Shell {
 public:
  bool ShellOpen(std::wstring_view address) override;
};

} // namespace platform
