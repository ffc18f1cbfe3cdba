#include "cli/cli.h"

#include <cstdint>
#include <optional>

#include <nlohmann/json.hpp>

#include "autorun/catalogue.h"
#include "autorun/file_checks.h"
#include "autorun/saved_list.h"
#include "autorun/startup_folders.h"
#include "cli/profile.h"
#include "platform/http.h"
#include "support/text.h"
#include "support/utf8.h"
#include "ui/autorun_model.h"
#include "ui/filter_list.h"

namespace {

constexpr char kUsage[] =
    "usage: tarnwick-cli list [--json | --csv]\n"
    "       tarnwick-cli list --visible [--all] [--reply FILE] [--explain] [--csv]\n"
    "       tarnwick-cli save FILE\n"
    "       tarnwick-cli disable --from TAG --target TARGET\n"
    "       tarnwick-cli enable --from TAG --target TARGET\n"
    "       tarnwick-cli export FILE\n"
    "       tarnwick-cli apply FILE [--check | --dry-run] [--allow-delete]\n"
    "\n"
    "  list     the programs that start with Windows, one From|Caption|Target|state line each,\n"
    "           with --json one JSON array of entries, with --csv a CSV table; with --visible\n"
    "           the rows the window shows, Name|From|state, disabled ones too with --all, with\n"
    "           the lists of a start-up reply FILE merged in with --reply, and with --explain\n"
    "           every entry and why the window leaves it out\n"
    "  save     writes the list as a UTF-8 text file, one From|Caption|Target line each\n"
    "  disable  switches an entry off, or on with enable; TAG and TARGET as list prints them\n"
    "  export   writes every entry and its state as a startup profile (JSON)\n"
    "  apply    switches the entries a profile names to its states; --dry-run only tells,\n"
    "           --check changes nothing and exits 1 when the machine differs; below Windows 10,\n"
    "           where disabling deletes an entry, it disables only with --allow-delete\n";

// A text as the text outputs print it: a control character, or one that turns the direction of
// what follows, is shown as an escape ("\x1B", "\u202E"), so that no name from the registry, a
// profile or a reply can rewrite what a console or a log shows around it.
std::string Printable(std::wstring_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  std::size_t run = 0; // the start of the characters not yet written
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::uint32_t c = static_cast<std::uint32_t>(text[i]);
    const bool control = c < 0x20 || (c >= 0x7F && c < 0xA0);
    const bool direction = c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
                           (c >= 0x2066 && c <= 0x2069);
    if (!control && !direction) continue;
    out += Utf8FromWide(text.substr(run, i - run));
    run = i + 1;
    out += c < 0x100 ? "\\x" : "\\u";
    for (int shift = c < 0x100 ? 4 : 12; shift >= 0; shift -= 4) out += kHex[c >> shift & 15];
  }
  return out + Utf8FromWide(text.substr(run));
}

int Usage(std::string& err, const std::string& problem) {
  err += "tarnwick-cli: " + problem + "\n" + kUsage;
  return 2;
}

// Reads the file `path` that the command is given, at most `maxBytes` of it; false, with the
// reason in `err`, when it cannot be read or is larger (`limit` says the limit in words).
bool ReadInput(platform::FileSystem& files, const std::wstring& path, std::size_t maxBytes, const char* limit,
               std::string& data, std::string& err) {
  std::wstring message;
  if (!files.ReadWholeFile(path, maxBytes, data, message)) {
    err += "tarnwick-cli: cannot read " + Printable(path) + ": " + Utf8FromWide(message) + "\n";
    return false;
  }
  if (data.size() <= maxBytes) return true;
  err += "tarnwick-cli: cannot read " + Printable(path) + ": larger than " + limit + "\n";
  return false;
}

bool HasProgramFile(const TAutorunInfo& entry) {
  const AutorunSource source = SourceOfTag(entry.From);
  return source == AutorunSource::Registry || source == AutorunSource::File;
}

