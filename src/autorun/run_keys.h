#pragma once
// The registry Run keys: one entry per value; from major version 10 on the state is kept beside
// them in StartupApproved values.
#include <string_view>

#include "autorun/autorun_info.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "support/path.h"
#include "support/reg.h"

// The native and the 32-bit Run key of the machine, then the user's Run key.
void AddRunKeys(platform::Registry& registry, const FolderTokens& folderTokens, AutorunList& list);
void AddRunKey(platform::Registry& registry, const FolderTokens& folderTokens, HKey rootKey, std::wstring_view key,
               AutorunList& list);
// `target` is a registry location text as AddRunKey made it. Below version 10 disabling
// deletes the Run value.
void SetRunKeyEnabled(platform::Registry& registry, platform::System& system, std::wstring_view target, bool enabled);
