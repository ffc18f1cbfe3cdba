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
  prepared_.reset();
  return true;
}

namespace {

bool IsPrintableAscii(wchar_t c) { return c >= L' ' && c < 0x7F; }

} // namespace

const FilterList::Prepared& FilterList::Prepare(const FolderTokens& folderTokens) const {
  if (prepared_ && prepared_->folderTokens == &folderTokens) return *prepared_;
  auto prepared = std::make_unique<Prepared>();
  prepared->folderTokens = &folderTokens;
  for (std::size_t item = 0; item < items_.size(); ++item) {
    std::wstring entry = ExpandFolderTokens(folderTokens, Trim(items_[item]));
    if (entry.empty() || entry.starts_with(L"//")) continue;
    prepared->items.push_back(item);
    prepared->upper.push_back(locale_.UpperCase(entry));
    if (std::all_of(entry.begin(), entry.end(), IsPrintableAscii)) {
      prepared->ascii[entry.size()].try_emplace(AsciiUpperCase(entry), prepared->entries.size());
    } else {
      prepared->others.push_back(prepared->entries.size());
    }
    prepared->entries.push_back(std::move(entry));
  }
  prepared_ = std::move(prepared);
  return *prepared_;
}

void LoadListFromResource(platform::Resources& resources, FilterList& strings, std::wstring_view resName) {
  std::string bytes;
  if (!resources.ReadRcData(resName, bytes)) return;
  strings.Clear();
  for (const std::wstring& line : SplitLines(WideFromUtf8Text(bytes))) strings.Add(line);
}

namespace {

// Whether a line of a reply says something: long enough, and more than separators, blanks and
// wildcards, which would white-list whatever they meet.
bool IsSpecificLine(std::wstring_view line) {
  const std::wstring_view trimmed = Trim(line);
  if (trimmed.size() < 3 || line.size() > kMaxReplyLineLength) return false;
  return trimmed.find_first_not_of(L"\\/:;,|.*? \t\r\n\f\v") != std::wstring_view::npos;
}

} // namespace

void MergeJSONArray(FilterList& strings, const nlohmann::json& json, std::string_view member) {
  if (!json.is_object()) return;
  const auto found = json.find(member);
  if (found == json.end() || !found->is_array()) return;
  int taken = 0;
  for (const nlohmann::json& element : *found) {
    if (taken == kMaxReplyLines) break;
    // A string element is its text; a number or a Boolean its JSON text; anything else nothing.
    const std::string text = element.is_string()                           ? element.get<std::string>()
                             : element.is_number() || element.is_boolean() ? element.dump()
                                                                           : std::string();
    const std::wstring line = WideFromUtf8(text);
    if (!IsSpecificLine(line)) continue;
    ++taken;
    strings.Add(line);
  }
}

bool IsListed(const FilterList& strings, const FolderTokens& folderTokens, std::wstring_view text, bool fileMode) {
  return ListedBy(strings, folderTokens, text, fileMode) != nullptr;
}

const std::wstring* ListedBy(const FilterList& strings, const FolderTokens& folderTokens, std::wstring_view text,
                             bool fileMode) {
  platform::Locale& locale = strings.Locale();
  const FilterList::Prepared& prepared = strings.Prepare(folderTokens);
  const auto item = [&](std::size_t entry) { return &strings[static_cast<int>(prepared.items[entry])]; };
  if (!fileMode) {         // an entry matches as a prefix of the text
    std::size_t ascii = 0; // the text's first characters of printable ASCII
    while (ascii < text.size() && IsPrintableAscii(text[ascii])) ++ascii;
    const std::wstring upper = AsciiUpperCase(text.substr(0, ascii));
    for (const auto& [length, entries] : prepared.ascii) {
      if (length > text.size()) break;
      if (length <= ascii) {
        if (const auto found = entries.find(upper.substr(0, length)); found != entries.end())
          return item(found->second);
        continue;
      }
      for (const auto& [entry, index] : entries) { // the locale decides beyond ASCII
        if (locale.CompareNoCase(text.substr(0, length), entry) == 0) return item(index);
      }
    }
    for (const std::size_t i : prepared.others) {
      const std::wstring& entry = prepared.entries[i];
      if (text.size() >= entry.size() && locale.CompareNoCase(text.substr(0, entry.size()), entry) == 0) return item(i);
    }
    return nullptr;
  }
  std::wstring upperText; // made once, for the fragment search
  for (std::size_t i = 0; i < prepared.entries.size(); ++i) {
    const std::wstring& entry = prepared.entries[i];
    if (entry.ends_with(L'*')) {
      if (EqualsAsciiNoCase(std::wstring_view(entry).substr(0, entry.size() - 1), FileNamePart(text))) return item(i);
    } else {
      if (upperText.empty()) upperText = locale.UpperCase(text);
      if (upperText.find(prepared.upper[i]) != std::wstring::npos) return item(i);
    }
  }
  return nullptr;
}
