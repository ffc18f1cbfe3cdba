#include "contract/files_contract.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "support/utf8.h"

namespace {

// Windows' texts for the errors the cases meet; Wine words its own.
constexpr wchar_t kFileNotFound[] = L"The system cannot find the file specified.";
constexpr wchar_t kPathNotFound[] = L"The system cannot find the path specified.";

std::vector<std::wstring> Names(const std::vector<platform::DirectoryEntry>& entries) {
  std::vector<std::wstring> names;
  for (const auto& e : entries) names.push_back(e.Name + (e.IsDirectory ? L"\\" : L""));
  std::sort(names.begin(), names.end());
  return names;
}

} // namespace

std::string FilesContract::Read(const std::wstring& path) {
  std::string data = "<stale>";
  std::wstring message;
  return files_->ReadWholeFile(path, 1 << 20, data, message) ? data : "<missing>";
}

TEST_P(FilesContract, WholeFilesAreWrittenReplacedAndRead) {
  const std::wstring path = scratch_ + L"\\out.txt";
  std::wstring message;
  EXPECT_FALSE(files_->IsFile(path));
  ASSERT_TRUE(files_->WriteWholeFile(path, "first", message));
  EXPECT_TRUE(files_->IsFile(path));
  ASSERT_TRUE(files_->WriteWholeFile(path, std::string("sec\0nd\r\n", 8), message));
  EXPECT_EQ(Read(path), std::string("sec\0nd\r\n", 8)) << "bytes as given, a NUL and CR LF included";
  ASSERT_TRUE(files_->WriteWholeFile(path, "", message));
  EXPECT_EQ(Read(path), "") << "an empty file";
  EXPECT_TRUE(files_->IsFile(scratch_ + L"\\OUT.TXT")) << "names compare without case";
  EXPECT_EQ(Read(scratch_ + L"\\Out.Txt"), "");
}

TEST_P(FilesContract, AReadStopsOneByteOverItsLimitAndRefusesDevices) {
  const std::wstring path = scratch_ + L"\\big.txt";
  std::wstring message;
  ASSERT_TRUE(files_->WriteWholeFile(path, std::string(200000, 'x'), message));
  for (const std::size_t limit : {std::size_t{0}, std::size_t{4}, std::size_t{65535}, std::size_t{65536},
                                  std::size_t{199999}, std::size_t{200000}, std::size_t{1} << 30}) {
    std::string data = "stale";
    ASSERT_TRUE(files_->ReadWholeFile(path, limit, data, message));
    EXPECT_EQ(data.size(), std::min<std::size_t>(limit + 1, 200000)) << "limit " << limit;
  }
  // A device answers a read only when it has something, which may be never.
  for (const wchar_t* device : {L"\\\\.\\NUL", L"\\\\.\\CONIN$"}) {
    message.clear();
    std::string data;
    EXPECT_FALSE(files_->ReadWholeFile(device, 99, data, message)) << Utf8FromWide(device);
    EXPECT_FALSE(message.empty());
  }
}

TEST_P(FilesContract, ListingGivesEveryNameOnceAndMarksFolders) {
  std::wstring message;
  ASSERT_TRUE(files_->WriteWholeFile(scratch_ + L"\\b.lnk", "b", message));
  ASSERT_TRUE(files_->WriteWholeFile(scratch_ + L"\\a.exe", "a", message));
  bed_->MakeFolder(scratch_ + L"\\Sub");
  ASSERT_TRUE(files_->WriteWholeFile(scratch_ + L"\\Sub\\inner.lnk", "i", message));
  std::vector<platform::DirectoryEntry> entries{{L"stale", false}};
  ASSERT_TRUE(files_->ListFolder(scratch_, entries));
  EXPECT_EQ(Names(entries), (std::vector<std::wstring>{L"Sub\\", L"a.exe", L"b.lnk"}))
      << "no \".\", no \"..\", nothing from inside Sub";
  EXPECT_FALSE(files_->IsFile(scratch_ + L"\\Sub")) << "a folder is no file";

  entries = {{L"stale", false}};
  EXPECT_FALSE(files_->ListFolder(scratch_ + L"\\Missing", entries));
  EXPECT_EQ(entries.size(), 1u) << "a failed listing leaves the entries alone";
  ASSERT_TRUE(files_->ListFolder(scratch_ + L"\\Sub", entries));
  EXPECT_EQ(Names(entries), std::vector<std::wstring>{L"inner.lnk"});
}

TEST_P(FilesContract, FailuresCarryTheSystemsTextAndChangeNothing) {
  std::wstring message;
  bed_->MakeFolder(scratch_ + L"\\Sub");
  ASSERT_TRUE(files_->WriteWholeFile(scratch_ + L"\\kept.txt", "kept", message));
  std::string data;
  const struct {
    const char* what;
    std::function<bool(std::wstring&)> call;
    const wchar_t* windowsText; // null: any text
  } cases[] = {
      {"removing a missing file", [&](auto& m) { return files_->RemoveFile(scratch_ + L"\\missing.lnk", m); },
       kFileNotFound},
      {"removing a folder", [&](auto& m) { return files_->RemoveFile(scratch_ + L"\\Sub", m); }, nullptr},
      {"reading a missing file", [&](auto& m) { return files_->ReadWholeFile(scratch_ + L"\\missing.txt", 99, data, m); },
       kFileNotFound},
      {"reading a folder", [&](auto& m) { return files_->ReadWholeFile(scratch_ + L"\\Sub", 99, data, m); }, nullptr},
      {"writing into a missing folder",
       [&](auto& m) { return files_->WriteWholeFile(scratch_ + L"\\Missing\\out.txt", "x", m); }, kPathNotFound},
      {"writing over a folder", [&](auto& m) { return files_->WriteWholeFile(scratch_ + L"\\Sub", "x", m); }, nullptr},
  };
  for (const auto& c : cases) {
    message.clear();
    EXPECT_FALSE(c.call(message)) << c.what;
    EXPECT_FALSE(message.empty()) << c.what;
    EXPECT_FALSE(message.ends_with(L"\n") || message.ends_with(L" ")) << c.what << ": no line break";
    if (c.windowsText && !GetParam().wine) {
      EXPECT_EQ(message, c.windowsText) << c.what;
    }
  }
  // Known Wine deviation: Wine words the system's texts its own way ("File not found.").
  std::vector<platform::DirectoryEntry> entries;
  ASSERT_TRUE(files_->ListFolder(scratch_, entries));
  EXPECT_EQ(Names(entries), (std::vector<std::wstring>{L"Sub\\", L"kept.txt"})) << "nothing was made or removed";
  EXPECT_EQ(Read(scratch_ + L"\\kept.txt"), "kept");
}

TEST_P(FilesContract, AFolderTheSystemDoesNotKnowIsAFailure) {
  std::wstring path = L"unchanged";
  EXPECT_LT(files_->ReadFolderPath(0xFF, path), 0) << "no such CSIDL";
  EXPECT_EQ(path, L"unchanged");
}
