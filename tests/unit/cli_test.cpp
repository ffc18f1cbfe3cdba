#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <nlohmann/json.hpp>

#include "autorun/file_checks.h"
#include "cli/cli.h"
#include "cli/profile.h"
#include "common/bytes.h"
#include "common/registry_paths.h"
#include "common/resource_files.h"
#include "common/stalling_files.h"
#include "fakes/fake_platform.h"
#include "support/reg.h"

namespace {

using namespace platform;

class Cli : public ::testing::Test {
 protected:
  Cli() {
    fake.files.Folders = {{0x07, L"C:\\Startup"}};
    fake.files.AddFolder(L"C:\\Startup");
    fake.files.AddFile(L"C:\\Startup\\Tool | Pipe.lnk");
    TReg(fake.registry).WriteString(kCurrentUser, kRun, L"Ünïcode", L"\"C:\\App\\app.exe\" /x");
    fake.services.Services = {{L"Svc", L"A service", L"C:\\svc.exe", 2}};
  }
  int Run(std::vector<std::wstring> args) {
    out.clear();
    err.clear();
    return RunCli(args, services, out, err);
  }

  // The file `path` of the fake file system, or "<missing>".
  std::string Read(FakeFileSystem& files, const std::wstring& path) {
    std::string data;
    std::wstring message;
    return files.ReadWholeFile(path, 1 << 24, data, message) ? data : "<missing>";
  }

  const std::wstring kRun = keys::kRun;
  FakePlatform fake;
  FolderTokens tokens;
  SystemCatalogue catalogue{fake.registry, fake.files, fake.tasks, fake.services, fake.system, tokens};
  PersonalNames names{{L"C:\\Users\\ann"}, {}, L"C:\\Users", L"ann", {L"ANN-PC"}};
  CliServices services{catalogue,      fake.files, fake.fileInfo, fake.locale,
                       fake.resources, tokens,     fake.system,   [this] { return names; }};
  std::string out, err;
};

TEST_F(Cli, ListsTheCatalogueInOrderAsLinesOrJson) {
  EXPECT_EQ(Run({L"list"}), 0);
  EXPECT_EQ(out,
            "FILE|Tool | Pipe|C:\\Startup\\Tool | Pipe.lnk|enabled\n"
            "HKCU|\xC3\x9Cn\xC3\xAF"
            "code|HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\\xC3\x9Cn\xC3\xAF"
            "code|enabled\n"
            "SERV|A service|Svc|enabled\n");
  EXPECT_EQ(err, "");

  EXPECT_EQ(Run({L"list", L"--json"}), 0);
  const std::string expected = R"([
  {
    "from": "FILE",
    "caption": "Tool | Pipe",
    "target": "C:\\Startup\\Tool | Pipe.lnk",
    "fileName": "C:\\Startup\\Tool | Pipe.lnk",
    "rawData": "",
    "enabled": true,
    "fileExists": true
  },
  {
    "from": "HKCU",
    "caption": "Ünïcode",
    "target": "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Ünïcode",
    "fileName": "C:\\App\\app.exe",
    "rawData": "\"C:\\App\\app.exe\" /x",
    "enabled": true,
    "fileExists": false
  },
  {
    "from": "SERV",
    "caption": "A service",
    "target": "Svc",
    "fileName": "C:\\svc.exe",
    "rawData": "C:\\svc.exe",
    "enabled": true
  }
]
)";
  EXPECT_EQ(out, expected);
}

TEST_F(Cli, SavesTheListOrSaysWhyItCannot) {
  EXPECT_EQ(Run({L"save", L"C:\\out.txt"}), 0);
  EXPECT_EQ(Read(fake.files, L"C:\\out.txt"),
            "\xEF\xBB\xBF"
            "FILE|Tool | Pipe|C:\\Startup\\Tool | Pipe.lnk\r\n"
            "HKCU|\xC3\x9Cn\xC3\xAF"
            "code|HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\\xC3\x9Cn\xC3\xAF"
            "code\r\n"
            "SERV|A service|Svc\r\n");

  fake.files.WriteFailures[L"C:\\locked.txt"] = L"Access is denied.";
  EXPECT_EQ(Run({L"save", L"C:\\locked.txt"}), 1);
  EXPECT_EQ(err, "tarnwick-cli: cannot write C:\\locked.txt: Access is denied.\n");
  EXPECT_FALSE(fake.files.IsFile(L"C:\\locked.txt"));

  FakePlatform empty;
  SystemCatalogue nothing(empty.registry, empty.files, empty.tasks, empty.services, empty.system, tokens);
  EXPECT_EQ(RunCli({L"save", L"C:\\empty.txt"},
                   CliServices{nothing, empty.files, empty.fileInfo, empty.locale, empty.resources, tokens,
                               empty.system, [this] { return names; }},
                   out, err),
            0);
  EXPECT_EQ(Read(empty.files, L"C:\\empty.txt"), "\xEF\xBB\xBF") << "an empty catalogue: the mark alone";
}

TEST_F(Cli, SwitchesAnEntryAndChecksItTookEffect) {
  EXPECT_EQ(Run({L"disable", L"--from", L"serv", L"--target", L"Svc"}), 0) << err;
  EXPECT_EQ(fake.services.Find(L"Svc")->StartType, 4u);
  EXPECT_EQ(Run({L"enable", L"--target", L"Svc", L"--from", L"SERV"}), 0);

  fake.services.RefuseChange = true;
  EXPECT_EQ(Run({L"disable", L"--from", L"SERV", L"--target", L"Svc"}), 1);
  EXPECT_EQ(err,
            "tarnwick-cli: no change: SERV|Svc is still enabled (access denied, or the system refused the change)\n");

  EXPECT_EQ(Run({L"disable", L"--from", L"SERV", L"--target", L"Nope"}), 1);
  EXPECT_EQ(err, "tarnwick-cli: no change: entry not found: SERV|Nope\n");

  fake.system.Major = 6;
  fake.files.DeleteFailures[L"C:\\Startup\\Tool | Pipe.lnk"] = L"Access is denied.";
  EXPECT_EQ(Run({L"disable", L"--from", L"FILE", L"--target", L"C:\\Startup\\Tool | Pipe.lnk"}), 1);
  EXPECT_EQ(err, "tarnwick-cli: no change: Access is denied.\n");
  fake.files.DeleteFailures.clear();
  EXPECT_EQ(Run({L"disable", L"--from", L"FILE", L"--target", L"C:\\Startup\\Tool | Pipe.lnk"}), 0)
      << "below version 10 the file is gone";
}

