#include "cli/profile.h"

#include <unordered_map>

#include <nlohmann/json.hpp>

#include "support/text.h"
#include "support/utf8.h"

namespace {

// A text as every machine can match it. A name within a longer word stays: hidden, a short
// computer name ("PC") would make a service ("PcaSvc") another on every machine of another name.
std::wstring PortableText(std::wstring_view text, const PersonalNames& names) {
  return WithoutPersonalNames(text, names, NameBounds::Words);
}

} // namespace

std::string FormatProfile(const AutorunList& list, const PersonalNames& names) {
  nlohmann::ordered_json entries = nlohmann::ordered_json::array();
  const auto text = [&](const std::wstring& t) { return Utf8FromWide(PortableText(t, names)); };
  for (const auto& e : list) {
    entries.push_back({{"from", Utf8FromWide(e->From)},
                       {"caption", text(e->Caption)},
                       {"target", text(e->Target)},
                       {"fileName", text(e->FileName)},
                       {"enabled", e->Enabled}});
  }
  const nlohmann::ordered_json profile = {{"format", 1}, {"entries", std::move(entries)}};
  // Invalid UTF-16 in a name (a lone surrogate) was made U+FFFD by the conversion above.
  return profile.dump(2) + "\n";
}

namespace {

// Ends a parse that has met more than a profile holds.
struct Exceeded {
  std::string what;
};

// The text of member `name` of `entry`, where it must be a string of a profile's length.
bool ReadText(const nlohmann::json& entry, const char* name, bool required, std::wstring& text, std::string& error) {
  const auto found = entry.find(name);
  if (found == entry.end()) {
    if (required) error = std::string("\"") + name + "\" is missing";
    return !required;
  }
  if (!found->is_string()) {
    error = std::string("\"") + name + "\" is not a string";
    return false;
  }
  text = WideFromUtf8(found->get_ref<const std::string&>());
  if (text.size() > kMaxProfileText || text.find(L'\0') != std::wstring::npos) {
    error = std::string("\"") + name + "\" is longer than " + std::to_string(kMaxProfileText) +
            " characters or holds a NUL";
    return false;
  }
  if (required && text.empty()) {
    error = std::string("\"") + name + "\" is empty";
    return false;
  }
  return true;
}

// How an entry is named across machines.
std::wstring IdentityOf(std::wstring_view from, std::wstring_view target) {
  return AsciiUpperCase(from) + L'\n' + AsciiUpperCase(target);
}

} // namespace

std::optional<std::vector<ProfileEntry>> ParseProfile(std::string_view text, std::string& error) {
  if (text.size() > kMaxProfileBytes) {
    error = "larger than " + std::to_string(kMaxProfileBytes / (1024 * 1024)) + " MiB";
    return std::nullopt;
  }
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3); // as some editors save UTF-8
  // Nothing deeper than an entry's members is kept, and no more values than a profile holds
  // are read: a hostile file costs little more memory than its size.
  std::size_t entries = 0, values = 0;
  const auto keep = [&](int depth, nlohmann::json::parse_event_t event, nlohmann::json&) {
    using Event = nlohmann::json::parse_event_t;
    if (event != Event::object_start && event != Event::array_start && event != Event::value) return true;
    if (depth > 3) return false;
    if (depth == 2 && ++entries > kMaxProfileEntries) {
      throw Exceeded{"more than " + std::to_string(kMaxProfileEntries) + " entries"};
    }
    if (++values > 10 * kMaxProfileEntries) throw Exceeded{"more values than a profile holds"};
    return true;
  };
  nlohmann::json json;
  try {
    json = nlohmann::json::parse(text.begin(), text.end(), keep, false);
  } catch (const Exceeded& exceeded) {
    error = exceeded.what;
    return std::nullopt;
  }
  if (json.is_discarded() || !json.is_object()) {
    error = "not a JSON object";
    return std::nullopt;
  }
  const auto format = json.find("format");
  if (format == json.end() || !format->is_number_integer() || *format != 1) {
    error = "\"format\" is not 1, the only format this program reads";
    return std::nullopt;
  }
  const auto list = json.find("entries");
  if (list == json.end() || !list->is_array()) {
    error = "\"entries\" is not an array";
    return std::nullopt;
  }
  std::vector<ProfileEntry> profile;
  profile.reserve(list->size());
  std::unordered_map<std::wstring, std::size_t> named;
  for (const nlohmann::json& item : *list) {
    const std::string where = "entry " + std::to_string(profile.size() + 1) + ": ";
    if (!item.is_object()) {
      error = where + "not an object";
      return std::nullopt;
    }
    ProfileEntry entry;
    std::string problem;
    if (!ReadText(item, "from", true, entry.from, problem) || !ReadText(item, "target", true, entry.target, problem) ||
        !ReadText(item, "caption", false, entry.caption, problem) ||
        !ReadText(item, "fileName", false, entry.fileName, problem)) {
      error = where + problem;
      return std::nullopt;
    }
    const auto enabled = item.find("enabled");
    if (enabled == item.end() || !enabled->is_boolean()) {
      error = where + "\"enabled\" is not true or false";
      return std::nullopt;
    }
    entry.enabled = enabled->get<bool>();
    const auto [first, added] = named.emplace(IdentityOf(entry.from, entry.target), profile.size() + 1);
    if (!added) {
      error = where + "names the entry of entry " + std::to_string(first->second) + " again";
      return std::nullopt;
    }
    profile.push_back(std::move(entry));
  }
  return profile;
}

ProfilePlan PlanProfile(const std::vector<ProfileEntry>& profile, const AutorunList& list, const PersonalNames& names) {
  std::unordered_map<std::wstring, std::vector<const TAutorunInfo*>> here;
  for (const auto& entry : list)
    here[IdentityOf(entry->From, PortableText(entry->Target, names))].push_back(entry.get());
  ProfilePlan plan;
  std::unordered_map<const TAutorunInfo*, bool> named;
  for (const ProfileEntry& wanted : profile) {
    const auto found = here.find(IdentityOf(wanted.from, wanted.target));
    if (found == here.end()) {
      plan.missing.push_back(&wanted);
      continue;
    }
    for (const TAutorunInfo* entry : found->second) named[entry] = true;
    if (found->second.size() > 1) {
      plan.ambiguous.push_back(&wanted);
    } else if (found->second[0]->Enabled != wanted.enabled) {
      plan.changes.push_back({found->second[0], wanted.enabled});
    } else {
      ++plan.alike;
    }
  }
  for (const auto& entry : list) {
    if (!named.contains(entry.get())) plan.unnamed.push_back(entry.get());
  }
  return plan;
}
