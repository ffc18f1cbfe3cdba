#pragma once
#include "platform/system.h"

namespace platform {

// A system of a chosen version whose clock stands still unless a test moves it.
class FakeSystem final : public System {
 public:
  std::uint32_t Major = 10;
  std::uint64_t Now = 0x01DB0000'00000000; // a FILETIME in 2024
  std::uint16_t Architecture = kProcessorArchitectureAmd64;
  std::uint32_t MajorVersion() override { return Major; }
  std::uint16_t NativeArchitecture() override { return Architecture; }
  std::uint64_t UtcNow() override { return Now; }
};

} // namespace platform
