#pragma once
#include "platform/files.h"

namespace platform {

class Win32FileSystem final : public FileSystem {
 public:
  std::int32_t ReadFolderPath(int csidl, std::wstring& path) override;
  bool ListFolder(std::wstring_view folder, std::vector<DirectoryEntry>& entries) override;
  bool RemoveFile(std::wstring_view path, std::wstring& message) override;
  bool IsFile(std::wstring_view path) override;
  bool WriteWholeFile(std::wstring_view path, std::string_view data, std::wstring& message) override;
  bool ReadWholeFile(std::wstring_view path, std::size_t maxBytes, std::string& data, std::wstring& message) override;
};

// The system's text for a Win32 error code, without its line break.
std::wstring SystemMessage(unsigned long error);

} // namespace platform
