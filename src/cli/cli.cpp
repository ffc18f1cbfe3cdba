#include "cli/cli.h"

#include <nlohmann/json.hpp>

#include "autorun/catalogue.h"
#include "autorun/saved_list.h"
#include "autorun/startup_folders.h"
#include "support/text.h"
#include "support/utf8.h"

namespace {

constexpr char kUsage[] =
    "usage: tarnwick-cli list [--json]\n"
    "       tarnwick-cli save FILE\n"
    "       tarnwick-cli disable --from TAG --target TARGET\n"
    "       tarnwick-cli enable --from TAG --target TARGET\n"
    "\n"
    "  list     the programs that start with Windows, one From|Caption|Target|state line each,\n"
    "           or with --json one JSON array of entries\n"
    "  save     writes the list as a UTF-8 text file, one From|Caption|Target line each\n"
    "  disable  switches an entry off, or on with enable; TAG and TARGET as list prints them\n";

int Usage(std::string& err, const std::string& problem) {
  err += "tarnwick-cli: " + problem + "\n" + kUsage;
  return 2;
}

void List(const TAutorunList& list, bool json, std::string& out) {
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

const TAutorunInfo* Find(const TAutorunList& list, const std::wstring& from, const std::wstring& target) {
  for (const auto& e : list) {
    if (e->Target == target && EqualsAsciiNoCase(e->From, from)) return e.get();
  }
  return nullptr;
}

int Switch(TAutorunCatalogue& catalogue, const std::vector<std::wstring>& args, std::string& err) {
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
  TAutorunList list;
  catalogue.GetAutorunList(list);
  if (!Find(list, from, target)) {
    err += "tarnwick-cli: no change: entry not found: " + what + "\n";
    return 1;
  }
  try {
    catalogue.SetAutorunEnabled(target, from, enable);
  } catch (const EStartupFileError& error) {
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

int RunCli(const std::vector<std::wstring>& args, platform::Platform& platform, const TFolderTokens& folderTokens,
           std::string& out, std::string& err) {
  if (args.empty()) return Usage(err, "no command");
  if (args.size() == 1 && (args[0] == L"--help" || args[0] == L"-h" || args[0] == L"/?")) {
    out += kUsage;
    return 0;
  }
  TAutorunCatalogue catalogue(platform, folderTokens);
  const std::wstring& command = args[0];
  if (command == L"list") {
    if (args.size() > 2 || (args.size() == 2 && args[1] != L"--json")) return Usage(err, "list takes only --json");
    TAutorunList list;
    catalogue.GetAutorunList(list);
    List(list, args.size() == 2, out);
    return 0;
  }
  if (command == L"save") {
    if (args.size() != 2) return Usage(err, "save takes one FILE");
    TAutorunList list;
    catalogue.GetAutorunList(list);
    std::wstring message;
    if (!platform.files.WriteWholeFile(args[1], FormatSavedList(list), message)) {
      err += "tarnwick-cli: cannot write " + Utf8FromWide(args[1]) + ": " + Utf8FromWide(message) + "\n";
      return 1;
    }
    return 0;
  }
  if (command == L"enable" || command == L"disable") return Switch(catalogue, args, err);
  return Usage(err, "unknown command: " + Utf8FromWide(command));
}
