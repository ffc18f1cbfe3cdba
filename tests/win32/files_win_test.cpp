#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "contract/files_contract.h"
#include "support/path.h"
#include "windows/files_win.h"
#include "windows/system_win.h"
#include "wine.h"

namespace {

using platform::DirectoryEntry;

// A scratch folder under the temporary folder, emptied before and removed after.
class ScratchFolder {
 public:
  ScratchFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"tarnwick-files-test";
    Clear(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchFolder() { Clear(path_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::wstring& Path() const { return path_; }

 private:
  static void Clear(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          Clear(path);
        } else {
          SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileW(path.c_str());
        }
      } while (FindNextFileW(find, &data));
      FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
  }
  std::wstring path_;
};

class Win32FilesBed final : public FilesBed {
 public:
  platform::FileSystem& Files() override { return files_; }
  std::wstring Scratch() override { return scratch_.Path(); }
  void MakeFolder(const std::wstring& path) override { ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)); }

 private:
  ScratchFolder scratch_;
  platform::Win32FileSystem files_;
};

INSTANTIATE_TEST_SUITE_P(Win32, FilesContract,
                         ::testing::Values(FilesTarget{"Win32", [] { return std::make_unique<Win32FilesBed>(); },
                                                       OnWine()}),
                         [](const auto& info) { return info.param.name; });

class Win32Files : public ::testing::Test {
 protected:
  void Make(const std::wstring& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL, const char* content = "") {
    const HANDLE file =
        CreateFileW((Path() + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, content, static_cast<DWORD>(strlen(content)), &written, nullptr);
    CloseHandle(file);
  }
  std::string Read(const std::wstring& name) {
    std::string data;
    std::wstring message;
    return files_.ReadWholeFile(Path() + name, 1 << 20, data, message) ? data : "<missing>";
  }
  std::vector<std::wstring> Names() {
    std::vector<DirectoryEntry> entries;
    files_.ListFolder(Path(), entries);
    std::vector<std::wstring> names;
    for (const auto& e : entries) names.push_back(e.Name);
    std::sort(names.begin(), names.end());
    return names;
  }
  const std::wstring& Path() const { return scratch_.Path(); }

  ScratchFolder scratch_;
  platform::Win32FileSystem files_;
};

TEST_F(Win32Files, APipeIsRefusedAtOnceThoughItsServerNeverWrites) {
  const wchar_t* name = L"\\\\.\\pipe\\tarnwick-read-test";
  const HANDLE server = CreateNamedPipeW(name, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 0, 0, nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  std::string data;
  std::wstring message;
  EXPECT_FALSE(files_.ReadWholeFile(name, 99, data, message)) << "a read would wait for the server";
  EXPECT_EQ(message, platform::kNotADiskFile);
  CloseHandle(server);
}

TEST_F(Win32Files, ListsHiddenAndSystemFilesToo) {
  Make(L"\\plain.lnk");
  Make(L"\\hidden.exe", FILE_ATTRIBUTE_HIDDEN);
  Make(L"\\system.bat", FILE_ATTRIBUTE_SYSTEM);
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"hidden.exe", L"plain.lnk", L"system.bat"}));
  EXPECT_TRUE(files_.IsFile(Path() + L"\\hidden.exe"));
  std::wstring message;
  EXPECT_FALSE(files_.RemoveFile(Path() + L"\\missing.lnk", message));
  EXPECT_EQ(message, platform::SystemMessage(ERROR_FILE_NOT_FOUND));
}

TEST_F(Win32Files, AReplacedFileKeepsItsAttributes) {
  Make(L"\\out.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, "old");
  std::wstring message;
  ASSERT_TRUE(files_.WriteWholeFile(Path() + L"\\out.txt", "new", message)) << message.size();
  EXPECT_EQ(Read(L"\\out.txt"), "new");
  EXPECT_TRUE(GetFileAttributesW((Path() + L"\\out.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(Names(), std::vector<std::wstring>{L"out.txt"}) << "nothing is left beside it";
}

TEST_F(Win32Files, AFailedReplaceKeepsTheOldFileAndLeavesNothingBehind) {
  Make(L"\\out.txt", FILE_ATTRIBUTE_NORMAL, "old");
  // Held open without sharing its deletion: the file cannot be replaced.
  const HANDLE held =
      CreateFileW((Path() + L"\\out.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::wstring message;
  EXPECT_FALSE(files_.WriteWholeFile(Path() + L"\\out.txt", "new", message));
  EXPECT_FALSE(message.empty());
  CloseHandle(held);
  EXPECT_EQ(Read(L"\\out.txt"), "old");
  std::vector<std::wstring> names = Names();
  if (OnWine()) {
    // Known Wine deviation: Wine's ReplaceFileW moves the old file aside under a name from
    // GetTempFileNameW(dir, "rf", 0), "rf" and the tick count's low 16 bits in 1 to 4 hex digits
    // ("rf9c.tmp", "rf1a2b.tmp"), and leaves that empty file behind when the move fails.
    std::erase_if(names, [](const std::wstring& n) {
      if (n.size() < 7 || n.size() > 10 || !n.starts_with(L"rf") || !n.ends_with(L".tmp")) return false;
      return n.find_first_not_of(L"0123456789abcdef", 2) == n.size() - 4;
    });
  }
  EXPECT_EQ(names, std::vector<std::wstring>{L"out.txt"}) << "no temporary file is left behind";
}

TEST_F(Win32Files, TheNewContentNeverOverwritesAnotherFile) {
  // Every name the writer could give its temporary file in this process already exists.
  std::vector<std::wstring> decoys;
  for (int i = 1; i <= 300; ++i) {
    decoys.push_back(L"\\out.txt." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(i) +
                     L".tarnwick-new");
    Make(decoys.back(), FILE_ATTRIBUTE_NORMAL, "decoy");
  }
  std::wstring message;
  ASSERT_TRUE(files_.WriteWholeFile(Path() + L"\\out.txt", "new", message));
  EXPECT_EQ(Read(L"\\out.txt"), "new");
  for (const std::wstring& decoy : decoys) ASSERT_EQ(Read(decoy), "decoy");
  EXPECT_EQ(Names().size(), decoys.size() + 1);
}

TEST(Win32Folders, ProgramFilesTokensNameThe64BitFoldersFromEitherProcess) {
  platform::Win32FileSystem files;
  platform::Win32System system;
  ASSERT_EQ(system.NativeArchitecture(), platform::kProcessorArchitectureAmd64) << "the prefix is 64-bit";
  // A 32-bit process is given the x86 folder for the plain folder, a 64-bit one the native folder;
  // the tokens come out the same from both.
  EXPECT_EQ(GetSpecialFolder(files, csidl::kProgramFiles),
            sizeof(void*) == 4 ? L"C:\\Program Files (x86)" : L"C:\\Program Files");
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
