#include <gtest/gtest.h>

#include "cli/cli.h"
#include "common/registry_paths.h"
#include "common/resource_files.h"
#include "platform/fake/fake_platform.h"
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
    return files.ReadWholeFile(path, data, message) ? data : "<missing>";
  }

  const std::wstring kRun = keys::kRun;
  FakePlatform fake;
  FolderTokens tokens;
  SystemCatalogue catalogue{fake.registry, fake.files, fake.tasks, fake.services, fake.system, tokens};
  CliServices services{catalogue, fake.files, fake.fileInfo, fake.locale, fake.resources, tokens};
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
    "enabled": true
  },
  {
    "from": "HKCU",
    "caption": "Ünïcode",
    "target": "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Ünïcode",
    "fileName": "C:\\App\\app.exe",
    "rawData": "\"C:\\App\\app.exe\" /x",
    "enabled": true
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
                   CliServices{nothing, empty.files, empty.fileInfo, empty.locale, empty.resources, tokens}, out, err),
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
  EXPECT_EQ(Run({L"list", L"--visible", L"--reply", L"C:\\missing.json"}), 1);
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
