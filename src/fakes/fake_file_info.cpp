#include "fakes/fake_file_info.h"

#include "support/utf16.h"

namespace platform {

std::uint32_t FakeFileInfo::ReadVersionSize(std::wstring_view file) {
  VersionReads.emplace_back(file);
  return Versions.contains(std::wstring(file)) ? static_cast<std::uint32_t>(Utf16LeFromWide(file).size()) : 0;
}

bool FakeFileInfo::ReadVersion(std::wstring_view file, std::span<std::byte> block) {
  const std::vector<std::byte> name = Utf16LeFromWide(file);
  if (!Versions.contains(std::wstring(file)) || block.size() != name.size()) return false;
  std::copy(name.begin(), name.end(), block.begin());
  return true;
}

const FakeFileInfo::Version* FakeFileInfo::Find(std::span<const std::byte> block) const {
  const auto it = Versions.find(WideFromUtf16Le(block));
  return it == Versions.end() ? nullptr : &it->second;
}

bool FakeFileInfo::ReadTranslation(std::span<const std::byte> block, std::uint16_t& language, std::uint16_t& codePage) {
  const Version* version = Find(block);
  if (!version || version->Translations.empty()) return false;
  std::tie(language, codePage) = version->Translations.front();
  return true;
}

bool FakeFileInfo::ReadFileVersion(std::span<const std::byte> block, std::uint64_t& version) {
  const Version* found = Find(block);
  if (!found || !found->FileVersion) return false;
  version = *found->FileVersion;
  return true;
}

bool FakeFileInfo::ReadVersionString(std::span<const std::byte> block, std::wstring_view subBlock, std::wstring& text) {
  const Version* version = Find(block);
  if (!version) return false;
  const auto it = version->Strings.find(std::wstring(subBlock));
  if (it == version->Strings.end()) return false;
  text = it->second;
  return true;
}

IconHandle FakeFileInfo::ReadIcon(std::wstring_view path, std::uint16_t index) {
  Extracted.emplace_back(std::wstring(path), index);
  const auto it = IconCounts.find(std::wstring(path));
  if (it == IconCounts.end() || index >= it->second) return 0;
  ++LiveIcons;
  return 0x1000 + index;
}

void FakeFileInfo::CloseIcon(IconHandle) { --LiveIcons; }

} // namespace platform
