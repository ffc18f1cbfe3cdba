#include "autorun/startup_approved.h"

#include <algorithm>

#include "support/text.h"

bool IsStartupApproved(std::span<const std::byte> value) {
  return !(value.size() == 12 && (std::to_integer<unsigned>(value[0]) & 1) != 0);
}

bool IsStartupApproved(const TReg& reg, HKey rootKey, std::wstring_view key, std::wstring_view name) {
  return IsStartupApproved(reg.ReadBinary(rootKey, key, name));
}

std::uint64_t SwitchTimeOf(std::span<const std::byte> value) {
  if (value.size() != 12) return 0;
  std::uint64_t time = 0;
  for (int i = 11; i >= 4; --i) time = time << 8 | std::to_integer<std::uint64_t>(value[i]);
  return time;
}

namespace {

ApprovedState StateOf(std::span<const std::byte> value) { return {IsStartupApproved(value), SwitchTimeOf(value)}; }

bool IsAscii(std::wstring_view text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
}

} // namespace

ApprovedStates::ApprovedStates(platform::Registry& registry, HKey rootKey, std::wstring_view key)
    : key_(registry, rootKey, key) {
  std::vector<RegValue> values;
  key_.ReadValues(values);
  for (RegValue& value : values) {
    const auto [stored, added] = values_.emplace(std::move(value.name), RegBinary(value.type, value.data));
    if (!added) continue;
    if (IsAscii(stored->first)) {
      ascii_.emplace(AsciiUpperCase(stored->first), &stored->second);
    } else {
      otherNames_ = true;
    }
  }
}

ApprovedState ApprovedStates::Of(std::wstring_view name) const {
  if (const auto exact = values_.find(std::wstring(name)); exact != values_.end()) return StateOf(exact->second);
  if (IsAscii(name)) {
    if (const auto folded = ascii_.find(AsciiUpperCase(name)); folded != ascii_.end()) return StateOf(*folded->second);
    if (!otherNames_) return {}; // no value of that name
  }
  return StateOf(key_.ReadBinary(name)); // beyond ASCII the registry compares
}

StartupApprovedValue MakeStartupApprovedValue(platform::System& system, bool enabled) {
  StartupApprovedValue value{};
  value[0] = std::byte{enabled ? std::uint8_t{2} : std::uint8_t{3}};
  const std::uint64_t now = system.UtcNow();
  for (int i = 0; i < 8; ++i) value[4 + i] = static_cast<std::byte>(now >> (8 * i));
  return value;
}
