#include "platform/fake/fake_files.h"

#include <algorithm>

#include "support/text.h"

namespace platform {
namespace {

constexpr std::int32_t kEFail = static_cast<std::int32_t>(0x80004005);

std::wstring_view Parent(std::wstring_view path) {
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring_view::npos ? std::wstring_view() : path.substr(0, slash);
}

} // namespace

void FakeFileSystem::AddFile(const std::wstring& path) { nodes_.push_back(Node{path, false}); }

void FakeFileSystem::AddFolder(const std::wstring& path) { nodes_.push_back(Node{path, true}); }

std::int32_t FakeFileSystem::GetFolderPath(int csidl, std::wstring& path) {
  const auto it = Folders.find(csidl);
  if (it == Folders.end()) return kEFail;
  path = it->second;
  return 0;
}

bool FakeFileSystem::ListDirectory(std::wstring_view folder, std::vector<DirectoryEntry>& entries) {
  const bool special =
      std::any_of(Folders.begin(), Folders.end(), [&](const auto& f) { return EqualsAsciiNoCase(f.second, folder); });
  const bool added = std::any_of(nodes_.begin(), nodes_.end(),
                                 [&](const Node& n) { return n.directory && EqualsAsciiNoCase(n.path, folder); });
  if (!special && !added) return false;
  entries.clear();
  for (const Node& node : nodes_) {
    if (EqualsAsciiNoCase(Parent(node.path), folder)) {
      entries.push_back(DirectoryEntry{node.path.substr(node.path.rfind(L'\\') + 1), node.directory});
    }
  }
  return true;
}

bool FakeFileSystem::DeleteFileW(std::wstring_view path, std::wstring& message) {
  if (const auto failure = DeleteFailures.find(std::wstring(path)); failure != DeleteFailures.end()) {
    message = failure->second;
    return false;
  }
  const auto it = std::find_if(nodes_.begin(), nodes_.end(),
                               [&](const Node& n) { return !n.directory && EqualsAsciiNoCase(n.path, path); });
  if (it == nodes_.end()) {
    message = L"The system cannot find the file specified.";
    return false;
  }
  nodes_.erase(it);
  return true;
}

bool FakeFileSystem::FileExists(std::wstring_view path) {
  return std::any_of(nodes_.begin(), nodes_.end(),
                     [&](const Node& n) { return !n.directory && EqualsAsciiNoCase(n.path, path); });
}

bool FakeFileSystem::WriteWholeFile(std::wstring_view path, std::string_view data, std::wstring& message) {
  if (const auto failure = WriteFailures.find(std::wstring(path)); failure != WriteFailures.end()) {
    message = failure->second;
    return false;
  }
  Contents[std::wstring(path)] = data;
  return true;
}

bool FakeFileSystem::ReadWholeFile(std::wstring_view path, std::string& data, std::wstring& message) {
  const auto it = Contents.find(std::wstring(path));
  if (it == Contents.end()) {
    message = L"The system cannot find the file specified.";
    return false;
  }
  data = it->second;
  return true;
}

} // namespace platform
