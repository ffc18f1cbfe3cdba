#pragma once
#include "platform/system.h"

namespace platform {

class Win32System final : public System {
 public:
  std::uint32_t MajorVersion() override;
  std::uint64_t UtcNow() override;
  std::uint16_t NativeArchitecture() override;
};

} // namespace platform
