// Startup profiles of any bytes: the reader takes a profile within its limits or says why not,
// and what it takes can be planned against and written out again.
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
    list.push_back(std::make_unique<TAutorunInfo>(
        TAutorunInfo{entry.fileName, entry.caption, L"", entry.target, entry.from, !entry.enabled}));
  }
  // A machine whose entries are the profile's, each in the other state: everything changes.
  const PersonalNames names{{L"C:\\Users\\fuzz"}, {}, L"C:\\Users", L"fuzz", {L"FUZZPC"}};
  const ProfilePlan plan = PlanProfile(*profile, list, names);
  if (plan.changes.size() + plan.alike + plan.missing.size() + plan.ambiguous.size() != profile->size()) {
    __builtin_trap();
  }
  for (const ProfilePlan::Change& change : plan.changes) {
    if (change.entry->Enabled == change.enabled) __builtin_trap();
  }
  // Written out, it reads again, unless hiding the names made two entries one.
  const std::string written = FormatProfile(list, names);
  std::string again;
  if (!ParseProfile(written, again) && again.find("again") == std::string::npos) __builtin_trap();
  return 0;
}