// The state of an entry in a word; a service that starts manually is neither enabled nor disabled.
const char* StateName(const TAutorunInfo& entry) {
  if (SourceOfTag(entry.From) == AutorunSource::Service && entry.StartType == win::kServiceDemandStart) return "manual";
  return entry.Enabled ? "enabled" : "disabled";
}

// "From|Caption|Target", as list prints an entry.
std::string Named(std::wstring_view from, std::wstring_view caption, std::wstring_view target) {
  return Printable(from) + "|" + Printable(caption) + "|" + Printable(target);
}
std::string Named(const TAutorunInfo& e) { return Named(e.From, e.Caption, e.Target); }

// A FILETIME in ISO 8601, UTC, to the second: "2026-12-11T04:10:10Z".
std::string Iso8601(std::uint64_t fileTime) {
  const std::int64_t seconds = static_cast<std::int64_t>(fileTime / 10'000'000) - 11'644'473'600; // since 1970
  std::int64_t days = seconds / 86400, time = seconds % 86400;
  if (time < 0) time += 86400, --days;
  // Days since 1970-01-01 to the civil date (proleptic Gregorian), by eras of 400 years.
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shifted = (5 * dayOfYear + 2) / 153;
  const std::int64_t day = dayOfYear - (153 * shifted + 2) / 5 + 1;
  const std::int64_t month = shifted < 10 ? shifted + 3 : shifted - 9;
  const std::int64_t year = yearOfEra + era * 400 + (month <= 2);
  const auto two = [](std::int64_t n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
  std::string year4 = std::to_string(year);
  if (year4.size() < 4) year4.insert(0, 4 - year4.size(), '0');
  return year4 + "-" + two(month) + "-" + two(day) + "T" + two(time / 3600) + ":" + two(time / 60 % 60) + ":" +
         two(time % 60) + "Z";
}

// CSV as RFC 4180 has it and spreadsheets and Import-Csv read it: UTF-8 with a BOM, records
// ended by CR LF, a field quoted (its quotes doubled) when it holds a comma, a quote or a break.
class Csv {
 public:
  explicit Csv(std::string& out) : out_(out) { out_ += "\xEF\xBB\xBF"; }
  void Record(std::initializer_list<std::wstring_view> fields) {
    bool first = true;
    for (const std::wstring_view field : fields) {
      if (!first) out_ += ',';
      first = false;
      const std::string text = Utf8FromWide(field);
      if (text.find_first_of(",\"\r\n") == std::string::npos) {
        out_ += text;
        continue;
      }
      out_ += '"';
      for (const char c : text) out_ += c == '"' ? std::string("\"\"") : std::string(1, c);
      out_ += '"';
    }
    out_ += "\r\n";
  }

 private:
  std::string& out_;
};

enum class Format { Text, Json, Csv };

void List(const CliServices& services, Format format, std::string& out) {
  AutorunList list;
  services.catalogue.GetAutorunList(list);
  if (format == Format::Text) {
    for (const auto& e : list) out += Named(*e) + (e->Enabled ? "|enabled\n" : "|disabled\n");
    return;
  }
  // Asked only of Run values and Startup files: tasks and services have no such field.
  FileChecks checks(services.files, kFileCheckLimit);
  const auto exists = [&](const TAutorunInfo& e) { return checks.Exists(e.FileName); };
  if (format == Format::Csv) {
    Csv csv(out);
    csv.Record({L"From", L"Caption", L"Target", L"FileName", L"RawData", L"State", L"SwitchedAt", L"FileExists"});
    for (const auto& e : list) {
      const std::optional<bool> file = HasProgramFile(*e) ? exists(*e) : std::nullopt;
      csv.Record({e->From, e->Caption, e->Target, e->FileName, e->RawData, e->Enabled ? L"enabled" : L"disabled",
                  e->SwitchedAt ? WideFromUtf8(Iso8601(e->SwitchedAt)) : L"",
                  file ? (*file ? L"true" : L"false") : L""});
    }
    return;
  }
  nlohmann::ordered_json entries = nlohmann::ordered_json::array();
  for (const auto& e : list) {
    nlohmann::ordered_json entry = {{"from", Utf8FromWide(e->From)},       {"caption", Utf8FromWide(e->Caption)},
                                    {"target", Utf8FromWide(e->Target)},   {"fileName", Utf8FromWide(e->FileName)},
                                    {"rawData", Utf8FromWide(e->RawData)}, {"enabled", e->Enabled}};
    if (e->SwitchedAt) entry["switchedAt"] = Iso8601(e->SwitchedAt);
    if (HasProgramFile(*e)) {
      const std::optional<bool> file = exists(*e);
      entry["fileExists"] = file ? nlohmann::ordered_json(*file) : nlohmann::ordered_json(nullptr);
    }
    entries.push_back(std::move(entry));
  }
  out += entries.dump(2) + "\n";
}

// The list's images without pictures: only their number counts here.
class CountedImages final : public platform::ImageList {
 public:
  bool AddIcon(std::wstring_view, platform::IconHandle) override {
    ++count_;
    return true;
  }
  int Count() const override { return count_; }

 private:
  int count_ = kImageService + 1; // the stored images
};

struct VisibleOptions {
  bool all = false, explain = false, csv = false;
  std::optional<std::wstring> reply;
};

// Why an entry has no row, in words; empty when it has one.
std::wstring WhyHidden(const Visibility& visibility) {
  switch (visibility.reason) {
    case Visibility::Reason::Shown:
      return {};
    case Visibility::Reason::NoCaption:
      return L"no caption";
    case Visibility::Reason::Disabled:
      return L"disabled, shown with \"All Programs\"";
    case Visibility::Reason::FileWhite:
    case Visibility::Reason::NameWhite:
      break;
  }
  const std::wstring list =
      std::wstring(visibility.origin == FilterList::Origin::Reply ? L"the reply's " : L"the built-in ") +
      (visibility.reason == Visibility::Reason::FileWhite ? L"file list" : L"name list");
  return L"white-listed by " + list + L", line \"" + *visibility.line + L"\"";
}

int ListVisible(const CliServices& services, const VisibleOptions& options, std::string& out, std::string& err) {
  FilterList fileWhite(services.locale), nameWhite(services.locale), nameBlack(services.locale);
  LoadListFromResource(services.resources, nameWhite, L"name_white");
  LoadListFromResource(services.resources, nameBlack, L"name_black");
  if (options.reply) {
    std::string text;
    if (!ReadInput(services.files, *options.reply, platform::kMaxReplyBytes, "1 MiB, the most a reply may be", text,
                   err)) {
      return 2;
    }
    // As the window takes the server's reply: anything but a JSON object changes no list.
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    MergeJSONArray(fileWhite, json, "file_white");
    MergeJSONArray(nameWhite, json, "name_white");
    MergeJSONArray(nameBlack, json, "name_black");
  }
  CountedImages images;
  TAutorunModel model(services.catalogue, services.files, services.fileInfo, images, services.folderTokens, fileWhite,
                      nameWhite);
  model.LoadAutorun(options.all);
  if (options.explain) {
    std::optional<Csv> csv;
    if (options.csv) {
      csv.emplace(out);
      csv->Record({L"From", L"Caption", L"Target", L"Shown", L"Why"});
    }
    for (const auto& e : model.ListAutoObj()) {
      const Visibility visibility = model.VisibilityOf(*e, options.all);
      const std::wstring why = WhyHidden(visibility);
      if (csv) {
        csv->Record({e->From, e->Caption, e->Target, why.empty() ? L"yes" : L"no", why});
      } else {
        out += Named(*e) + (why.empty() ? "|shown" : "|hidden: " + Printable(why)) + "\n";
      }
    }
    return 0;
  }
  model.ResolveAll(); // the names it prints
  if (options.csv) {
    Csv csv(out);
    csv.Record({L"Name", L"From", L"Target", L"State"});
    for (const TAutorunItem& row : model.Rows()) {
      csv.Record({row.FileName, row.From, row.Target, row.Enabled ? L"enabled" : L"disabled"});
    }
    return 0;
  }
  for (const TAutorunItem& row : model.Rows()) {
    out += Printable(row.FileName) + "|" + Printable(row.From) + (row.Enabled ? "|enabled\n" : "|disabled\n");
  }
  return 0;
}

const TAutorunInfo* Find(const AutorunList& list, const std::wstring& from, const std::wstring& target) {
  for (const auto& e : list) {
    if (e->Target == target && EqualsAsciiNoCase(e->From, from)) return e.get();
  }
  return nullptr;
}

int Switch(AutorunCatalogue& catalogue, const std::vector<std::wstring>& args, std::string& err) {
  const bool enable = args[0] == L"enable";
  std::wstring from, target;
  bool haveFrom = false, haveTarget = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (i + 1 < args.size() && args[i] == L"--from" && !haveFrom) {
      from = args[++i];
      haveFrom = true;
    } else if (i + 1 < args.size() && args[i] == L"--target" && !haveTarget) {
      target = args[++i];
      haveTarget = true;
    } else {
      return Usage(err, "unexpected argument: " + Printable(args[i]));
    }
  }
  if (!haveFrom || !haveTarget) return Usage(err, "both --from and --target are needed");

  const std::string what = Printable(from) + "|" + Printable(target);
  AutorunList list;
  catalogue.GetAutorunList(list);
  if (!Find(list, from, target)) {
    err += "tarnwick-cli: no change: entry not found: " + what + "\n";
    return 1;
  }
  try {
    catalogue.SetAutorunEnabled(target, from, enable);
  } catch (const StartupFileError& error) {
    err += "tarnwick-cli: no change: " + Utf8FromWide(error.Message()) + "\n";
    return 1;
  }
  catalogue.GetAutorunList(list);
  const TAutorunInfo* after = Find(list, from, target);
  // Below Windows 10 a disabled Run value or Startup file is gone: that is its disabled state.
  if ((after && HasState(*after, enable)) || (!after && !enable)) return 0;
  err += "tarnwick-cli: no change: " + what +
         (after ? " is still " + std::string(StateName(*after)) +
                      " (access denied, or the system refused the change)\n"
                : " is gone\n");
  return 1;
}

