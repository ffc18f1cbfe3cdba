#include "fakes/fake_files.h"

#include <algorithm>

#include "support/text.h"

namespace platform {
namespace {

constexpr std::int32_t kEFail = static_cast<std::int32_t>(0x80004005);
// The system's texts for the errors the fake gives.
constexpr wchar_t kFileNotFound[] = L"The system cannot find the file specified.";
constexpr wchar_t kPathNotFound[] = L"The system cannot find the path specified.";
constexpr wchar_t kAccessDenied[] = L"Access is denied.";

std::wstring_view Parent(std::wstring_view path) {
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring_view::npos ? std::wstring_view() : path.substr(0, slash);
}

} // namespace

void FakeFileSystem::AddFile(const std::wstring& path, std::string content) {
  nodes_.push_back(Node{path, false, std::move(content)});
}

void FakeFileSystem::AddFolder(const std::wstring& path) { nodes_.push_back(Node{path, true, {}}); }

FakeFileSystem::Node* FakeFileSystem::Find(std::wstring_view path) {
  const auto it =
      std::find_if(nodes_.begin(), nodes_.end(), [&](const Node& n) { return EqualsAsciiNoCase(n.path, path); });
  return it == nodes_.end() ? nullptr : &*it;
}

bool FakeFileSystem::IsFolder(std::wstring_view path) {
  const bool driveRoot = path.size() == 2 && path[1] == L':';
  const Node* node = Find(path);
  return driveRoot || (node && node->directory) ||
         std::any_of(Folders.begin(), Folders.end(), [&](const auto& f) { return EqualsAsciiNoCase(f.second, path); });
}

std::int32_t FakeFileSystem::ReadFolderPath(int csidl, std::wstring& path) {
  const auto it = Folders.find(csidl);
  if (it == Folders.end()) return kEFail;
  path = it->second;
  return 0;
}

bool FakeFileSystem::ListFolder(std::wstring_view folder, std::vector<DirectoryEntry>& entries) {
  if (!IsFolder(folder)) return false;
  entries.clear();
  for (const Node& node : nodes_) {
    if (EqualsAsciiNoCase(Parent(node.path), folder)) {
      entries.push_back(DirectoryEntry{node.path.substr(node.path.rfind(L'\\') + 1), node.directory});
    }
  }
  return true;
}

bool FakeFileSystem::RemoveFile(std::wstring_view path, std::wstring& message) {
  if (const auto failure = DeleteFailures.find(std::wstring(path)); failure != DeleteFailures.end()) {
    message = failure->second;
    return false;
  }
  const Node* node = Find(path);
  if (!node || node->directory) {
    message = node ? kAccessDenied : IsFolder(Parent(path)) ? kFileNotFound : kPathNotFound;
    return false;
  }
  nodes_.erase(nodes_.begin() + (node - nodes_.data()));
  return true;
}

bool FakeFileSystem::IsFile(std::wstring_view path) {
  const Node* node = Find(path);
  return node && !node->directory;
}

bool FakeFileSystem::WriteWholeFile(std::wstring_view path, std::string_view data, std::wstring& message) {
  if (const auto failure = WriteFailures.find(std::wstring(path)); failure != WriteFailures.end()) {
    message = failure->second;
    return false;
  }
  Node* node = Find(path);
  if (node && node->directory) {
    message = kAccessDenied;
    return false;
  }
  if (!node && !IsFolder(Parent(path))) {
    message = kPathNotFound;
    return false;
  }
  if (node) {
    node->content = data;
  } else {
    AddFile(std::wstring(path), std::string(data));
  }
  return true;
}

bool FakeFileSystem::ReadWholeFile(std::wstring_view path, std::size_t maxBytes, std::string& data,
                                   std::wstring& message) {
  if (path.starts_with(L"\\\\.\\")) {
    message = kNotADiskFile;
    return false;
  }
  const Node* node = Find(path);
  if (!node || node->directory) {
    message = node ? kAccessDenied : IsFolder(Parent(path)) ? kFileNotFound : kPathNotFound;
    return false;
  }
  data = node->content.substr(0, maxBytes + 1);
  return true;
}

} // namespace platform
