#include "cli/profile.h"

#include <optional>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include <nlohmann/json.hpp>

#include "support/text.h"
#include "support/utf8.h"

namespace {

// A text as every machine can match it. A name within a longer word stays: hidden, a short
// computer name ("PC") would make a service ("PcaSvc") another on every machine of another name.
std::wstring PortableText(std::wstring_view text, const PersonalNames& names) {
  return WithoutPersonalNames(text, names, NameBounds::Words);
}

// How an entry is named across machines.
std::wstring IdentityOf(std::wstring_view from, std::wstring_view target) {
  return AsciiUpperCase(from) + L'\n' + AsciiUpperCase(target);
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

// Reads a profile as its text streams by, keeping only what a profile holds: no tree of the
// whole text is built, so neither a deep nor a long hostile file costs more than its size.
class ProfileReader final : public nlohmann::json_sax<nlohmann::json> {
 public:
  std::vector<ProfileEntry> entries;
  std::string problem;   // the first entry's problem, or the limit exceeded
  bool exceeded = false; // the read stopped at a limit
  bool rootObject = false, formatOne = false, entriesArray = false;

  bool null() override { return Value(Kind::Other); }
  bool boolean(bool value) override {
    boolean_ = value;
    return Value(Kind::Boolean);
  }
  bool number_integer(number_integer_t value) override { return Value(value == 1 ? Kind::One : Kind::Other); }
  bool number_unsigned(number_unsigned_t value) override { return Value(value == 1 ? Kind::One : Kind::Other); }
  bool number_float(number_float_t, const string_t&) override { return Value(Kind::Other); }
  bool binary(binary_t&) override { return Value(Kind::Other); }
  bool string(string_t& value) override {
    string_ = &value;
    return Value(Kind::String);
  }
  bool start_object(std::size_t) override { return Start(true); }
  bool start_array(std::size_t) override { return Start(false); }
  bool end_object() override { return End(); }
  bool end_array() override { return End(); }
  bool key(string_t& name) override {
    if (skip_ == 0) key_ = name;
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

 private:
  enum class Kind { Boolean, String, One, Other, Object, Array };
  // An entry's member as the text gives it.
  struct Text {
    bool seen = false, string = false;
    std::wstring text;
  };

  // A value where the reader stands: depth 1 the profile's members, 2 the entries, 3 an entry's.
  bool Value(Kind kind) {
    if (skip_ > 0) return true;
    if (depth_ == 0) return kind == Kind::Object; // else the profile is no object
    if (depth_ == 1) {
      if (key_ == "format") formatOne = kind == Kind::One;
      if (key_ == "entries") {
        entriesArray = kind == Kind::Array;
        if (entriesArray) Restart();
      }
      return true;
    }
    if (depth_ == 2) {
      if (!Counted()) return false;
      if (kind != Kind::Object) Fail("not an object");
      return true;
    }
    if (key_ == "enabled") {
      enabled_ = kind == Kind::Boolean ? std::optional<bool>(boolean_) : std::nullopt;
    } else if (Text* text = Member(key_)) {
      *text = {true, kind == Kind::String, kind == Kind::String ? WideFromUtf8(*string_) : std::wstring()};
    }
    return true;
  }
  bool Start(bool object) {
    if (skip_ > 0) {
      ++skip_;
      return true;
    }
    if (!Value(object ? Kind::Object : Kind::Array)) return false;
    // The profile's object, the entries' array and each entry's object are read; anything else
    // is passed over whole.
    const bool read = (depth_ == 0 && object) || (depth_ == 1 && !object && key_ == "entries") ||
                      (depth_ == 2 && object && entriesArray);
    if (!read) {
      skip_ = 1;
      return true;
    }
    if (depth_ == 0) rootObject = true;
    if (depth_ == 2) {
      from_ = target_ = caption_ = fileName_ = {};
      enabled_.reset();
    }
    ++depth_;
    key_.clear();
    return true;
  }
  bool End() {
    if (skip_ > 0) {
      --skip_;
      return true;
    }
    --depth_;
    if (depth_ == 2) FinishEntry();
    key_.clear();
    return true;
  }

  // A later "entries" member replaces an earlier one, as a later member does in JSON.
  void Restart() {
    entries.clear();
    named_.clear();
    problem.clear();
    count_ = 0;
  }
  bool Counted() {
    if (++count_ <= kMaxProfileEntries) return true;
    problem = "more than " + std::to_string(kMaxProfileEntries) + " entries";
    exceeded = true;
    return false;
  }
  void Fail(const std::string& what) {
    if (problem.empty()) problem = "entry " + std::to_string(count_) + ": " + what;
  }
  Text* Member(const std::string& name) {
    if (name == "from") return &from_;
    if (name == "target") return &target_;
    if (name == "caption") return &caption_;
    if (name == "fileName") return &fileName_;
    return nullptr;
  }
  // The problem of member `name`, or none.
  static std::optional<std::string> Check(const char* name, const Text& text, bool required) {
    const std::string quoted = std::string("\"") + name + "\"";
    if (!text.seen) return required ? std::optional(quoted + " is missing") : std::nullopt;
    if (!text.string) return quoted + " is not a string";
    if (text.text.size() > kMaxProfileText || text.text.find(L'\0') != std::wstring::npos) {
      return quoted + " is longer than " + std::to_string(kMaxProfileText) + " characters or holds a NUL";
    }
    if (required && text.text.empty()) return quoted + " is empty";
    return std::nullopt;
  }
  void FinishEntry() {
    if (!problem.empty()) return; // only the first problem is told; nothing after it is kept
    for (const auto& [name, text, required] :
         {std::tuple{"from", &from_, true}, std::tuple{"target", &target_, true},
          std::tuple{"caption", &caption_, false}, std::tuple{"fileName", &fileName_, false}}) {
      if (const auto wrong = Check(name, *text, required)) return Fail(*wrong);
    }
    if (!enabled_) return Fail("\"enabled\" is not true or false");
    const auto [first, added] = named_.emplace(IdentityOf(from_.text, target_.text), count_);
    if (!added) return Fail("names the entry of entry " + std::to_string(first->second) + " again");
    entries.push_back({std::move(from_.text), std::move(caption_.text), std::move(target_.text),
                       std::move(fileName_.text), *enabled_});
  }

  int depth_ = 0;
  int skip_ = 0; // the depth within a value passed over
  std::string key_;
  bool boolean_ = false;
  string_t* string_ = nullptr;
  std::size_t count_ = 0; // the entries met
  Text from_, target_, caption_, fileName_;
  std::optional<bool> enabled_;
  std::unordered_map<std::wstring, std::size_t> named_;
};

} // namespace

std::optional<std::vector<ProfileEntry>> ParseProfile(std::string_view text, std::string& error) {
  if (text.size() > kMaxProfileBytes) {
    error = "larger than " + std::to_string(kMaxProfileBytes / (1024 * 1024)) + " MiB";
    return std::nullopt;
  }
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3); // as some editors save UTF-8
  ProfileReader reader;
  const bool read = nlohmann::json::sax_parse(text.begin(), text.end(), &reader);
  if (reader.exceeded) {
    error = reader.problem;
  } else if (!read || !reader.rootObject) {
    error = "not a JSON object";
  } else if (!reader.formatOne) {
    error = "\"format\" is not 1, the only format this program reads";
  } else if (!reader.entriesArray) {
    error = "\"entries\" is not an array";
  } else if (!reader.problem.empty()) {
    error = reader.problem;
  } else {
    return std::move(reader.entries);
  }
  return std::nullopt;
}

ProfilePlan PlanProfile(const std::vector<ProfileEntry>& profile, const AutorunList& list, const PersonalNames& names) {
  std::unordered_map<std::wstring, std::vector<const TAutorunInfo*>> here;
  for (const auto& entry : list)
    here[IdentityOf(entry->From, PortableText(entry->Target, names))].push_back(entry.get());
  ProfilePlan plan;
  std::unordered_set<const TAutorunInfo*> named;
  for (const ProfileEntry& wanted : profile) {
    const auto found = here.find(IdentityOf(wanted.from, wanted.target));
    if (found == here.end()) {
      plan.missing.push_back(&wanted);
      continue;
    }
    named.insert(found->second.begin(), found->second.end());
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