// A profile holds no name of the user or the machine: without them it is neither made nor matched.
std::optional<PersonalNames> NamesForProfiles(const CliServices& services, std::string& err) {
  PersonalNames names = services.personalNames();
  if (names.Known()) return names;
  err +=
      "tarnwick-cli: no change: the names of the user and the machine, which a profile must not hold, cannot "
      "be learnt\n";
  return std::nullopt;
}

int Export(const CliServices& services, const std::wstring& file, std::string& err) {
  const std::optional<PersonalNames> names = NamesForProfiles(services, err);
  if (!names) return 1;
  AutorunList list;
  services.catalogue.GetAutorunList(list);
  std::wstring message;
  if (!services.files.WriteWholeFile(file, FormatProfile(list, *names), message)) {
    err += "tarnwick-cli: cannot write " + Printable(file) + ": " + Utf8FromWide(message) + "\n";
    return 1;
  }
  return 0;
}

struct ApplyOptions {
  std::wstring file;
  bool check = false, dryRun = false, allowDelete = false;
};

// The entry (`from`, `target`) in `list`, ASCII case ignored, or null.
const TAutorunInfo* FindNoCase(const AutorunList& list, std::wstring_view from, std::wstring_view target) {
  for (const auto& e : list) {
    if (EqualsAsciiNoCase(e->From, from) && EqualsAsciiNoCase(e->Target, target)) return e.get();
  }
  return nullptr;
}

