// Startup profiles of any bytes: the reader takes a profile within its limits or says why not,
// and what it takes can be planned against and written out again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/profile.h"
#include "support/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string error;
  const auto profile = ParseProfile(std::string_view(reinterpret_cast<const char*>(data), size), error);
  if (!profile) {
    if (error.empty()) __builtin_trap();
    return 0;
  }
  if (profile->size() > kMaxProfileEntries) __builtin_trap();
  AutorunList list;
  for (const ProfileEntry& entry : *profile) {
    for (const std::wstring* text : {&entry.from, &entry.target, &entry.caption, &entry.fileName}) {
      if (text->size() > kMaxProfileText || text->find(L'\0') != std::wstring::npos) __builtin_trap();
    }
    if (entry.from.empty() || entry.target.empty()) __builtin_trap();
    if (entry.startType != ServiceStart::Unrecorded && SourceOfTag(entry.from) != AutorunSource::Service) {
      __builtin_trap();
    }
    // A machine whose entries are the profile's, each in the other state (a manual service is
    // made automatic).
    auto other = std::make_unique<TAutorunInfo>(
        TAutorunInfo{entry.fileName, entry.caption, L"", entry.target, entry.from, !entry.enabled});
    other->StartType = entry.enabled ? 4 : 2;
    list.push_back(std::move(other));
  }
  // Every other entry is protected: those are never changed.
  const PersonalNames names{{L"C:\\Users\\fuzz"}, {}, L"C:\\Users", L"fuzz", {L"FUZZPC"}};
  bool odd = false;
  const ProfilePlan plan = PlanProfile(*profile, list, names, [&](const TAutorunInfo&) { return odd = !odd; });
  if (plan.changes.size() + plan.alike + plan.missing.size() + plan.ambiguous.size() + plan.repeated.size() +
          plan.protectedEntries.size() + plan.manual.size() !=
      profile->size()) {
    __builtin_trap();
  }
  for (const ProfilePlan::Change& change : plan.changes) {
    if (HasState(*change.entry, change.enabled)) __builtin_trap();
    if (SourceOfTag(change.entry->From) == AutorunSource::Service && !change.enabled) {
      const auto wanted = std::find_if(profile->begin(), profile->end(), [&](const ProfileEntry& e) {
        return e.target == change.entry->Target && e.from == change.entry->From;
      });
      if (wanted == profile->end() || wanted->startType != ServiceStart::Disabled) __builtin_trap();
    }
  }
  // Written out, it reads again, every entry, unless a name's token made a text too long.
  const std::string written = FormatProfile(list, names);
  std::string again;
  const auto reread = ParseProfile(written, again);
  if (reread ? reread->size() != list.size() : again.find("longer than") == std::string::npos) __builtin_trap();
  return 0;
}
