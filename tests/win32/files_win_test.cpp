#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "platform/win32/files_win.h"
#include "platform/win32/system_win.h"
#include "support/path.h"

namespace {

using platform::DirectoryEntry;

// A scratch folder of the test's own under the temporary folder.
class Win32Files : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"tarnwick-files-test";
    Clear();
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
  }
  void TearDown() override { Clear(); }
  void Clear() {
    for (const wchar_t* name : {L"\\plain.lnk", L"\\hidden.exe", L"\\system.bat", L"\\Sub\\inner.lnk", L"\\out.txt"}) {
      SetFileAttributesW((folder_ + name).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW((folder_ + name).c_str());
    }
    RemoveDirectoryW((folder_ + L"\\Sub").c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  void Make(const std::wstring& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    const HANDLE file =
        CreateFileW((folder_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
  }
  std::string Read(const std::wstring& name) {
    std::string data(256, '\0');
    const HANDLE file =
        CreateFileW((folder_ + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    DWORD read = 0;
    ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &read, nullptr);
    CloseHandle(file);
    data.resize(read);
    return data;
  }

  std::wstring folder_;
  platform::Win32FileSystem files_;
};

TEST_F(Win32Files, ListsEveryFileWhateverItsAttributesAndMarksFolders) {
  Make(L"\\plain.lnk");
  Make(L"\\hidden.exe", FILE_ATTRIBUTE_HIDDEN);
  Make(L"\\system.bat", FILE_ATTRIBUTE_SYSTEM);
  ASSERT_TRUE(CreateDirectoryW((folder_ + L"\\Sub").c_str(), nullptr));
  Make(L"\\Sub\\inner.lnk");
  std::vector<DirectoryEntry> entries{{L"stale", false}};
  ASSERT_TRUE(files_.ListFolder(folder_, entries));
  std::vector<std::wstring> names;
  for (const auto& e : entries) names.push_back(e.Name + (e.IsDirectory ? L"/" : L""));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Sub/", L"hidden.exe", L"plain.lnk", L"system.bat"}));
  EXPECT_FALSE(files_.ListFolder(folder_ + L"\\Missing", entries));
  EXPECT_TRUE(files_.IsFile(folder_ + L"\\hidden.exe"));
  EXPECT_FALSE(files_.IsFile(folder_ + L"\\Sub")) << "a folder is no file";
}

TEST_F(Win32Files, DeletionFailuresCarryTheSystemsText) {
  std::wstring message;
  EXPECT_FALSE(files_.RemoveFile(folder_ + L"\\missing.lnk", message));
  EXPECT_EQ(message, platform::SystemMessage(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(message.empty());
  EXPECT_NE(message.back(), L'\n');
  Make(L"\\plain.lnk");
  EXPECT_TRUE(files_.RemoveFile(folder_ + L"\\plain.lnk", message));
  EXPECT_FALSE(files_.IsFile(folder_ + L"\\plain.lnk"));
}

TEST_F(Win32Files, WholeFilesReplaceOrLeaveNothing) {
  std::wstring message;
  ASSERT_TRUE(files_.WriteWholeFile(folder_ + L"\\out.txt", "first", message));
  ASSERT_TRUE(files_.WriteWholeFile(folder_ + L"\\out.txt", "second", message));
  EXPECT_EQ(Read(L"\\out.txt"), "second");
  EXPECT_FALSE(files_.WriteWholeFile(folder_ + L"\\Missing\\out.txt", "x", message));
  EXPECT_FALSE(message.empty());
  std::vector<DirectoryEntry> entries;
  files_.ListFolder(folder_, entries);
  EXPECT_EQ(entries.size(), 1u) << "no temporary file is left behind";
}

TEST(Win32Folders, ProgramFilesTokensNameThe64BitFoldersFromA32BitProcess) {
  platform::Win32FileSystem files;
  platform::Win32System system;
  ASSERT_EQ(system.NativeArchitecture(), platform::kProcessorArchitectureAmd64) << "the prefix is 64-bit";
  EXPECT_EQ(GetSpecialFolder(files, csidl::kProgramFiles), L"C:\\Program Files (x86)")
      << "a 32-bit process is given the x86 folder";
  const FolderTokens tokens = MakeFolderTokens(files, system);
  EXPECT_EQ(ExpandFolderTokens(tokens, L"%ProgramFiles%\\App\\a.exe"), L"C:\\Program Files\\App\\a.exe");
  EXPECT_EQ(ExpandFolderTokens(tokens, L"%ProgramFiles(x86)%\\App\\a.exe"), L"C:\\Program Files (x86)\\App\\a.exe");
  EXPECT_EQ(ExpandFolderTokens(tokens, L"%CommonProgramFiles%\\x.dll"), L"C:\\Program Files\\Common Files\\x.dll");
  EXPECT_EQ(ExpandFolderTokens(tokens, L"%CommonProgramFiles(x86)%\\x.dll"),
            L"C:\\Program Files (x86)\\Common Files\\x.dll");
  EXPECT_EQ(ExpandFolderTokens(tokens, L"%SystemRoot%\\a.exe"), ExpandFolderTokens(tokens, L"%WinDir%\\a.exe"));
  EXPECT_EQ(ExpandFolderTokens(tokens, L"%Public%\\a.exe"),
            GetSpecialFolder(files, csidl::kCommonDocuments) + L"\\a.exe");
  for (const auto& [token, folder] : tokens) {
    EXPECT_FALSE(folder.empty()) << token.size();
    EXPECT_NE(folder.back(), L'\\');
  }
}

} // namespace
