// Run on a prefix set to Windows 7: the system keeps no StartupApproved values there, so
// disabling removes the entry itself.
#include <gtest/gtest.h>

#include <windows.h>

#include "autorun/catalogue.h"
#include "autorun/startup_folders.h"
#include "common/registry_paths.h"
#include "support/reg.h"
#include "windows/win32_platform.h"

namespace {

using platform::kCurrentUser;

using keys::kApproved;
using keys::kRun;

class OlderWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(win32_.system.MajorVersion(), 6u) << "this binary runs on a Windows 7 prefix";
    user_ = GetSpecialFolder(win32_.files, csidl::kStartup);
    reg_.WriteString(kCurrentUser, kRun, L"TarnwickOld", L"C:\\old.exe");
    reg_.WriteString(kCurrentUser, kRun + L"\\TarnwickOld\\Deep", L"Data", L"kept"); // a key named as the entry
    std::wstring message;
    ASSERT_TRUE(win32_.files.WriteWholeFile(user_ + L"\\TarnwickOld.lnk", "old", message));
  }
  void TearDown() override {
    reg_.DeleteValue(kCurrentUser, kRun, L"TarnwickOld");
    reg_.DeleteKey(kCurrentUser, kRun, L"TarnwickOld");
    DeleteFileW((user_ + L"\\TarnwickOld.lnk").c_str());
  }

  platform::Win32Platform win32_;
  TReg reg_{win32_.registry};
  FolderTokens tokens_;
  SystemCatalogue catalogue_{win32_.registry, win32_.files, win32_.tasks, win32_.services, win32_.system, tokens_};
  std::wstring user_;
};

TEST_F(OlderWindows, EnablingChangesNothingAndDisablingRemovesTheEntry) {
  catalogue_.SetAutorunEnabled(L"HKCU\\" + kRun + L"\\TarnwickOld", L"HKCU", true);
  catalogue_.SetAutorunEnabled(user_ + L"\\TarnwickOld.lnk", L"FILE", true);
  EXPECT_EQ(reg_.ReadString(kCurrentUser, kRun, L"TarnwickOld", L""), L"C:\\old.exe");
  EXPECT_TRUE(win32_.files.IsFile(user_ + L"\\TarnwickOld.lnk"));

  catalogue_.SetAutorunEnabled(L"HKCU\\" + kRun + L"\\TarnwickOld", L"HKCU", false);
  catalogue_.SetAutorunEnabled(user_ + L"\\TarnwickOld.lnk", L"FILE", false);
  std::vector<std::wstring> names;
  reg_.ReadValueNames(kCurrentUser, kRun, names);
  EXPECT_EQ(std::count(names.begin(), names.end(), L"TarnwickOld"), 0);
  EXPECT_EQ(reg_.ReadString(kCurrentUser, kRun + L"\\TarnwickOld\\Deep", L"Data", L""), L"kept")
      << "the entry is the value; the key of the same name is other data";
  EXPECT_FALSE(win32_.files.IsFile(user_ + L"\\TarnwickOld.lnk"));
  EXPECT_TRUE(reg_.ReadBinary(kCurrentUser, kApproved + L"\\Run", L"TarnwickOld").empty());
  EXPECT_TRUE(reg_.ReadBinary(kCurrentUser, kApproved + L"\\StartupFolder", L"TarnwickOld.lnk").empty());
}

TEST_F(OlderWindows, AFailedDeletionReachesTheCallerWithTheSystemsText) {
  const std::wstring missing = user_ + L"\\TarnwickMissing.lnk";
  try {
    catalogue_.SetAutorunEnabled(missing, L"FILE", false);
    FAIL() << "the failed deletion must escape";
  } catch (const StartupFileError& error) {
    EXPECT_EQ(error.Message(), platform::SystemMessage(ERROR_FILE_NOT_FOUND));
  }
}

} // namespace
