#include "cli/profile.h"

#include <cstdint>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include <nlohmann/json.hpp>

#include "platform/win_constants.h"
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

namespace {

bool IsSurrogate(std::uint32_t c) { return c >= 0xD800 && c < 0xE000; }
bool IsHighSurrogate(std::uint32_t c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLowSurrogate(std::uint32_t c) { return c >= 0xDC00 && c < 0xE000; }

void AppendHex4(std::string& out, std::uint32_t value) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[value >> shift & 15];
}

// `text` as a JSON string, exactly: a lone surrogate, which UTF-8 cannot carry, is written as its
// \u escape, so that two names that differ only there stay two.
void AppendJsonString(std::string& out, std::wstring_view text) {
  out += '"';
  std::size_t run = 0; // the start of the characters not yet written, which UTF-8 carries as they are
  const auto flush = [&](std::size_t end) { out += Utf8FromWide(text.substr(run, end - run)); };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::uint32_t c = static_cast<std::uint32_t>(text[i]);
    if (sizeof(wchar_t) == 2 && IsHighSurrogate(c) && i + 1 < text.size() &&
        IsLowSurrogate(static_cast<std::uint32_t>(text[i + 1]))) {
      ++i; // a pair: one character
      continue;
    }
    if (c >= 0x20 && c != '"' && c != '\\' && !IsSurrogate(c)) continue;
    flush(i);
    run = i + 1;
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: AppendHex4(out, c);
    }
  }
  flush(text.size());
  out += '"';
}

// The JSON reader refuses a lone surrogate's escape. Before reading, each is carried as U+FDD0
// (a noncharacter) and U+E000 plus its distance from U+D800, and a U+FDD0 of the text itself as
// two of them; Uncarried undoes it in the texts read.
constexpr std::uint32_t kCarrier = 0xFDD0;
constexpr std::uint32_t kCarried = 0xE000;

// The four hex digits at `text[at]`, or -1.
long Hex4(std::string_view text, std::size_t at) {
  if (at + 4 > text.size()) return -1;
  long value = 0;
  for (std::size_t i = at; i < at + 4; ++i) {
    const int digit = HexDigit(static_cast<wchar_t>(static_cast<unsigned char>(text[i])));
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

std::string Carried(std::string_view text) {
  static constexpr std::string_view kCarrierUtf8 = "\xEF\xB7\x90";
  if (text.find("\\u") == std::string_view::npos && text.find(kCarrierUtf8) == std::string_view::npos) {
    return std::string(text);
  }
  std::string out;
  out.reserve(text.size());
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (!inString) {
      inString = c == '"';
      out += c;
      continue;
    }
    if (c == '"') {
      inString = false;
    } else if (text.substr(i).starts_with(kCarrierUtf8)) {
      AppendHex4(out, kCarrier);
      AppendHex4(out, kCarrier);
      i += kCarrierUtf8.size() - 1;
      continue;
    } else if (c == '\\' && i + 1 < text.size()) {
      const long unit = text[i + 1] == 'u' ? Hex4(text, i + 2) : -1;
      const long next = unit >= 0 && text.substr(i + 6).starts_with("\\u") ? Hex4(text, i + 8) : -1;
      if (unit >= 0 && IsHighSurrogate(unit) && next >= 0 && IsLowSurrogate(next)) {
        out += text.substr(i, 12); // a pair, as JSON has it
        i += 11;
      } else if (unit >= 0 && (IsSurrogate(unit) || unit == kCarrier)) {
        AppendHex4(out, kCarrier);
        AppendHex4(out, unit == kCarrier ? kCarrier : kCarried + (unit - 0xD800));
        i += 5;
      } else {
        out += text.substr(i, 2); // any other escape, as it is
        ++i;
      }
      continue;
    }
    out += c;
  }
  return out;
}

std::wstring Uncarried(std::wstring text) {
  std::size_t at = text.find(static_cast<wchar_t>(kCarrier));
  if (at == std::wstring::npos) return text;
  std::size_t kept = at;
  for (; at < text.size(); ++at) {
    const std::uint32_t c = static_cast<std::uint32_t>(text[at]);
    if (c == kCarrier && at + 1 < text.size()) {
      const std::uint32_t next = static_cast<std::uint32_t>(text[++at]);
      text[kept++] = static_cast<wchar_t>(next == kCarrier ? kCarrier : 0xD800 + (next - kCarried));
    } else {
      text[kept++] = text[at];
    }
  }
  text.resize(kept);
  return text;
}

} // namespace

