#pragma once
// In-memory special folders and files. Paths compare without regard to ASCII case, as on
// Windows; a folder's listing comes in the order its entries were added.
#include <map>
#include <string>
#include <vector>

#include "platform/files.h"

namespace platform {

class FakeFileSystem final : public FileSystem {
 public:
  std::map<int, std::wstring> Folders;                 // CSIDL -> path as the shell gives it
  std::map<std::wstring, std::wstring> DeleteFailures; // path -> the system's message
  std::map<std::wstring, std::wstring> WriteFailures;  // path -> the system's message
  std::map<std::wstring, std::string> Contents;        // what WriteWholeFile wrote, ReadWholeFile reads

  void AddFile(const std::wstring& path);
  void AddFolder(const std::wstring& path);

  std::int32_t GetFolderPath(int csidl, std::wstring& path) override;
  bool ListDirectory(std::wstring_view folder, std::vector<DirectoryEntry>& entries) override;
  bool DeleteFileW(std::wstring_view path, std::wstring& message) override;
  bool FileExists(std::wstring_view path) override;
  bool WriteWholeFile(std::wstring_view path, std::string_view data, std::wstring& message) override;
  bool ReadWholeFile(std::wstring_view path, std::string& data, std::wstring& message) override;

 private:
  struct Node {
    std::wstring path;
    bool directory;
  };
  std::vector<Node> nodes_;
};

} // namespace platform
