#include <gtest/gtest.h>

#include <windows.h>

#include "autorun/catalogue.h"
#include "common/registry_paths.h"
#include "support/reg.h"
#include "windows/win32_platform.h"

namespace {

using platform::kCurrentUser;
using platform::kLocalMachine;

using keys::kRun;
using keys::kRun32;
const std::wstring kApproved = keys::kApproved + L"\\";
constexpr wchar_t kService[] = L"TarnwickSeedSvc";

// A prefix seeded with an entry of every source Wine can hold, read through the real platform.
class Win32Catalogue : public ::testing::Test {
 protected:
  void SetUp() override {
    tokens_ = MakeFolderTokens(win32_.files, win32_.system);
    common_ = GetSpecialFolder(win32_.files, csidl::kCommonStartup);
    user_ = GetSpecialFolder(win32_.files, csidl::kStartup);
    ASSERT_FALSE(common_.empty());
    ASSERT_FALSE(user_.empty());
    Clear();
    reg_.WriteString(kLocalMachine, kRun, L"TarnwickSeed", L"\"%ProgramFiles%\\Seed\\seed.exe\" /min");
    reg_.WriteString(kLocalMachine, kRun32, L"TarnwickSeed", L"C:\\Seed32\\seed.exe");
    reg_.WriteString(kCurrentUser, kRun, L"TarnwickSeed User", L"rundll32.exe seed.dll,Start");
    const std::array<std::byte, 12> disabled{std::byte{3}};
    reg_.WriteBinary(kCurrentUser, kApproved + L"Run", L"TarnwickSeed User", disabled);
    for (const std::wstring& file :
         {common_ + L"\\TarnwickSeed.lnk", user_ + L"\\TarnwickSeed.BAT", user_ + L"\\TarnwickSeed.txt"}) {
      std::wstring message;
      ASSERT_TRUE(win32_.files.WriteWholeFile(file, "seed", message));
    }
    const SC_HANDLE scm = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    const SC_HANDLE service = CreateServiceW(scm, kService, L"TarnwickSeed service", SERVICE_ALL_ACCESS,
                                             SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                                             L"C:\\Seed\\svc.exe -k seed", nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(service, nullptr);
    CloseServiceHandle(service);
    CloseServiceHandle(scm);
  }
  void TearDown() override { Clear(); }
  void Clear() {
    reg_.DeleteValue(kLocalMachine, kRun, L"TarnwickSeed");
    reg_.DeleteValue(kLocalMachine, kRun32, L"TarnwickSeed");
    reg_.DeleteValue(kCurrentUser, kRun, L"TarnwickSeed User");
    reg_.DeleteValue(kCurrentUser, kApproved + L"Run", L"TarnwickSeed User");
    reg_.DeleteValue(kLocalMachine, kApproved + L"Run32", L"TarnwickSeed");
    reg_.DeleteValue(kLocalMachine, kApproved + L"StartupFolder", L"TarnwickSeed.lnk");
    for (const std::wstring& file :
         {common_ + L"\\TarnwickSeed.lnk", user_ + L"\\TarnwickSeed.BAT", user_ + L"\\TarnwickSeed.txt"}) {
      DeleteFileW(file.c_str());
    }
    const SC_HANDLE scm = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (const SC_HANDLE service = OpenServiceW(scm, kService, DELETE)) {
      DeleteService(service);
      CloseServiceHandle(service);
    }
    CloseServiceHandle(scm);
  }
  // The seeded entries as the catalogue lists them, in its order.
  std::vector<const TAutorunInfo*> Seeded() {
    catalogue_.GetAutorunList(list_);
    std::vector<const TAutorunInfo*> seeded;
    for (const auto& e : list_) {
      if (e->Caption.starts_with(L"TarnwickSeed")) seeded.push_back(e.get());
    }
    return seeded;
  }

  platform::Win32Platform win32_;
  TReg reg_{win32_.registry};
  FolderTokens tokens_;
  SystemCatalogue catalogue_{win32_.registry, win32_.files, win32_.tasks, win32_.services, win32_.system, tokens_};
  std::wstring common_, user_;
  AutorunList list_;
};

TEST_F(Win32Catalogue, ListsTheSeededEntriesInSourceOrderWithEveryField) {
  const auto seeded = Seeded();
  ASSERT_EQ(seeded.size(), 6u);
  const struct {
    const wchar_t* from;
    const wchar_t* caption;
    std::wstring target;
    std::wstring fileName;
    const wchar_t* rawData;
    bool enabled;
  } expected[] = {
      {L"FILE", L"TarnwickSeed", common_ + L"\\TarnwickSeed.lnk", common_ + L"\\TarnwickSeed.lnk", L"", true},
      {L"FILE", L"TarnwickSeed", user_ + L"\\TarnwickSeed.BAT", user_ + L"\\TarnwickSeed.BAT", L"", true},
      {L"HKLM", L"TarnwickSeed", L"HKLM\\" + kRun + L"\\TarnwickSeed", L"C:\\Program Files\\Seed\\seed.exe",
       L"\"%ProgramFiles%\\Seed\\seed.exe\" /min", true},
      {L"HKLM", L"TarnwickSeed", L"HKLM\\" + kRun32 + L"\\TarnwickSeed", L"C:\\Seed32\\seed.exe",
       L"C:\\Seed32\\seed.exe", true},
      {L"HKCU", L"TarnwickSeed User", L"HKCU\\" + kRun + L"\\TarnwickSeed User", L"seed.dll",
       L"rundll32.exe seed.dll,Start", false},
      {L"SERV", L"TarnwickSeed service", kService, L"C:\\Seed\\svc.exe -k seed", L"C:\\Seed\\svc.exe -k seed", true},
  };
  for (std::size_t i = 0; i < seeded.size(); ++i) {
    EXPECT_EQ(seeded[i]->From, expected[i].from) << i;
    EXPECT_EQ(seeded[i]->Caption, expected[i].caption) << i;
    EXPECT_EQ(seeded[i]->Target, expected[i].target) << i;
    EXPECT_EQ(seeded[i]->FileName, expected[i].fileName) << i;
    EXPECT_EQ(seeded[i]->RawData, expected[i].rawData) << i;
    EXPECT_EQ(seeded[i]->Enabled, expected[i].enabled) << i;
  }
}

TEST_F(Win32Catalogue, SwitchingWritesTheExactBytesBesideTheEntry) {
  const std::uint64_t before = win32_.system.UtcNow();
  catalogue_.SetAutorunEnabled(L"HKLM\\" + kRun32 + L"\\TarnwickSeed", L"hklm", false);
  catalogue_.SetAutorunEnabled(common_ + L"\\TarnwickSeed.lnk", L"file", false);
  catalogue_.SetAutorunEnabled(common_ + L"\\TarnwickSeed.lnk", L"FILE", true);
  catalogue_.SetAutorunEnabled(kService, L"SERV", false);
  const std::uint64_t after = win32_.system.UtcNow();

  for (const auto& [key, name, state] : {std::tuple{kApproved + L"Run32", L"TarnwickSeed", 3},
                                         std::tuple{kApproved + L"StartupFolder", L"TarnwickSeed.lnk", 2}}) {
    const std::vector<std::byte> value = reg_.ReadBinary(kLocalMachine, key, name);
    ASSERT_EQ(value.size(), 12u);
    EXPECT_EQ((std::vector<int>{std::to_integer<int>(value[0]), std::to_integer<int>(value[1]),
                                std::to_integer<int>(value[2]), std::to_integer<int>(value[3])}),
              (std::vector<int>{state, 0, 0, 0}));
    std::uint64_t stamp = 0;
    for (int i = 7; i >= 0; --i) stamp = stamp << 8 | std::to_integer<std::uint64_t>(value[4 + i]);
    EXPECT_GE(stamp, before);
    EXPECT_LE(stamp, after);
  }
  EXPECT_EQ(reg_.ReadString(kLocalMachine, kRun32, L"TarnwickSeed", L""), L"C:\\Seed32\\seed.exe");
  EXPECT_TRUE(win32_.files.IsFile(common_ + L"\\TarnwickSeed.lnk"));
  const auto seeded = Seeded();
  ASSERT_EQ(seeded.size(), 6u);
  EXPECT_EQ((std::vector<bool>{seeded[0]->Enabled, seeded[3]->Enabled, seeded[5]->Enabled}),
            (std::vector<bool>{true, false, false}));
}

} // namespace