std::string FormatProfile(const AutorunList& list, const PersonalNames& names) {
  // Laid out as the JSON library lays out a document indented by two.
  std::string out = "{\n  \"format\": 1,\n  \"entries\": [";
  const auto member = [&](const char* name) {
    out += "      \"";
    out += name;
    out += "\": ";
  };
  bool first = true;
  for (const auto& e : list) {
    out += first ? "\n    {\n" : ",\n    {\n";
    first = false;
    member("from");
    AppendJsonString(out, e->From);
    for (const auto& [name, text] : {std::pair{"caption", &e->Caption}, std::pair{"target", &e->Target},
                                     std::pair{"fileName", &e->FileName}}) {
      out += ",\n";
      member(name);
      AppendJsonString(out, PortableText(*text, names));
    }
    out += ",\n";
    member("enabled");
    out += e->Enabled ? "true" : "false";
    if (SourceOfTag(e->From) == AutorunSource::Service) {
      const char* start = e->StartType == win::kServiceAutoStart     ? "auto"
                          : e->StartType == win::kServiceDemandStart ? "manual"
                          : e->StartType == win::kServiceDisabled    ? "disabled"
                                                                : nullptr;
      if (start) {
        out += ",\n";
        member("startType");
        out += '"';
        out += start;
        out += '"';
      }
    }
    out += "\n    }";
  }
  out += first ? "]\n}\n" : "\n  ]\n}\n";
  return out;
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
      *text = {true, kind == Kind::String, kind == Kind::String ? Uncarried(WideFromUtf8(*string_)) : std::wstring()};
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
      from_ = target_ = caption_ = fileName_ = startType_ = {};
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
    if (name == "startType") return &startType_;
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
    ServiceStart start = ServiceStart::Unrecorded;
    if (startType_.seen) {
      const std::wstring& type = startType_.text;
      start = !startType_.string        ? ServiceStart::Unrecorded
              : type == L"auto"         ? ServiceStart::Auto
              : type == L"manual"       ? ServiceStart::Manual
              : type == L"disabled"     ? ServiceStart::Disabled
                                        : ServiceStart::Unrecorded;
      if (start == ServiceStart::Unrecorded) return Fail("\"startType\" is not \"auto\", \"manual\" or \"disabled\"");
      if (SourceOfTag(from_.text) != AutorunSource::Service) return Fail("\"startType\" is given for no service");
      if ((start == ServiceStart::Auto) != *enabled_) return Fail("\"enabled\" and \"startType\" disagree");
    }
    // An entry named twice is applied neither time; the rest of the profile is.
    const auto [first, added] = named_.emplace(IdentityOf(from_.text, target_.text), entries.size());
    if (!added) entries[first->second].repeated = true;
    entries.push_back({std::move(from_.text), std::move(caption_.text), std::move(target_.text),
                       std::move(fileName_.text), *enabled_, start, !added});
  }

  int depth_ = 0;
  int skip_ = 0; // the depth within a value passed over
  std::string key_;
  bool boolean_ = false;
  string_t* string_ = nullptr;
  std::size_t count_ = 0; // the entries met
  Text from_, target_, caption_, fileName_, startType_;
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
  const std::string carried = Carried(text);
  const bool read = nlohmann::json::sax_parse(carried.begin(), carried.end(), &reader);
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

bool HasState(const TAutorunInfo& entry, bool enabled) {
  if (SourceOfTag(entry.From) != AutorunSource::Service) return entry.Enabled == enabled;
  return entry.StartType == (enabled ? win::kServiceAutoStart : win::kServiceDisabled);
}

ProfilePlan PlanProfile(const std::vector<ProfileEntry>& profile, const AutorunList& list, const PersonalNames& names,
                        const std::function<bool(const TAutorunInfo&)>& isProtected) {
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
    if (wanted.repeated) {
      plan.repeated.push_back(&wanted);
      continue;
    }
    if (found->second.size() > 1) {
      plan.ambiguous.push_back(&wanted);
      continue;
    }
    const TAutorunInfo& entry = *found->second[0];
    // Manual is neither state the program sets: such a service keeps its start type. An older
    // profile's "not enabled" may have meant manual, so it is taken the same way.
    const bool manual = wanted.startType == ServiceStart::Manual ||
                        (wanted.startType == ServiceStart::Unrecorded && !wanted.enabled &&
                         SourceOfTag(entry.From) == AutorunSource::Service);
    const bool alike = !manual                                      ? HasState(entry, wanted.enabled)
                       : wanted.startType == ServiceStart::Manual ? entry.StartType == win::kServiceDemandStart
                                                                  : !entry.Enabled;
    if (alike) {
      ++plan.alike;
    } else if (manual) {
      plan.manual.push_back({&entry, &wanted});
    } else if (isProtected(entry)) {
      plan.protectedEntries.push_back({&entry, &wanted});
    } else {
      plan.changes.push_back({&entry, wanted.enabled});
    }
  }
  for (const auto& entry : list) {
    if (!named.contains(entry.get())) plan.unnamed.push_back(entry.get());
  }
  return plan;
}