TEST_F(Cli, ListsTheRowsTheWindowWouldShow) {
  AddProgramResources(fake.resources);
  fake.services.Services = {{L"Spooler", L"Print Spooler", L"C:\\spoolsv.exe", 2},
                            {L"SampleAgent", L"Sample Agent", L"C:\\agent.exe", 2},
                            {L"Off", L"Switched off", L"C:\\off.exe", 4}};
  EXPECT_EQ(Run({L"list", L"--visible"}), 0) << err;
  EXPECT_EQ(out,
            "Tool | Pipe|FILE|enabled\n"
            "\xC3\x9Cn\xC3\xAF"
            "code|HKCU|enabled\n"
            "Sample Agent|SERV|enabled\n")
      << "Spooler is on the built-in white list";
  EXPECT_EQ(Run({L"list", L"--all", L"--visible"}), 0);
  EXPECT_EQ(out.substr(out.rfind("Sample")), "Sample Agent|SERV|enabled\nSwitched off|SERV|disabled\n");

  fake.files.AddFile(L"C:\\reply.json", R"({"name_white": ["sampleagent"], "file_white": ["tool | pipe.lnk*"]})");
  EXPECT_EQ(Run({L"list", L"--visible", L"--reply", L"C:\\reply.json"}), 0);
  EXPECT_EQ(out,
            "\xC3\x9Cn\xC3\xAF"
            "code|HKCU|enabled\n");
  std::wstring message;
  fake.files.WriteWholeFile(L"C:\\reply.json", "{not json", message);
  EXPECT_EQ(Run({L"list", L"--visible", L"--reply", L"C:\\reply.json"}), 0);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3) << "a reply that is no JSON object changes no list";
  EXPECT_EQ(Run({L"list", L"--visible", L"--reply", L"C:\\missing.json"}), 2);
  EXPECT_EQ(err, "tarnwick-cli: cannot read C:\\missing.json: The system cannot find the file specified.\n");
}