int Apply(const CliServices& services, const ApplyOptions& options, std::string& out, std::string& err) {
  const std::string file = Printable(options.file);
  std::string text;
  if (!ReadInput(services.files, options.file, kMaxProfileBytes, "16 MiB, the most a profile may be", text, err)) {
    return 2;
  }
  std::string problem;
  const std::optional<std::vector<ProfileEntry>> profile = ParseProfile(text, problem);
  if (!profile) {
    err += "tarnwick-cli: " + file + " is no startup profile: " + problem + "\n";
    return 2;
  }
  const std::optional<PersonalNames> names = NamesForProfiles(services, err);
  if (!names) return 1;
  AutorunList list;
  services.catalogue.GetAutorunList(list);
  // What the window never shows, because the program's own lists name it, no profile switches:
  // the server's lines only hide, so they protect nothing.
  FilterList builtInNames(services.locale), noFiles(services.locale);
  LoadListFromResource(services.resources, builtInNames, L"name_white");
  const ProfilePlan plan = PlanProfile(*profile, list, *names, [&](const TAutorunInfo& entry) {
    return WhiteListed(entry, noFiles, builtInNames, services.folderTokens).reason != Visibility::Reason::Shown;
  });

  for (const ProfileEntry* missing : plan.missing) {
    out += "not on this machine, left alone: " + Named(missing->from, missing->caption, missing->target) + "\n";
  }
  for (const TAutorunInfo* unnamed : plan.unnamed) out += "not in the profile, left alone: " + Named(*unnamed) + "\n";
  for (const ProfilePlan::Kept& kept : plan.protectedEntries) {
    out += "protected, left alone: " + Named(*kept.entry) + "\n";
  }
  for (const ProfilePlan::Kept& kept : plan.manual) {
    out += std::string(kept.wanted->startType == ServiceStart::Manual ? "manual" : "manual or disabled") +
           " in the profile, left alone: " + Named(*kept.entry) + "\n";
  }
  std::size_t notDone = 0;
  const auto fail = [&](const std::string& what, const std::string& why) {
    err += "tarnwick-cli: not done: " + what + ": " + why + "\n";
    ++notDone;
  };
  for (const ProfileEntry* ambiguous : plan.ambiguous) {
    fail(Named(ambiguous->from, ambiguous->caption, ambiguous->target), "it names more than one entry here");
  }
  for (const ProfileEntry* repeated : plan.repeated) {
    fail(Named(repeated->from, repeated->caption, repeated->target), "the profile names it more than once");
  }
  // Below Windows 10 a Run value or a Startup file is disabled by deleting it.
  const bool disablingDeletes = services.system.MajorVersion() < 10;
  std::vector<ProfilePlan::Change> changes;
  for (const ProfilePlan::Change& change : plan.changes) {
    if (!change.enabled && disablingDeletes && HasProgramFile(*change.entry) && !options.allowDelete) {
      fail(Named(*change.entry), "disabling it would delete it on this Windows; --allow-delete allows that");
    } else {
      changes.push_back(change);
    }
  }

  const auto summary = [&](std::string_view changed, std::size_t count) {
    out += std::to_string(count) + " " + std::string(changed) + ", " + std::to_string(plan.alike) +
           " as the profile says, " + std::to_string(notDone) + " not done, " + std::to_string(plan.missing.size()) +
           " not on this machine, " + std::to_string(plan.unnamed.size()) + " not in the profile, " +
           std::to_string(plan.protectedEntries.size()) + " protected, " + std::to_string(plan.manual.size()) +
           " manual in the profile\n";
  };
  if (options.check || options.dryRun) {
    for (const ProfilePlan::Change& change : changes) {
      out += (change.enabled ? "would enable: " : "would disable: ") + Named(*change.entry) + "\n";
    }
    summary("to change", changes.size());
    if (options.check) {
      const bool matches = changes.empty() && notDone == 0;
      out += matches ? "the machine matches the profile\n" : "the machine differs from the profile\n";
      return matches ? 0 : 1;
    }
    return notDone ? 1 : 0;
  }
  if (changes.empty() && notDone == 0) {
    const bool leftAlone = !plan.protectedEntries.empty() || !plan.manual.empty();
    out += std::string("nothing to change: the entries the profile names are as it says") +
           (leftAlone ? ", or left alone\n" : "\n");
  }

  std::vector<const ProfilePlan::Change*> switched;
  for (const ProfilePlan::Change& change : changes) {
    try {
      services.catalogue.SetAutorunEnabled(change.entry->Target, change.entry->From, change.enabled);
      switched.push_back(&change);
    } catch (const StartupFileError& error) {
      fail(Named(*change.entry), Utf8FromWide(error.Message()));
    }
  }
  // Every change is verified by reading the catalogue again.
  std::size_t done = 0;
  if (!switched.empty()) {
    AutorunList after;
    services.catalogue.GetAutorunList(after);
    for (const ProfilePlan::Change* change : switched) {
      const TAutorunInfo* now = FindNoCase(after, change->entry->From, change->entry->Target);
      if (now && HasState(*now, change->enabled)) {
        out += (change->enabled ? "enabled: " : "disabled: ") + Named(*change->entry) + "\n";
        ++done;
      } else if (!now && !change->enabled && disablingDeletes) {
        out += "deleted: " + Named(*change->entry) + "\n";
        ++done;
      } else {
        fail(Named(*change->entry), now ? std::string("still ") + StateName(*now) +
                                              " (access denied, or the system refused the change)"
                                        : "gone");
      }
    }
  }
  summary("changed", done);
  return notDone ? 1 : 0;
}

} // namespace

