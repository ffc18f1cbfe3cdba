#include "cli/cli.h"

#include <optional>

#include <nlohmann/json.hpp>

#include "autorun/catalogue.h"
#include "autorun/saved_list.h"
#include "autorun/startup_folders.h"
#include "support/text.h"
#include "support/utf8.h"
#include "ui/autorun_model.h"
#include "ui/filter_list.h"

namespace {

constexpr char kUsage[] =
    "usage: tarnwick-cli list [--json]\n"
    "       tarnwick-cli list --visible [--all] [--reply FILE]\n"
    "       tarnwick-cli save FILE\n"
    "       tarnwick-cli disable --from TAG --target TARGET\n"
    "       tarnwick-cli enable --from TAG --target TARGET\n"
    "\n"
    "  list     the programs that start with Windows, one From|Caption|Target|state line each,\n"
    "           or with --json one JSON array of entries; with --visible the rows the window\n"
    "           shows, Name|From|state, disabled ones too with --all, with the lists of a\n"
    "           start-up reply FILE merged in with --reply\n"
    "  save     writes the list as a UTF-8 text file, one From|Caption|Target line each\n"
    "  disable  switches an entry off, or on with enable; TAG and TARGET as list prints them\n";

int Usage(std::string& err, const std::string& problem) {
  err += "tarnwick-cli: " + problem + "\n" + kUsage;
  return 2;
}

void List(AutorunCatalogue& catalogue, bool json, std::string& out) {
  AutorunList list;
  catalogue.GetAutorunList(list);
  if (!json) {
    for (const auto& e : list) {
      out += Utf8FromWide(e->From + L"|" + e->Caption + L"|" + e->Target + (e->Enabled ? L"|enabled" : L"|disabled"));
      out += '\n';
    }
    return;
  }
  nlohmann::ordered_json entries = nlohmann::ordered_json::array();
  for (const auto& e : list) {
    entries.push_back({{"from", Utf8FromWide(e->From)},
                       {"caption", Utf8FromWide(e->Caption)},
                       {"target", Utf8FromWide(e->Target)},
                       {"fileName", Utf8FromWide(e->FileName)},
                       {"rawData", Utf8FromWide(e->RawData)},
                       {"enabled", e->Enabled}});
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

int ListVisible(const CliServices& services, bool all, const std::wstring* reply, std::string& out, std::string& err) {
  FilterList fileWhite(services.locale), nameWhite(services.locale), nameBlack(services.locale);
  LoadListFromResource(services.resources, nameWhite, L"name_white");
  LoadListFromResource(services.resources, nameBlack, L"name_black");
  if (reply) {
    std::string text;
    std::wstring message;
    if (!services.files.ReadWholeFile(*reply, text, message)) {
      err += "tarnwick-cli: cannot read " + Utf8FromWide(*reply) + ": " + Utf8FromWide(message) + "\n";
      return 1;
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
  model.LoadAutorun(all);
  model.ResolveAll(); // the names it prints
  for (const TAutorunItem& row : model.Rows()) {
    out += Utf8FromWide(row.FileName + L"|" + row.From + (row.Enabled ? L"|enabled" : L"|disabled")) + "\n";
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
      return Usage(err, "unexpected argument: " + Utf8FromWide(args[i]));
    }
  }
  if (!haveFrom || !haveTarget) return Usage(err, "both --from and --target are needed");

  const std::string what = Utf8FromWide(from + L"|" + target);
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
  if ((after && after->Enabled == enable) || (!after && !enable)) return 0;
  err += "tarnwick-cli: no change: " + what +
         (after ? " is still " + std::string(after->Enabled ? "enabled" : "disabled") +
                      " (access denied, or the system refused the change)\n"
                : " is gone\n");
  return 1;
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
    bool json = false, visible = false, all = false;
    std::optional<std::wstring> reply;
    for (std::size_t i = 1; i < args.size(); ++i) {
      if (args[i] == L"--json" && !json) {
        json = true;
      } else if (args[i] == L"--visible" && !visible) {
        visible = true;
      } else if (args[i] == L"--all" && !all) {
        all = true;
      } else if (args[i] == L"--reply" && !reply && i + 1 < args.size()) {
        reply = args[++i];
      } else {
        return Usage(err, "unexpected argument: " + Utf8FromWide(args[i]));
      }
    }
    if ((json && visible) || (!visible && (all || reply))) {
      return Usage(err, "--all and --reply go with --visible, --json without it");
    }
    if (visible) return ListVisible(services, all, reply ? &*reply : nullptr, out, err);
    List(services.catalogue, json, out);
    return 0;
  }
  if (command == L"save") {
    if (args.size() != 2) return Usage(err, "save takes one FILE");
    AutorunList list;
    services.catalogue.GetAutorunList(list);
    std::wstring message;
    if (!services.files.WriteWholeFile(args[1], FormatSavedList(list), message)) {
      err += "tarnwick-cli: cannot write " + Utf8FromWide(args[1]) + ": " + Utf8FromWide(message) + "\n";
      return 1;
    }
    return 0;
  }
  if (command == L"enable" || command == L"disable") return Switch(services.catalogue, args, err);
  return Usage(err, "unknown command: " + Utf8FromWide(command));
}
