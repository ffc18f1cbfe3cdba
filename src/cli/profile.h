#pragma once
// Startup profiles: the catalogue's entries and their states in a file that is checked against,
// and applied to, other machines. UTF-8 JSON without BOM:
//   {"format": 1, "entries": [{"from": ..., "caption": ..., "target": ..., "fileName": ...,
//                              "enabled": true, "startType": "auto"}, ...]}
// "startType" ("auto", "manual" or "disabled") is a service's; profiles written before it
// existed lack it. Its texts name neither the user nor the machine, so one profile serves every
// machine and tells nothing of the one it came from.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "autorun/autorun_info.h"
#include "support/personal_names.h"

// How a profile records a service's start.
enum class ServiceStart { Unrecorded, Auto, Manual, Disabled };

struct ProfileEntry {
  std::wstring from, caption, target, fileName;
  bool enabled = false;
  ServiceStart startType = ServiceStart::Unrecorded;
  bool repeated = false; // another entry of the profile names the same entry: neither is applied
};

// What a profile may hold: more is taken for a hostile file, not a machine's start-up.
inline constexpr std::size_t kMaxProfileBytes = 16 * 1024 * 1024;
inline constexpr std::size_t kMaxProfileEntries = 100000;
inline constexpr std::size_t kMaxProfileText = 32767; // characters, the longest path or registry name

// The profile of `list`, every text made free of `names` (those within longer words excepted).
std::string FormatProfile(const AutorunList& list, const PersonalNames& names);

// The entries of a profile; none, with `error` saying what is wrong, when the text is not a
// profile of format 1 or breaks its limits. An entry named twice is marked `repeated`, each
// time. A BOM before it is allowed.
std::optional<std::vector<ProfileEntry>> ParseProfile(std::string_view text, std::string& error);

// What applying a profile to this machine's entries comes to. An entry is named by its source
// tag and its target made free of `names` as FormatProfile makes it, both with ASCII case ignored.
// A service is made automatic or disabled only where the profile records exactly that: one it
// records as manual, or an older profile as not automatic, is left as it is, and so is every
// entry that `isProtected` answers true for.
struct ProfilePlan {
  struct Change {
    const TAutorunInfo* entry;
    bool enabled; // the state the profile wants: for a service, automatic or disabled
  };
  // An entry of this machine that differs from the profile and is left alone, and what the profile says.
  struct Kept {
    const TAutorunInfo* entry;
    const ProfileEntry* wanted;
  };
  std::vector<Change> changes;                // entries whose state differs from the profile's
  std::size_t alike = 0;                      // entries already as the profile says
  std::vector<const ProfileEntry*> missing;   // named by the profile, not on this machine
  std::vector<const ProfileEntry*> ambiguous; // named by the profile, more than one entry here
  std::vector<const ProfileEntry*> repeated;  // named more than once by the profile
  std::vector<Kept> protectedEntries;         // differ, but the program protects them
  std::vector<Kept> manual;                   // services the profile does not record as automatic or disabled
  std::vector<const TAutorunInfo*> unnamed;   // on this machine, not named by the profile
};
ProfilePlan PlanProfile(const std::vector<ProfileEntry>& profile, const AutorunList& list, const PersonalNames& names,
                        const std::function<bool(const TAutorunInfo&)>& isProtected);
// Whether `entry` is in the state `enabled`: for a service, automatic or disabled (manual is neither).
bool HasState(const TAutorunInfo& entry, bool enabled);
