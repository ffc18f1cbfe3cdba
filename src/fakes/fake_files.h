#pragma once
// In-memory special folders, folders and files. Paths compare without regard to ASCII case, as
// on Windows; a folder's listing comes in the order its entries were made; drive roots ("C:")
// exist.
#include <map>
#include <string>
#include <vector>

#include "platform/files.h"

namespace platform {

class FakeFileSystem final : public FileSystem {
 public:
  std::map<int, std::wstring> Folders;                 // CSIDL -> path as the shell gives it; each is a folder
  std::map<std::wstring, std::wstring> DeleteFailures; // path -> the system's message
  std::map<std::wstring, std::wstring> WriteFailures;  // path -> the system's message

  void AddFile(const std::wstring& path, std::string content = {});
  void AddFolder(const std::wstring& path);

  std::int32_t ReadFolderPath(int csidl, std::wstring& path) override;
  bool ListFolder(std::wstring_view folder, std::vector<DirectoryEntry>& entries) override;
  bool RemoveFile(std::wstring_view path, std::wstring& message) override;
  bool IsFile(std::wstring_view path) override;
  bool WriteWholeFile(std::wstring_view path, std::string_view data, std::wstring& message) override;
  // Paths that begin "\\.\" are devices.
  bool ReadWholeFile(std::wstring_view path, std::size_t maxBytes, std::string& data, std::wstring& message) override;

 private:
  struct Node {
    std::wstring path;
    bool directory;
    std::string content;
  };
  Node* Find(std::wstring_view path);
  bool IsFolder(std::wstring_view path);

  std::vector<Node> nodes_;
};

} // namespace platform
