#pragma once
// Startup profiles: the catalogue's entries and their states in a file that is checked against,
// and applied to, other machines. UTF-8 JSON without BOM:
//   {"format": 1, "entries": [{"from": ..., "caption": ..., "target": ..., "fileName": ...,
//                              "enabled": true}, ...]}
// Its texts name neither the user nor the machine, so one profile serves every machine and
// tells nothing of the one it came from.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "autorun/autorun_info.h"
#include "support/personal_names.h"

struct ProfileEntry {
  std::wstring from, caption, target, fileName;
  bool enabled = false;
};

// What a profile may hold: more is taken for a hostile file, not a machine's start-up.
inline constexpr std::size_t kMaxProfileBytes = 16 * 1024 * 1024;
inline constexpr std::size_t kMaxProfileEntries = 100000;
inline constexpr std::size_t kMaxProfileText = 32767; // characters, the longest path or registry name

// The profile of `list`, every text made free of `names` (those within longer words excepted).
std::string FormatProfile(const AutorunList& list, const PersonalNames& names);

// The entries of a profile; none, with `error` saying what is wrong, when the text is not a
// profile of format 1, breaks its limits or names an entry twice. A BOM before it is allowed.
std::optional<std::vector<ProfileEntry>> ParseProfile(std::string_view text, std::string& error);

// What applying a profile to this machine's entries comes to. An entry is named by its source
// tag and its target made free of `names` as FormatProfile makes it, both with ASCII case ignored.
struct ProfilePlan {
  struct Change {
    const TAutorunInfo* entry;
    bool enabled; // the state the profile wants
  };
  std::vector<Change> changes;                // entries whose state differs from the profile's
  std::size_t alike = 0;                      // entries already as the profile says
  std::vector<const ProfileEntry*> missing;   // named by the profile, not on this machine
  std::vector<const ProfileEntry*> ambiguous; // named by the profile, more than one entry here
  std::vector<const TAutorunInfo*> unnamed;   // on this machine, not named by the profile
};
ProfilePlan PlanProfile(const std::vector<ProfileEntry>& profile, const AutorunList& list, const PersonalNames& names);
