#include "ui/icon_cache.h"

#include <cstdint>

#include "support/text.h"
#include "support/unique_resource.h"

namespace {

// An icon number as written after the comma: a 32-bit integer, decimal, or hexadecimal after
// "$" or "0x" (where all 32 bits may be set).
bool ParseIconNumber(std::wstring_view text, std::int64_t& number) {
  while (!text.empty() && static_cast<unsigned>(text.front()) <= 32) text.remove_prefix(1);
  const bool negative = !text.empty() && text.front() == L'-';
  if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) text.remove_prefix(1);
  unsigned base = 10;
  if (text.starts_with(L'$')) {
    base = 16;
    text.remove_prefix(1);
  } else if (StartsWithAsciiNoCase(text, L"0x")) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return false;
  std::int64_t value = 0;
  for (const wchar_t c : text) {
    const int digit = HexDigit(c);
    if (digit < 0 || static_cast<unsigned>(digit) >= base) return false;
    value = value * base + digit;
    if (value > (base == 16 ? 0xFFFFFFFFll : 0x80000000ll)) return false; // beyond a 32-bit number
  }
  if (base == 10 && !negative && value == 0x80000000ll) return false;
  number = negative ? -value : value;
  return true;
}

} // namespace

int GetFileIconIndex(platform::FileSystem& files, platform::FileInfo& info, IconCache& iconCache,
                     platform::ImageList& images, std::wstring_view iconLocation, int defaultIndex) {
  std::wstring unquoted;
  for (const wchar_t c : iconLocation) {
    if (c != L'"') unquoted.push_back(c);
  }
  const std::wstring location(Trim(unquoted));
  if (location.empty()) return defaultIndex;

  std::wstring path = location;
  std::int64_t number = 0;
  if (const std::size_t comma = location.find(L','); comma != std::wstring::npos) {
    path = Trim(std::wstring_view(location).substr(0, comma));
    if (!ParseIconNumber(std::wstring_view(location).substr(comma + 1), number)) number = defaultIndex;
  }
  if (const auto cached = iconCache.find(location); cached != iconCache.end()) return cached->second;
  if (!files.IsFile(path)) return 0;

  struct IconCloser {
    platform::FileInfo* info;
    void operator()(platform::IconHandle icon) const { info->CloseIcon(icon); }
  };
  // The shell takes a 16-bit icon number.
  const UniqueResource<platform::IconHandle, IconCloser> icon(info.ReadIcon(path, static_cast<std::uint16_t>(number)),
                                                              IconCloser{&info});
  if (!icon) return 0; // not cached: the next call tries again
  if (!images.AddIcon(location, icon.get())) return defaultIndex;
  const int index = images.Count() - 1;
  iconCache[location] = index;
  return index;
}
