#pragma once
// Version resources and icons of files that exist only here. The version block a file gives
// carries the file's name, so that queries on it find the file's data again.
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_info.h"

namespace platform {

class FakeFileInfo final : public FileInfo {
 public:
  struct Version {
    std::vector<std::pair<std::uint16_t, std::uint16_t>> Translations; // language, code page
    std::map<std::wstring, std::wstring> Strings;                      // "\StringFileInfo\040904B0\ProductName" -> text
    std::optional<std::uint64_t> FileVersion = {};                        // of the fixed block, none without one
  };
  std::map<std::wstring, Version> Versions;                      // by file path
  std::map<std::wstring, int> IconCounts;                        // by file path: how many icons it holds
  std::vector<std::wstring> VersionReads;                        // every ReadVersionSize, by file
  std::vector<std::pair<std::wstring, std::uint16_t>> Extracted; // every ReadIcon
  int LiveIcons = 0;

  std::uint32_t ReadVersionSize(std::wstring_view file) override;
  bool ReadVersion(std::wstring_view file, std::span<std::byte> block) override;
  bool ReadTranslation(std::span<const std::byte> block, std::uint16_t& language, std::uint16_t& codePage) override;
  bool ReadFileVersion(std::span<const std::byte> block, std::uint64_t& version) override;
  bool ReadVersionString(std::span<const std::byte> block, std::wstring_view subBlock, std::wstring& text) override;
  IconHandle ReadIcon(std::wstring_view path, std::uint16_t index) override;
  void CloseIcon(IconHandle icon) override;

 private:
  const Version* Find(std::span<const std::byte> block) const;
};

} // namespace platform
