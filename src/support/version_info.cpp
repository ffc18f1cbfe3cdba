#include "support/version_info.h"

#include <cstdint>
#include <stdexcept>

int GetFileVersionStrings(platform::FileSystem& files, platform::FileInfo& info, std::wstring_view fileName,
                          const std::vector<std::wstring>& names, std::map<std::wstring, std::wstring>& values) {
  if (!files.IsFile(fileName)) return 0;
  const std::uint32_t size = info.ReadVersionSize(fileName);
  if (size == 0) return 0;
  std::vector<std::byte> block(size);
  std::uint16_t language = 0;
  std::uint16_t codePage = 0;
  if (!info.ReadVersion(fileName, block) || !info.ReadTranslation(block, language, codePage)) return 0;

  // Only the first language and code page: "041204B0" for Korean in UTF-16.
  constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring blockName;
  for (const std::uint16_t number : {language, codePage}) {
    for (int shift = 12; shift >= 0; shift -= 4) blockName.push_back(kHex[number >> shift & 0xF]);
  }
  for (const std::wstring& name : names) {
    std::wstring text;
    if (!info.ReadVersionString(block, L"\\StringFileInfo\\" + blockName + L"\\" + name, text)) continue;
    if (!values.emplace(name, text).second) throw std::invalid_argument("version string asked for twice");
  }
  return static_cast<int>(values.size());
}
