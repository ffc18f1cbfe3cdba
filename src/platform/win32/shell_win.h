#pragma once
#include "platform/shell.h"

namespace platform {

class Win32Shell final : public Shell {
 public:
  void ShellOpen(std::wstring_view address) override;
};

} // namespace platform