TEST_F(Cli, AFileToReadIsReadOnlyUpToItsLimitAndNeverFromADeviceOrPipe) {
  std::wstring message;
  fake.files.WriteWholeFile(L"C:\\reply.json", std::string(1024 * 1024 + 1, ' '), message);
  fake.files.WriteWholeFile(L"C:\\profile.json", std::string(16 * 1024 * 1024 + 1, ' '), message);
  const struct {
    std::vector<std::wstring> args;
    const char* err;
  } cases[] = {
      {{L"list", L"--visible", L"--reply", L"C:\\reply.json"},
       "tarnwick-cli: cannot read C:\\reply.json: larger than 1 MiB, the most a reply may be\n"},
      {{L"apply", L"C:\\profile.json"},
       "tarnwick-cli: cannot read C:\\profile.json: larger than 16 MiB, the most a profile may be\n"},
      {{L"apply", L"\\\\.\\pipe\\profile", L"--check"},
       "tarnwick-cli: cannot read \\\\.\\pipe\\profile: It is a device or a pipe, not a file.\n"},
      {{L"list", L"--visible", L"--reply", L"\\\\.\\CON"},
       "tarnwick-cli: cannot read \\\\.\\CON: It is a device or a pipe, not a file.\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.args), 2) << c.err;
    EXPECT_EQ(err, c.err);
    EXPECT_EQ(out, "");
  }
  fake.files.WriteWholeFile(L"C:\\reply.json", "{}" + std::string(1024 * 1024 - 2, ' '), message);
  EXPECT_EQ(Run({L"list", L"--visible", L"--reply", L"C:\\reply.json"}), 0) << "1 MiB is a reply still";
}

TEST_F(Cli, TextOutputShowsControlAndDirectionCharactersAsEscapesWhileJsonAndCsvKeepThem) {
  TReg(fake.registry).WriteString(kCurrentUser, kRun, L"Evil\x1B[2K\rok\x202E"
                                                            L"exe.txt\x7F", L"C:\\evil.exe");
  ASSERT_EQ(Run({L"list"}), 0);
  EXPECT_NE(out.find("|Evil\\x1B[2K\\x0Dok\\u202Eexe.txt\\x7F|HKCU\\Software"), std::string::npos) << out;
  EXPECT_EQ(out.find('\x1B'), std::string::npos);
  EXPECT_EQ(out.find('\r'), std::string::npos);
  ASSERT_EQ(Run({L"list", L"--visible", L"--all"}), 0);
  EXPECT_NE(out.find("\nEvil\\x1B[2K\\x0Dok\\u202Eexe.txt\\x7F|HKCU|enabled\n"), std::string::npos) << out;
  EXPECT_EQ(Run({L"disable", L"--from", L"HKCU", L"--target", L"\x1B]0;x\x07"}), 1);
  EXPECT_EQ(err, "tarnwick-cli: no change: entry not found: HKCU|\\x1B]0;x\\x07\n");

  ASSERT_EQ(Run({L"list", L"--json"}), 0);
  EXPECT_EQ(nlohmann::json::parse(out)[2]["caption"], "Evil\x1B[2K\rok\u202E" "exe.txt\x7F");
  ASSERT_EQ(Run({L"list", L"--csv"}), 0);
  EXPECT_NE(out.find("\"Evil\x1B[2K\rok\u202E" "exe.txt\x7F\""), std::string::npos);
}

TEST_F(Cli, ListTellsWhenAnEntryWasLastSwitchedAndWhetherItsFileExists) {
  TReg reg(fake.registry);
  reg.WriteString(kCurrentUser, kRun, L"Bare", L"notepad.exe /x");
  const struct {
    std::uint64_t time;
    const char* iso; // null: no switchedAt
  } cases[] = {
      {0x01DD'8925'8343'3D00ull, "2026-12-11T04:10:10Z"}, {0x01DA'6B6B'66BA'2980ull, "2024-02-29T23:59:59Z"},
      {0x022F'9FC0'3DC3'4000ull, "2100-03-01T00:00:00Z"}, {0x019D'B1DE'D4A5'E980ull, "1969-12-31T23:59:59Z"},
      {0x0000'0000'0098'9680ull, "1601-01-01T00:00:01Z"}, {0, nullptr},
  };
  for (const auto& c : cases) {
    reg.WriteBinary(kCurrentUser, keys::kApprovedRun, L"Ünïcode", ApprovedValue(3, c.time));
    ASSERT_EQ(Run({L"list", L"--json"}), 0);
    const nlohmann::json entry = nlohmann::json::parse(out)[1];
    EXPECT_EQ(entry["enabled"], false);
    if (c.iso) {
      EXPECT_EQ(entry["switchedAt"], c.iso);
    } else {
      EXPECT_FALSE(entry.contains("switchedAt")) << "the zero time installers write is no switch";
    }
  }
  const nlohmann::json list = nlohmann::json::parse(out);
  EXPECT_EQ(list[0]["fileExists"], true) << "the Startup file";
  EXPECT_EQ(list[1]["fileExists"], false) << "C:\\App\\app.exe";
  EXPECT_TRUE(list[2]["fileExists"].is_null()) << "a bare name is looked for along the search path";
  EXPECT_FALSE(list[3].contains("fileExists")) << "a service";
}

TEST_F(Cli, AFileOnAShareThatStallsIsNullAfterASecond) {
  const std::wstring startup = L"\\\\stalled\\share\\ann\\Startup"; // redirected to a file server
  fake.files.Folders = {{0x07, startup}};
  fake.files.AddFolder(startup);
  fake.files.AddFile(startup + L"\\Remote.lnk");
  StallingFiles files;
  files.AddFile(L"C:\\App\\app.exe");
  files.Stall(L"\\\\stalled\\");
  const CliServices stalling{catalogue,      files,  fake.fileInfo, fake.locale,
                             fake.resources, tokens, fake.system,   [this] { return names; }};
  // The share answers after ten seconds at the latest: a check made on this thread ends too.
  std::mutex mutex;
  std::condition_variable changed;
  bool done = false;
  std::thread share([&] {
    std::unique_lock lock(mutex);
    changed.wait_for(lock, std::chrono::seconds(10), [&] { return done; });
    files.Release();
  });
  const auto start = std::chrono::steady_clock::now();
  const int code = RunCli({L"list", L"--json"}, stalling, out, err);
  const auto took = std::chrono::steady_clock::now() - start;
  {
    const std::scoped_lock lock(mutex);
    done = true;
  }
  changed.notify_all();
  share.join();
  ASSERT_EQ(code, 0);
  EXPECT_GE(took, kFileCheckLimit);
  EXPECT_LT(took, 3 * kFileCheckLimit);
  const nlohmann::json list = nlohmann::json::parse(out);
  EXPECT_EQ(list[0]["caption"], "Remote");
  EXPECT_TRUE(list[0]["fileExists"].is_null()) << "no answer within the second";
  EXPECT_EQ(list[1]["fileExists"], true) << "C:\\App\\app.exe";
}

TEST_F(Cli, CsvIsRfc4180WithABomAndCrLf) {
  TReg reg(fake.registry);
  reg.WriteString(kCurrentUser, kRun, L"Say \"hi\", then\nleave", L"C:\\a b\\c.exe");
  reg.WriteBinary(kCurrentUser, keys::kApprovedRun, L"Say \"hi\", then\nleave",
                  ApprovedValue(3, 0x01DD'8925'8343'3D00ull));
  ASSERT_EQ(Run({L"list", L"--csv"}), 0);
  EXPECT_EQ(out,
            "\xEF\xBB\xBF"
            "From,Caption,Target,FileName,RawData,State,SwitchedAt,FileExists\r\n"
            "FILE,Tool | Pipe,C:\\Startup\\Tool | Pipe.lnk,C:\\Startup\\Tool | Pipe.lnk,,enabled,,true\r\n"
            "HKCU,\xC3\x9Cn\xC3\xAF"
            "code,HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\\xC3\x9Cn\xC3\xAF"
            "code,C:\\App\\app.exe,\"\"\"C:\\App\\app.exe\"\" /x\",enabled,,false\r\n"
            "HKCU,\"Say \"\"hi\"\", then\nleave\",\"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Say "
            "\"\"hi\"\", then\nleave\",C:\\a b\\c.exe,C:\\a b\\c.exe,disabled,2026-12-11T04:10:10Z,false\r\n"
            "SERV,A service,Svc,C:\\svc.exe,C:\\svc.exe,enabled,,\r\n");

  AddProgramResources(fake.resources);
  ASSERT_EQ(Run({L"list", L"--visible", L"--all", L"--csv"}), 0);
  EXPECT_EQ(out.rfind("\xEF\xBB\xBF"
                      "Name,From,Target,State\r\nTool | Pipe,FILE,C:\\Startup\\",
                      0),
            0u)
      << out;
  EXPECT_NE(out.find("\r\nA service,SERV,Svc,enabled\r\n"), std::string::npos);
}

TEST_F(Cli, ExplainsWhyTheWindowLeavesAnEntryOut) {
  AddProgramResources(fake.resources);
  TReg(fake.registry).WriteString(kCurrentUser, kRun, L"", L"C:\\nameless.exe"); // the key's default value
  fake.services.Services = {{L"Spooler", L"Print Spooler", L"C:\\spoolsv.exe", 2},
                            {L"SampleAgent", L"Sample Agent", L"C:\\agent.exe", 2},
                            {L"Off", L"Switched off", L"C:\\off.exe", 4},
                            {L"RpcSs", L"Remote Procedure Call (RPC)", L"C:\\rpcss.exe", 4}};
  fake.files.AddFile(L"C:\\Startup\\Notes.lnk");
  // A reply's file line hides only the files it names, not a folder of them.
  fake.files.AddFile(L"C:\\reply.json", R"({"name_white": ["sampleagent"],
                                            "file_white": ["Startup", "lnk", "\\Startup\\tool | pipe.LNK"]})");
  ASSERT_EQ(Run({L"list", L"--visible", L"--explain", L"--reply", L"C:\\reply.json"}), 0) << err;
  const std::string run = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\";
  EXPECT_EQ(out,
            "FILE|Tool | Pipe|C:\\Startup\\Tool | Pipe.lnk|hidden: white-listed by the reply's file list, line "
            "\"\\Startup\\tool | pipe.LNK\"\n"
            "FILE|Notes|C:\\Startup\\Notes.lnk|shown\n"
            "HKCU|\xC3\x9Cn\xC3\xAF"
            "code|" +
                run +
                "\xC3\x9Cn\xC3\xAF"
                "code|shown\n"
                "HKCU||" +
                run +
                "|hidden: no caption\n"
                "SERV|Print Spooler|Spooler|hidden: white-listed by the built-in name list, line \"Spooler\"\n"
                "SERV|Sample Agent|SampleAgent|hidden: white-listed by the reply's name list, line \"sampleagent\"\n"
                "SERV|Switched off|Off|hidden: disabled, shown with \"All Programs\"\n"
                "SERV|Remote Procedure Call (RPC)|RpcSs|hidden: white-listed by the built-in name list, line "
                "\"RpcSs\"\n")
      << "a list hides whatever \"All Programs\" says, so it is named first";
  ASSERT_EQ(Run({L"list", L"--visible", L"--explain", L"--all", L"--csv"}), 0);
  EXPECT_NE(out.find("\r\nSERV,Switched off,Off,yes,\r\n"), std::string::npos) << "--all shows it";
  EXPECT_NE(out.find("\r\nSERV,Print Spooler,Spooler,no,\"white-listed by the built-in name list, line "
                     "\"\"Spooler\"\"\"\r\n"),
            std::string::npos);
}

// Two machines: this one, Ann's, and the one a profile came from.
class Profiles : public Cli {
 protected:
  Profiles() {
    fake.files.Folders = {{0x07, kStartup}};
    fake.files.AddFolder(kStartup);
    fake.files.AddFile(kStartup + L"\\Notes.lnk");
    TReg reg(fake.registry);
    reg.DeleteValue(kCurrentUser, kRun, L"Ünïcode");
    reg.WriteString(kCurrentUser, kRun, L"Sync", L"C:\\Users\\ann\\AppData\\Local\\Sync\\sync.exe");
    reg.WriteString(kLocalMachine, kRun, L"ANN-PC Backup", L"C:\\backup.exe");
    fake.services.Services = {{L"Svc", L"A service", L"C:\\svc.exe", 2}, {L"Spare", L"Spare", L"C:\\spare.exe", 2}};
    names.computerNames.push_back(L"PC"); // its short name, as in "PcaSvc"
  }
  // A profile of the entries, as text.
  void WriteProfile(const std::string& entries) {
    std::wstring message;
    fake.files.WriteWholeFile(L"C:\\profile.json", R"({"format": 1, "entries": [)" + entries + "]}", message);
  }
  bool Enabled(const std::wstring& from, const std::wstring& target) {
    AutorunList list;
    catalogue.GetAutorunList(list);
    for (const auto& e : list) {
      if (e->From == from && e->Target == target) return e->Enabled;
    }
    ADD_FAILURE() << "no entry " << Utf8FromWide(target);
    return false;
  }

  const std::wstring kStartup = L"C:\\Users\\ann\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
  const std::wstring kSync = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Sync";
};

TEST_F(Profiles, ExportWritesEveryEntryAndNoNameOfTheUserOrTheMachine) {
  TReg reg(fake.registry);
  ASSERT_EQ(Run({L"export", L"C:\\profile.json"}), 0) << err;
  EXPECT_EQ(out + err, "");
  const std::string text = Read(fake.files, L"C:\\profile.json");
  EXPECT_EQ(text.substr(0, 1), "{") << "no BOM";
  EXPECT_EQ(text.find("ann"), std::string::npos);
  EXPECT_EQ(text.find("ANN"), std::string::npos);
  const nlohmann::json profile = nlohmann::json::parse(text);
  EXPECT_EQ(profile["format"], 1);
  EXPECT_EQ(profile["entries"].size(), 5u);
  EXPECT_EQ(profile["entries"][0], nlohmann::json::parse(R"({"from": "FILE", "caption": "Notes",
              "target": "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\Notes.lnk",
              "fileName": "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\Notes.lnk",
              "enabled": true})"));
  EXPECT_EQ(profile["entries"][1]["caption"], "%COMPUTERNAME% Backup");
  EXPECT_EQ(profile["entries"][2]["fileName"], "%USERPROFILE%\\AppData\\Local\\Sync\\sync.exe");
  EXPECT_EQ(profile["entries"][3]["caption"], "A service");
  EXPECT_EQ(profile["entries"][3]["startType"], "auto");
  EXPECT_FALSE(profile["entries"][0].contains("startType")) << "a service's alone";

  // A name in a longer word stays, so that the entry is the same on every machine.
  fake.services.Services.push_back({L"PcaSvc", L"Program Compatibility Assistant", L"C:\\pca.exe", 2});
  reg.WriteString(kCurrentUser, kRun, L"ann tool", L"C:\\annotate.exe");
  ASSERT_EQ(Run({L"export", L"C:\\profile.json"}), 0) << err;
  const nlohmann::json words = nlohmann::json::parse(Read(fake.files, L"C:\\profile.json"))["entries"];
  EXPECT_EQ(words[3]["caption"], "%USERNAME% tool");
  EXPECT_EQ(words[3]["fileName"], "C:\\annotate.exe");
  EXPECT_EQ(words[6]["target"], "PcaSvc");

  names.userName.clear();
  EXPECT_EQ(Run({L"export", L"C:\\other.json"}), 1);
  EXPECT_NE(err.find("cannot be learnt"), std::string::npos);
  EXPECT_EQ(Read(fake.files, L"C:\\other.json"), "<missing>") << "no profile that could name someone";
  names.userName = L"ann";
  fake.files.WriteFailures[L"C:\\locked.json"] = L"Access is denied.";
  EXPECT_EQ(Run({L"export", L"C:\\locked.json"}), 1);
  EXPECT_EQ(err, "tarnwick-cli: cannot write C:\\locked.json: Access is denied.\n");
}

TEST_F(Profiles, ApplyBringsAnotherMachineToTheProfileOnceAndChecksIt) {
  // Made on Bob's machine, whose paths differ from Ann's in letter case.
  WriteProfile(R"(
    {"from": "file", "caption": "Notes", "enabled": false,
     "target": "%USERPROFILE%\\APPDATA\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\notes.lnk"},
    {"from": "HKCU", "caption": "Sync", "target": "HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\sync",
     "enabled": false},
    {"from": "SERV", "caption": "A service", "target": "Svc", "enabled": true},
    {"from": "SERV", "caption": "Gone", "target": "GoneSvc", "enabled": false})");
  const std::string notes = "FILE|Notes|" + Utf8FromWide(kStartup) + "\\Notes.lnk";
  const std::string left =
      "not on this machine, left alone: SERV|Gone|GoneSvc\n"
      "not in the profile, left alone: HKLM|ANN-PC Backup|"
      "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\ANN-PC Backup\n"
      "not in the profile, left alone: SERV|Spare|Spare\n";

  EXPECT_EQ(Run({L"apply", L"C:\\profile.json", L"--check"}), 1);
  EXPECT_EQ(out, left + "would disable: " + notes + "\nwould disable: HKCU|Sync|" + Utf8FromWide(kSync) +
                     "\n2 to change, 1 as the profile says, 0 not done, 1 not on this machine, 2 not in the profile, 0 protected, 0 manual in the profile\n"
                     "the machine differs from the profile\n");
  EXPECT_EQ(Run({L"apply", L"--dry-run", L"C:\\profile.json"}), 0);
  EXPECT_NE(out.find("would disable: HKCU|Sync|"), std::string::npos);
  EXPECT_TRUE(Enabled(L"HKCU", kSync)) << "a dry run changes nothing";

  EXPECT_EQ(Run({L"apply", L"C:\\profile.json"}), 0) << err;
  EXPECT_EQ(out, left + "disabled: " + notes + "\ndisabled: HKCU|Sync|" + Utf8FromWide(kSync) +
                     "\n2 changed, 1 as the profile says, 0 not done, 1 not on this machine, 2 not in the profile, 0 protected, 0 manual in the profile\n");
  EXPECT_EQ(err, "");
  EXPECT_FALSE(Enabled(L"FILE", kStartup + L"\\Notes.lnk"));
  EXPECT_FALSE(Enabled(L"HKCU", kSync));
  EXPECT_TRUE(Enabled(L"HKLM", L"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\ANN-PC Backup"));

  EXPECT_EQ(Run({L"apply", L"C:\\profile.json"}), 0);
  EXPECT_EQ(out, left +
                     "nothing to change: the entries the profile names are as it says\n"
                     "0 changed, 3 as the profile says, 0 not done, 1 not on this machine, 2 not in the profile, 0 protected, 0 manual in the profile\n");
  EXPECT_EQ(Run({L"apply", L"C:\\profile.json", L"--check"}), 0);
  EXPECT_NE(out.find("the machine matches the profile\n"), std::string::npos);

  // A profile this machine exported applies to itself without a change.
  ASSERT_EQ(Run({L"export", L"C:\\own.json"}), 0);
  EXPECT_EQ(Run({L"apply", L"C:\\own.json", L"--check"}), 0) << out;
}

TEST_F(Profiles, WhatCannotBeDoneIsNamedAndTheRestIsDone) {
  fake.system.Major = 6; // disabling deletes a Run value or a Startup file
  WriteProfile(R"(
    {"from": "HKCU", "target": "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Sync", "enabled": false},
    {"from": "SERV", "target": "Svc", "enabled": false, "startType": "disabled"})");
  EXPECT_EQ(Run({L"apply", L"C:\\profile.json"}), 1);
  EXPECT_EQ(err, "tarnwick-cli: not done: HKCU|Sync|" + Utf8FromWide(kSync) +
                     ": disabling it would delete it on this Windows; --allow-delete allows that\n");
  EXPECT_NE(out.find("disabled: SERV|A service|Svc\n"), std::string::npos) << "the service is disabled all the same";
  EXPECT_TRUE(Enabled(L"HKCU", kSync));
  EXPECT_EQ(Run({L"apply", L"C:\\profile.json", L"--check"}), 1) << "the refusal is a difference";
  EXPECT_EQ(Run({L"apply", L"C:\\profile.json", L"--allow-delete"}), 0) << err;
  EXPECT_NE(out.find("deleted: HKCU|Sync|"), std::string::npos);
  ASSERT_EQ(Run({L"list"}), 0);
  EXPECT_EQ(out.find("|Sync|"), std::string::npos) << "the value is gone";

  fake.system.Major = 10;
  fake.services.RefuseChange = true;
  WriteProfile(R"({"from": "SERV", "target": "Svc", "enabled": true},
                  {"from": "SERV", "target": "Spare", "enabled": true})");
  EXPECT_EQ(Run({L"apply", L"C:\\profile.json"}), 1);
  EXPECT_EQ(err,
            "tarnwick-cli: not done: SERV|A service|Svc: still disabled (access denied, or the system refused "
            "the change)\n");

  // Two entries of this machine that the profile's name fits: neither is touched.
  fake.services.RefuseChange = false;
  TReg reg(fake.registry);
  reg.WriteString(kCurrentUser, kRun, L"ann tool", L"C:\\a.exe");
  reg.WriteString(kCurrentUser, kRun, L"%USERNAME% tool", L"C:\\b.exe");
  WriteProfile(R"({"from": "HKCU", "target": "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\%USERNAME% tool",
                   "enabled": false})");
  EXPECT_EQ(Run({L"apply", L"C:\\profile.json"}), 1);
  EXPECT_NE(err.find(": it names more than one entry here\n"), std::string::npos);
  EXPECT_TRUE(Enabled(L"HKCU", L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\ann tool"));
}

TEST_F(Profiles, AServiceIsMadeAutomaticOrDisabledOnlyWhereTheProfileRecordsExactlyThat) {
  fake.services.Services = {{L"Auto", L"Auto", L"C:\\a.exe", 2},     {L"Manual", L"Manual", L"C:\\m.exe", 3},
                            {L"Off", L"Off", L"C:\\o.exe", 4},       {L"Bits", L"Bits", L"C:\\b.exe", 2},
                            {L"Legacy", L"Legacy", L"C:\\l.exe", 2}, {L"Spare", L"Spare", L"C:\\s.exe", 3}};
  ASSERT_EQ(Run({L"export", L"C:\\reference.json"}), 0);
  const nlohmann::json exported = nlohmann::json::parse(Read(fake.files, L"C:\\reference.json"))["entries"];
  const std::pair<const char*, const char*> recorded[] = {{"Auto", "auto"}, {"Manual", "manual"}, {"Off", "disabled"}};
  for (const auto& [name, start] : recorded) {
    const auto e = std::find_if(exported.begin(), exported.end(), [&](const auto& e) { return e["target"] == name; });
    ASSERT_NE(e, exported.end());
    EXPECT_EQ((*e)["startType"], start) << name;
    EXPECT_EQ((*e)["enabled"], std::string(start) == "auto") << name;
  }

  // The reference machine had BITS manual; this one has it automatic. Manual is left alone;
  // so is "not enabled" from a profile that does not tell manual from disabled.
  WriteProfile(R"(
    {"from": "SERV", "target": "Auto", "enabled": false, "startType": "disabled"},
    {"from": "SERV", "target": "Manual", "enabled": true, "startType": "auto"},
    {"from": "SERV", "target": "Off", "enabled": false, "startType": "manual"},
    {"from": "SERV", "target": "Bits", "enabled": false, "startType": "manual"},
    {"from": "SERV", "target": "Legacy", "enabled": false},
    {"from": "SERV", "target": "Spare", "enabled": false, "startType": "disabled"})");
  const std::string left =
      "manual in the profile, left alone: SERV|Off|Off\n"
      "manual in the profile, left alone: SERV|Bits|Bits\n"
      "manual or disabled in the profile, left alone: SERV|Legacy|Legacy\n";
  EXPECT_EQ(Run({L"apply", L"C:\\profile.json", L"--check"}), 1);
  EXPECT_NE(out.find(left + "would disable: SERV|Auto|Auto\nwould enable: SERV|Manual|Manual\n"
                            "would disable: SERV|Spare|Spare\n3 to change, 0 as the profile says, 0 not done, "),
            std::string::npos)
      << out;
  EXPECT_NE(out.find(", 0 protected, 3 manual in the profile\n"), std::string::npos) << out;
  ASSERT_EQ(Run({L"apply", L"C:\\profile.json"}), 0) << err;
  const std::pair<const wchar_t*, std::uint32_t> now[] = {{L"Auto", 4}, {L"Manual", 2}, {L"Off", 4},
                                                          {L"Bits", 2}, {L"Legacy", 2}, {L"Spare", 4}};
  for (const auto& [name, start] : now) EXPECT_EQ(fake.services.Find(name)->StartType, start) << Utf8FromWide(name);
  EXPECT_EQ(Run({L"apply", L"C:\\profile.json", L"--check"}), 0) << "what is left alone is no difference: " << out;

  // A manual service that refuses to be disabled is not reported disabled.
  fake.services.Services.back().StartType = 3; // Spare
  fake.services.RefuseChange = true;
  EXPECT_EQ(Run({L"apply", L"C:\\profile.json"}), 1);
  EXPECT_EQ(err, "tarnwick-cli: not done: SERV|Spare|Spare: still manual (access denied, or the system refused the change)\n");
}

TEST_F(Profiles, WhatTheProgramProtectsIsNeverSwitched) {
  AddProgramResources(fake.resources);
  fake.services.Services = {{L"RpcSs", L"Remote Procedure Call (RPC)", L"C:\\rpcss.exe", 2},
                            {L"EventLog", L"Event Log", L"C:\\evt.exe", 4},
                            {L"Svc", L"A service", L"C:\\svc.exe", 2}};
  WriteProfile(R"(
    {"from": "SERV", "target": "RpcSs", "enabled": false, "startType": "disabled"},
    {"from": "SERV", "target": "EventLog", "enabled": true, "startType": "auto"},
    {"from": "SERV", "target": "Svc", "enabled": false, "startType": "disabled"})");
  const std::string kept =
      "protected, left alone: SERV|Remote Procedure Call (RPC)|RpcSs\n"
      "protected, left alone: SERV|Event Log|EventLog\n";
  EXPECT_EQ(Run({L"apply", L"C:\\profile.json", L"--check"}), 1) << "Svc differs";
  EXPECT_NE(out.find(kept + "would disable: SERV|A service|Svc\n"), std::string::npos) << out;
  ASSERT_EQ(Run({L"apply", L"C:\\profile.json"}), 0) << err;
  EXPECT_NE(out.find(", 2 protected, 0 manual in the profile\n"), std::string::npos) << out;
  EXPECT_EQ(fake.services.Find(L"RpcSs")->StartType, 2u);
  EXPECT_EQ(fake.services.Find(L"EventLog")->StartType, 4u);
  EXPECT_EQ(fake.services.Find(L"Svc")->StartType, 4u);
  EXPECT_EQ(Run({L"apply", L"C:\\profile.json", L"--check"}), 0) << "protected entries make no difference: " << out;
  ASSERT_EQ(Run({L"apply", L"C:\\profile.json"}), 0);
  EXPECT_NE(out.find("\nnothing to change: the entries the profile names are as it says, or left alone\n"),
            std::string::npos)
      << out;
}

TEST_F(Profiles, AnEntryNamedTwiceRefusesOnlyItselfAndOddNamesStayApart) {
  WriteProfile(R"(
    {"from": "SERV", "target": "Svc", "enabled": false, "startType": "disabled"},
    {"from": "serv", "target": "SVC", "enabled": true, "startType": "auto"},
    {"from": "SERV", "target": "Spare", "enabled": false, "startType": "disabled"})");
  EXPECT_EQ(Run({L"apply", L"C:\\profile.json"}), 1);
  EXPECT_EQ(err,
            "tarnwick-cli: not done: SERV||Svc: the profile names it more than once\n"
            "tarnwick-cli: not done: serv||SVC: the profile names it more than once\n");
  EXPECT_EQ(fake.services.Find(L"Svc")->StartType, 2u) << "neither of the two is applied";
  EXPECT_EQ(fake.services.Find(L"Spare")->StartType, 4u) << "the rest is";

  // Names that are not valid UTF-16 (a lone surrogate) are written exactly, so that two of them
  // stay two entries and a profile of this machine applies to it.
  const std::wstring high(1, static_cast<wchar_t>(0xD800)), low(1, static_cast<wchar_t>(0xDC01));
  const std::wstring carrier(1, static_cast<wchar_t>(0xFDD0)); // what the reader carries them by
  TReg reg(fake.registry);
  for (const std::wstring& name : {L"odd" + high, L"odd" + low, L"odd" + carrier, L"odd" + carrier + high}) {
    reg.WriteString(kCurrentUser, kRun, name, L"C:\\odd.exe");
  }
  ASSERT_EQ(Run({L"export", L"C:\\own.json"}), 0) << err;
  const std::string text = Read(fake.files, L"C:\\own.json");
  EXPECT_NE(text.find("Run\\\\odd\\ud800\""), std::string::npos);
  EXPECT_NE(text.find("Run\\\\odd\\udc01\""), std::string::npos);
  EXPECT_NE(text.find("Run\\\\odd\xEF\xB7\x90\\ud800\""), std::string::npos);
  reg.WriteBinary(kCurrentUser, keys::kApprovedRun, L"odd" + high, ApprovedValue(3, 1));
  EXPECT_EQ(Run({L"apply", L"C:\\own.json"}), 0) << err;
  EXPECT_NE(out.find("enabled: HKCU|odd"), std::string::npos) << out;
  AutorunList list;
  catalogue.GetAutorunList(list);
  for (const auto& e : list) {
    if (e->Target.find(L"\\odd") != std::wstring::npos) {
      EXPECT_TRUE(e->Enabled) << Utf8FromWide(e->Target);
    }
  }
  // Read back exactly, a pair and its escapes included.
  std::string problem;
  const auto entries = ParseProfile(R"({"format": 1, "entries": [{"from": "HKCU", "enabled": true,
      "target": "a\ud800b\udc01c\uFDD0d\ud83d\ude00e\ufdd0\ufdd0f\\ud800"}]})", problem);
  ASSERT_TRUE(entries) << problem;
  std::wstring expected = L"a" + high + L"b" + low + L"c" + carrier + L"d" + WideFromUtf8("\xF0\x9F\x98\x80") + L"e" +
                          carrier + carrier + L"f\\ud800";
  EXPECT_EQ((*entries)[0].target, expected);
}

TEST_F(Profiles, AProfileThatCannotBeReadChangesNothingAndExits2) {
  const std::string entry = R"({"from": "SERV", "target": "Svc", "enabled": false, "startType": "disabled"})";
  const struct {
    std::string text;
    const char* error;
  } cases[] = {
      {"", "not a JSON object"},
      {"{\"format\": 1, \"entries\": [", "not a JSON object"},
      {"[" + entry + "]", "not a JSON object"},
      {R"({"entries": [)" + entry + "]}", "\"format\" is not 1"},
      {R"({"format": 2, "entries": [)" + entry + "]}", "\"format\" is not 1"},
      {R"({"format": "1", "entries": []})", "\"format\" is not 1"},
      {R"({"format": 2, "entries": [1]})", "\"format\" is not 1"},
      {R"({"format": 1.0, "entries": []})", "\"format\" is not 1"},
      {R"({"format": 1})", "\"entries\" is not an array"},
      {R"({"format": 1, "entries": {}})", "\"entries\" is not an array"},
      {R"({"format": 1, "entries": [1]})", "entry 1: not an object"},
      {R"({"format": 1, "entries": [{"target": "Svc", "enabled": false}]})", "entry 1: \"from\" is missing"},
      {R"({"format": 1, "entries": [{"from": "SERV", "target": "", "enabled": false}]})",
       "entry 1: \"target\" is empty"},
      {R"({"format": 1, "entries": [{"from": "SERV", "target": ["Svc"], "enabled": false}]})",
       "entry 1: \"target\" is not a string"},
      {R"({"format": 1, "entries": [{"from": "SERV", "target": "Svc\u0000x", "enabled": false}]})",
       "entry 1: \"target\" is longer than 32767 characters or holds a NUL"},
      {R"({"format": 1, "entries": [{"from": "SERV", "target": "Svc", "caption": 3, "enabled": false}]})",
       "entry 1: \"caption\" is not a string"},
      {R"({"format": 1, "entries": [{"from": "SERV", "target": "Svc", "enabled": "no"}]})",
       "entry 1: \"enabled\" is not true or false"},
      {R"({"format": 1, "entries": [{"from": "SERV", "target": "Svc", "enabled": false, "startType": "off"}]})",
       "entry 1: \"startType\" is not \"auto\", \"manual\" or \"disabled\""},
      {R"({"format": 1, "entries": [{"from": "SERV", "target": "Svc", "enabled": false, "startType": 4}]})",
       "entry 1: \"startType\" is not \"auto\", \"manual\" or \"disabled\""},
      {R"({"format": 1, "entries": [{"from": "SERV", "target": "Svc", "enabled": true, "startType": "manual"}]})",
       "entry 1: \"enabled\" and \"startType\" disagree"},
      {R"({"format": 1, "entries": [{"from": "HKCU", "target": "HKCU\\x", "enabled": false, "startType": "disabled"}]})",
       "entry 1: \"startType\" is given for no service"},
      {"{\"format\": 1, \"entries\": [{\"from\": \"SERV\", \"target\": \"\xC3\", \"enabled\": false}]}",
       "not a JSON object"},
      {std::string(200000, '[') + std::string(200000, ']'), "not a JSON object"},
      {R"({"format": 1, "entries": [)" + std::string(100000, '[') + std::string(100000, ']') + "]}",
       "entry 1: not an object"},
  };
  for (const auto& c : cases) {
    std::wstring message;
    fake.files.WriteWholeFile(L"C:\\profile.json", c.text, message);
    for (const wchar_t* mode : {L"--check", L"--dry-run", L"--allow-delete"}) {
      EXPECT_EQ(Run({L"apply", L"C:\\profile.json", mode}), 2) << c.text.substr(0, 80);
      EXPECT_EQ(err.rfind(std::string("tarnwick-cli: C:\\profile.json is no startup profile: ") + c.error, 0), 0u)
          << err;
      EXPECT_EQ(out, "");
    }
  }
  EXPECT_TRUE(Enabled(L"SERV", L"Svc"));

  std::string many = R"({"format": 1, "entries": [)";
  for (int i = 0; i <= 100000; ++i) many += (i ? ",{}" : "{}");
  std::wstring message;
  fake.files.WriteWholeFile(L"C:\\profile.json", many + "]}", message);
  EXPECT_EQ(Run({L"apply", L"C:\\profile.json"}), 2);
  EXPECT_EQ(err, "tarnwick-cli: C:\\profile.json is no startup profile: more than 100000 entries\n");

  fake.files.WriteWholeFile(
      L"C:\\profile.json",
      "\xEF\xBB\xBF{\"entries\": [" + entry + R"(], "note": {"by": [1, {"x": null}]}, "format": 1})", message);
  EXPECT_EQ(Run({L"apply", L"C:\\profile.json"}), 0)
      << "a BOM, as some editors write, members in any order, and others passed over: " << err;
  EXPECT_FALSE(Enabled(L"SERV", L"Svc"));
  EXPECT_EQ(Run({L"apply", L"C:\\missing.json"}), 2);
  EXPECT_EQ(err, "tarnwick-cli: cannot read C:\\missing.json: The system cannot find the file specified.\n");
}

TEST_F(Cli, RejectsBadUsageWithTheUsageText) {
  const std::vector<std::vector<std::wstring>> bad = {
      {},
      {L"lst"},
      {L"list", L"--xml"},
      {L"list", L"--json", L"x"},
      {L"list", L"--json", L"--visible"},
      {L"list", L"--all"},
      {L"list", L"--visible", L"--reply"},
      {L"list", L"--visible", L"--all", L"--all"},
      {L"save"},
      {L"save", L"a", L"b"},
      {L"disable", L"--from", L"SERV"},
      {L"enable", L"--target"},
      {L"enable", L"--from", L"A", L"--from", L"B", L"--target", L"T"},
      {L"list", L"--json", L"--csv"},
      {L"list", L"--explain"},
      {L"export"},
      {L"export", L"a", L"b"},
      {L"apply"},
      {L"apply", L"a", L"b"},
      {L"apply", L"a", L"--check", L"--dry-run"},
      {L"apply", L"a", L"--force"},
  };
  for (const auto& args : bad) {
    EXPECT_EQ(Run(args), 2) << args.size();
    EXPECT_NE(err.find("usage: tarnwick-cli list"), std::string::npos);
    EXPECT_EQ(out, "");
  }
  EXPECT_EQ(Run({L"--help"}), 0);
  EXPECT_EQ(out.rfind("usage: ", 0), 0u);
}

} // namespace
