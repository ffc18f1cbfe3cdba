#include "ui/filter_list.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "support/text.h"
#include "support/utf8.h"

int FilterList::IndexOf(std::wstring_view text) const {
  const auto it = std::lower_bound(
      items_.begin(), items_.end(), text,
      [&](const std::wstring& item, std::wstring_view t) { return locale_.CompareNoCase(item, t) < 0; });
  return it != items_.end() && locale_.CompareNoCase(*it, text) == 0 ? static_cast<int>(it - items_.begin()) : -1;
}

bool FilterList::Add(std::wstring_view text) {
  const auto it = std::lower_bound(
      items_.begin(), items_.end(), text,
      [&](const std::wstring& item, std::wstring_view t) { return locale_.CompareNoCase(item, t) < 0; });
  if (it != items_.end() && locale_.CompareNoCase(*it, text) == 0) return false;
  items_.emplace(it, text);
  return true;
}

void LoadListFromResource(platform::Resources& resources, FilterList& strings, std::wstring_view resName) {
  std::string bytes;
  if (!resources.ReadRcData(resName, bytes)) return;
  strings.Clear();
  for (const std::wstring& line : SplitLines(WideFromUtf8Text(bytes))) strings.Add(line);
}

void MergeJSONArray(FilterList& strings, const nlohmann::json& json, std::string_view member) {
  if (!json.is_object()) return;
  const auto found = json.find(member);
  if (found == json.end() || !found->is_array()) return;
  for (const nlohmann::json& element : *found) {
    // A string element is its text; a number or a Boolean its JSON text; anything else empty.
    const std::string text = element.is_string()                           ? element.get<std::string>()
                             : element.is_number() || element.is_boolean() ? element.dump()
                                                                           : std::string();
    strings.Add(WideFromUtf8(text));
  }
}

bool IsListed(const FilterList& strings, const FolderTokens& folderTokens, std::wstring_view text, bool fileMode) {
  platform::Locale& locale = strings.Locale();
  std::wstring upperText; // made once, for the fragment search
  for (const std::wstring& item : strings) {
    const std::wstring entry = ExpandFolderTokens(folderTokens, Trim(item));
    if (entry.empty() || entry.starts_with(L"//")) continue;
    if (!fileMode) {
      if (text.size() >= entry.size() && locale.CompareNoCase(text.substr(0, entry.size()), entry) == 0) return true;
    } else if (entry.ends_with(L'*')) {
      if (EqualsAsciiNoCase(std::wstring_view(entry).substr(0, entry.size() - 1), FileNamePart(text))) return true;
    } else {
      if (upperText.empty()) upperText = locale.UpperCase(text);
      if (upperText.find(locale.UpperCase(entry)) != std::wstring::npos) return true;
    }
  }
  return false;
}
