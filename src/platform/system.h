#pragma once
#include <cstdint>

namespace platform {

// What the operating system says of itself.
class System {
 public:
  virtual ~System() = default;
  // The major version the system reports to this program; it depends on the supportedOS
  // entries of the program's manifest.
  virtual std::uint32_t MajorVersion() = 0;
  // The current UTC time as a FILETIME: 100-nanosecond intervals since 1601-01-01.
  virtual std::uint64_t UtcNow() = 0;
  // GetNativeSystemInfo's processor architecture: 9 is x64 (AMD64), 12 ARM64, 0 x86.
  virtual std::uint16_t NativeArchitecture() = 0;
};

inline constexpr std::uint16_t kProcessorArchitectureAmd64 = 9;

} // namespace platform
