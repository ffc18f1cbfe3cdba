#include "autorun/startup_approved.h"

bool IsStartupApproved(std::span<const std::byte> value) {
  return !(value.size() == 12 && (std::to_integer<unsigned>(value[0]) & 1) != 0);
}

bool IsStartupApproved(const TReg& reg, HKey rootKey, std::wstring_view key, std::wstring_view name) {
  return IsStartupApproved(reg.ReadBinary(rootKey, key, name));
}

StartupApprovedValue MakeStartupApprovedValue(platform::System& system, bool enabled) {
  StartupApprovedValue value{};
  value[0] = std::byte{enabled ? std::uint8_t{2} : std::uint8_t{3}};
  const std::uint64_t now = system.UtcNow();
  for (int i = 0; i < 8; ++i) value[4 + i] = static_cast<std::byte>(now >> (8 * i));
  return value;
}
