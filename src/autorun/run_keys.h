#pragma once
// The registry Run keys: one entry per value; the state is kept beside them in StartupApproved
// values (from major version 10 on), which the Startup-folder source shares.
#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "autorun/autorun_info.h"
#include "platform/platform.h"
#include "support/path.h"
#include "support/reg.h"

// Whether a StartupApproved value marks its entry enabled. Windows marks a disabled entry by
// bit 0 of the state byte (it turns 02 into 03 and 06 into 07 when it disables one), so only a
// 12-byte value with an odd first byte reads disabled; missing, empty or odd-sized ones read
// enabled.
bool IsStartupApproved(std::span<const std::byte> value);
bool IsStartupApproved(const TReg& reg, HKey rootKey, std::wstring_view key, std::wstring_view name);

// The 12 bytes to record a state: 02 (enabled) or 03, three zeros, the current UTC FILETIME.
std::array<std::byte, 12> MakeStartupApprovedValue(platform::System& system, bool enabled);

// The native and the 32-bit Run key of the machine, then the user's Run key.
void AddRunKeys(platform::Platform& platform, const TFolderTokens& folderTokens, TAutorunList& list);
void AddRunKey(platform::Platform& platform, const TFolderTokens& folderTokens, HKey rootKey, std::wstring_view key,
               TAutorunList& list);
// `target` is a registry location text as AddRunKey made it.
void SetRunKeyEnabled(platform::Platform& platform, std::wstring_view target, bool enabled);