int RunCli(const std::vector<std::wstring>& args, const CliServices& services, std::string& out, std::string& err) {
  if (args.empty()) return Usage(err, "no command");
  if (args.size() == 1 && (args[0] == L"--help" || args[0] == L"-h" || args[0] == L"/?")) {
    out += kUsage;
    return 0;
  }
  const std::wstring& command = args[0];
  if (command == L"list") {
    bool json = false, csv = false, visible = false;
    VisibleOptions options;
    for (std::size_t i = 1; i < args.size(); ++i) {
      if (args[i] == L"--json" && !json) {
        json = true;
      } else if (args[i] == L"--csv" && !csv) {
        csv = true;
      } else if (args[i] == L"--visible" && !visible) {
        visible = true;
      } else if (args[i] == L"--all" && !options.all) {
        options.all = true;
      } else if (args[i] == L"--explain" && !options.explain) {
        options.explain = true;
      } else if (args[i] == L"--reply" && !options.reply && i + 1 < args.size()) {
        options.reply = args[++i];
      } else {
        return Usage(err, "unexpected argument: " + Printable(args[i]));
      }
    }
    if (json && csv) return Usage(err, "--json and --csv exclude each other");
    if ((json && visible) || (!visible && (options.all || options.reply || options.explain))) {
      return Usage(err, "--all, --reply and --explain go with --visible, --json without it");
    }
    options.csv = csv;
    if (visible) return ListVisible(services, options, out, err);
    List(services, json ? Format::Json : csv ? Format::Csv : Format::Text, out);
    return 0;
  }
  if (command == L"export") {
    if (args.size() != 2) return Usage(err, "export takes one FILE");
    return Export(services, args[1], err);
  }
  if (command == L"apply") {
    ApplyOptions options;
    bool haveFile = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
      if (args[i] == L"--check" && !options.check) {
        options.check = true;
      } else if (args[i] == L"--dry-run" && !options.dryRun) {
        options.dryRun = true;
      } else if (args[i] == L"--allow-delete" && !options.allowDelete) {
        options.allowDelete = true;
      } else if (!haveFile && !args[i].starts_with(L"--")) {
        options.file = args[i];
        haveFile = true;
      } else {
        return Usage(err, "unexpected argument: " + Printable(args[i]));
      }
    }
    if (!haveFile) return Usage(err, "apply takes one FILE");
    if (options.check && options.dryRun) return Usage(err, "--check and --dry-run exclude each other");
    return Apply(services, options, out, err);
  }
  if (command == L"save") {
    if (args.size() != 2) return Usage(err, "save takes one FILE");
    AutorunList list;
    services.catalogue.GetAutorunList(list);
    std::wstring message;
    if (!services.files.WriteWholeFile(args[1], FormatSavedList(list), message)) {
      err += "tarnwick-cli: cannot write " + Printable(args[1]) + ": " + Utf8FromWide(message) + "\n";
      return 1;
    }
    return 0;
  }
  if (command == L"enable" || command == L"disable") return Switch(services.catalogue, args, err);
  return Usage(err, "unknown command: " + Printable(command));
}
