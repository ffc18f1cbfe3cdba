#include <gtest/gtest.h>

#include "autorun/startup_folders.h"
#include "common/registry_paths.h"
#include "fakes/fake_platform.h"
#include "support/reg.h"

namespace {

using namespace platform;

const std::wstring kCommon = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
const std::wstring kUser = L"C:\\Users\\Ann\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
const std::wstring kApproved = keys::kApprovedStartupFolder;

class StartupFolders : public ::testing::Test {
 protected:
  StartupFolders() : reg(fake.registry) {
    fake.files.Folders = {{0x18, kCommon + L"\\"}, {0x07, kUser}};
    fake.files.AddFolder(kCommon);
    fake.files.AddFolder(kUser);
  }
  std::vector<std::wstring> Captions() {
    list.clear();
    AddStartupFolders(fake.files, fake.registry, list);
    std::vector<std::wstring> captions;
    for (const auto& entry : list) captions.push_back(entry->Caption);
    return captions;
  }

  FakePlatform fake;
  TReg reg;
  AutorunList list;
};

TEST_F(StartupFolders, ListStartableFilesDirectlyInsideEachFolder) {
  for (const wchar_t* name : {L"Tool.LNK", L"run.Bat", L"notes.txt", L"desktop.ini", L"archive.tar.exe", L".lnk",
                              L"noext", L"a.url", L"b.CMD", L"c.com"}) {
    fake.files.AddFile(kUser + L"\\" + name);
  }
  fake.files.AddFolder(kUser + L"\\Sub.lnk");
  fake.files.AddFile(kUser + L"\\Sub.lnk\\inner.lnk");
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"Tool", L"run", L"archive.tar", L"", L"a", L"b", L"c"}));
  const TAutorunInfo& tool = *list[0];
  EXPECT_EQ(tool.FileName, kUser + L"\\Tool.LNK");
  EXPECT_EQ(tool.Target, tool.FileName);
  EXPECT_EQ(tool.RawData, L"");
  EXPECT_EQ(tool.From, L"FILE");
  EXPECT_TRUE(tool.Enabled);
}

TEST_F(StartupFolders, CommonFilesKeepStatesUnderTheMachineAndUserFilesUnderTheUser) {
  fake.files.AddFile(kCommon + L"\\Same.lnk");
  fake.files.AddFile(kUser + L"\\Same.lnk");
  Captions();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]->Target, kCommon + L"\\Same.lnk") << "the common folder comes first";

  fake.system.Now = 0x0102'0304'0506'0708ull;
  SetStartupFolderEnabled(fake.files, fake.registry, fake.system, list[0]->Target, false);
  const std::vector<std::byte> disabled = {std::byte{3}, {},           {},           {},
                                           std::byte{8}, std::byte{7}, std::byte{6}, std::byte{5},
                                           std::byte{4}, std::byte{3}, std::byte{2}, std::byte{1}};
  EXPECT_EQ(reg.ReadBinary(kLocalMachine, kApproved, L"Same.lnk"), disabled);
  EXPECT_TRUE(reg.ReadBinary(kCurrentUser, kApproved, L"Same.lnk").empty());
  EXPECT_TRUE(fake.files.IsFile(list[0]->Target)) << "the file stays";
  Captions();
  EXPECT_FALSE(list[0]->Enabled);
  EXPECT_TRUE(list[1]->Enabled);

  SetStartupFolderEnabled(fake.files, fake.registry, fake.system, kUser + L"\\Same.lnk", false);
  SetStartupFolderEnabled(fake.files, fake.registry, fake.system, kCommon + L"\\Same.lnk", true);
  EXPECT_EQ(std::to_integer<int>(reg.ReadBinary(kLocalMachine, kApproved, L"Same.lnk").at(0)), 2);
  Captions();
  EXPECT_TRUE(list[0]->Enabled);
  EXPECT_FALSE(list[1]->Enabled);
}

TEST_F(StartupFolders, AFolderThatCannotBeHadGivesNothingAndTheOtherIsStillRead) {
  fake.files.AddFile(kUser + L"\\Tool.lnk");
  fake.files.Folders.erase(0x18);
  EXPECT_EQ(Captions(), std::vector<std::wstring>{L"Tool"});
  fake.files.Folders[0x18] = L"C:\\Missing";
  EXPECT_EQ(Captions(), std::vector<std::wstring>{L"Tool"}) << "a folder that cannot be listed";
}

TEST_F(StartupFolders, BelowVersion10DisablingDeletesTheFile) {
  fake.system.Major = 6;
  fake.files.AddFile(kUser + L"\\Tool.lnk");
  fake.files.AddFile(kUser + L"\\Locked.lnk");
  fake.files.DeleteFailures[kUser + L"\\Locked.lnk"] = L"Access is denied.";
  SetStartupFolderEnabled(fake.files, fake.registry, fake.system, kUser + L"\\Tool.lnk", true);
  EXPECT_TRUE(fake.files.IsFile(kUser + L"\\Tool.lnk")) << "enabling does nothing";
  SetStartupFolderEnabled(fake.files, fake.registry, fake.system, kUser + L"\\Tool.lnk", false);
  EXPECT_FALSE(fake.files.IsFile(kUser + L"\\Tool.lnk"));
  try {
    SetStartupFolderEnabled(fake.files, fake.registry, fake.system, kUser + L"\\Locked.lnk", false);
    FAIL() << "a failed deletion is reported";
  } catch (const StartupFileError& error) {
    EXPECT_EQ(error.Message(), L"Access is denied.");
  }
  EXPECT_TRUE(fake.files.IsFile(kUser + L"\\Locked.lnk"));
  std::vector<std::wstring> names;
  EXPECT_EQ(reg.ReadValueNames(kCurrentUser, kApproved, names), 0);
}

} // namespace
