#pragma once
// The StartupApproved value: how Windows, from major version 10 on, records beside a Run value or
// a Startup-folder file that the entry is switched off, without touching the entry itself.
// 12 bytes: the state byte (2 enabled, 3 disabled), three zeros, the UTC time of the change as
// a FILETIME, low byte first.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/system.h"
#include "support/reg.h"

using StartupApprovedValue = std::array<std::byte, 12>;

// Whether a StartupApproved value marks its entry enabled. Windows marks a disabled entry by
// bit 0 of the state byte (it turns 02 into 03 and 06 into 07 when it disables one), so only a
// 12-byte value with an odd first byte reads disabled; missing, empty or odd-sized ones read
// enabled.
bool IsStartupApproved(std::span<const std::byte> value);
bool IsStartupApproved(const TReg& reg, HKey rootKey, std::wstring_view key, std::wstring_view name);
// The time of the last switch a StartupApproved value records, as a FILETIME; 0 when it records
// none (a value of another size, or the zero time that installers write).
std::uint64_t SwitchTimeOf(std::span<const std::byte> value);

// What the value of one entry records; an entry without one is enabled and was never switched.
struct ApprovedState {
  bool enabled = true;
  std::uint64_t switchedAt = 0;
};

// The states of one StartupApproved key, read in one enumeration and looked up by entry name
// without regard to case, as the registry finds a value.
class ApprovedStates {
 public:
  ApprovedStates(platform::Registry& registry, HKey rootKey, std::wstring_view key);
  // What the value named `name` records.
  ApprovedState Of(std::wstring_view name) const;

 private:
  RegReader key_;
  std::unordered_map<std::wstring, std::vector<std::byte>> values_;       // by name as stored
  std::unordered_map<std::wstring, const std::vector<std::byte>*> ascii_; // names of ASCII only, upper-cased
  bool otherNames_ = false; // a name beyond ASCII, whose case the registry folds its own way
};

// The value that records `enabled` now.
StartupApprovedValue MakeStartupApprovedValue(platform::System& system, bool enabled);
