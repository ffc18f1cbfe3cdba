#include <gtest/gtest.h>

#include "autorun/catalogue.h"
#include "common/registry_paths.h"
#include "fakes/fake_platform.h"
#include "support/reg.h"

namespace {

using namespace platform;

class Catalogue : public ::testing::Test {
 protected:
  Catalogue() : reg(fake.registry) {
    fake.files.Folders = {{0x07, L"C:\\Startup"}};
    fake.files.AddFile(L"C:\\Startup\\Tool.lnk");
    reg.WriteString(kCurrentUser, keys::kRun, L"Mine", L"mine.exe");
    reg.WriteString(kLocalMachine, keys::kRun, L"Both", L"both.exe");
    reg.WriteString(kLocalMachine, keys::kRun32, L"Both", L"both.exe");
    fake.tasks.Tasks = {{L"\\Update", true}, {L"\\Hidden", true, true}, {L"\\Off", false}, {L"\\Vendor\\Nested", true}};
    fake.services.Services = {{L"Svc", L"A service", L"C:\\svc.exe", 2}};
  }
  std::vector<std::wstring> Rows() {
    catalogue.GetAutorunList(list);
    std::vector<std::wstring> rows;
    for (const auto& e : list) rows.push_back(e->From + L"|" + e->Caption + L"|" + (e->Enabled ? L"on" : L"off"));
    return rows;
  }

  FakePlatform fake;
  TReg reg;
  FolderTokens tokens;
  SystemCatalogue catalogue{fake.registry, fake.files, fake.tasks, fake.services, fake.system, tokens};
  AutorunList list;
};

TEST_F(Catalogue, ReadsTheSourcesInOrderIntoAClearedList) {
  list.push_back(std::make_unique<TAutorunInfo>());
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"FILE|Tool|on", L"HKLM|Both|on", L"HKLM|Both|on", L"HKCU|Mine|on",
                                               L"SCHE|Update|on", L"SCHE|Off|off", L"SERV|A service|on"}));
  EXPECT_EQ(list[4]->Target, L"\\Update");
  EXPECT_EQ(fake.tasks.Connections, 1u);
  EXPECT_EQ(fake.tasks.Releases, 1u);
}

TEST_F(Catalogue, SourcesThatFailGiveNothingAndTheOthersFollow) {
  fake.tasks.FailConnect = true;
  EXPECT_EQ(Rows().back(), L"SERV|A service|on") << "no task entries, the services still follow";
  EXPECT_EQ(list.size(), 5u);

  fake.tasks.FailConnect = false;
  fake.tasks.Tasks = {{L"\\One", true}, {L"\\Two", true}, {L"\\Three", true}, {L"\\Four", true}};
  fake.tasks.FailAtItem = 3;
  const std::vector<std::wstring> rows = Rows();
  EXPECT_EQ(std::vector<std::wstring>(rows.begin() + 4, rows.end()),
            (std::vector<std::wstring>{L"SCHE|One|on", L"SCHE|Two|on", L"SERV|A service|on"}))
      << "an error at the third task keeps the first two";
  EXPECT_FALSE(fake.tasks.Connected());

  FakePlatform empty;
  SystemCatalogue nothing(empty.registry, empty.files, empty.tasks, empty.services, empty.system, tokens);
  nothing.GetAutorunList(list);
  EXPECT_TRUE(list.empty());
}

TEST_F(Catalogue, AValueTooLargeToAllocateCostsThatEntryOnly) {
  reg.WriteString(kLocalMachine, keys::kRun, L"Huge", L"huge.exe");
  reg.WriteString(kLocalMachine, keys::kRun, L"After", L"after.exe");
  fake.registry.ThrowOnReadingValue = L"Huge";
  EXPECT_EQ(Rows(),
            (std::vector<std::wstring>{L"FILE|Tool|on", L"HKLM|Both|on", L"HKLM|After|on", L"HKLM|Both|on",
                                       L"HKCU|Mine|on", L"SCHE|Update|on", L"SCHE|Off|off", L"SERV|A service|on"}));
  EXPECT_FALSE(fake.tasks.Connected());
}

TEST_F(Catalogue, SwitchingGoesToTheSourceOfTheTag) {
  catalogue.SetAutorunEnabled(L"C:\\Startup\\Tool.lnk", L"file", false);
  catalogue.SetAutorunEnabled(L"\\Off", L"Sche", true);
  catalogue.SetAutorunEnabled(L"Svc", L"serv", false);
  catalogue.SetAutorunEnabled(L"HKCU\\" + keys::kRun + L"\\Mine", L"HKU", false);
  catalogue.SetAutorunEnabled(L"HKLM\\" + keys::kRun + L"\\Both", L"", false);
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"FILE|Tool|off", L"HKLM|Both|off", L"HKLM|Both|on", L"HKCU|Mine|off",
                                               L"SCHE|Update|on", L"SCHE|Off|on", L"SERV|A service|off"}));
  EXPECT_EQ(fake.tasks.Connections, fake.tasks.Releases);
}

} // namespace
