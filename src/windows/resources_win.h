#pragma once
#include "platform/resources.h"

namespace platform {

// The resources of the program's own executable.
class Win32Resources final : public Resources {
 public:
  bool ReadRcData(std::wstring_view name, std::string& bytes) override;
};

} // namespace platform
