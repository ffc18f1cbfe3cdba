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

bool FilterList::Add(std::wstring_view text, Origin origin) {
  const auto it = std::lower_bound(
      items_.begin(), items_.end(), text,
      [&](const std::wstring& item, std::wstring_view t) { return locale_.CompareNoCase(item, t) < 0; });
  if (it != items_.end() && locale_.CompareNoCase(*it, text) == 0) return false;
  origins_.insert(origins_.begin() + (it - items_.begin()), origin);
  items_.emplace(it, text);
  prepared_.reset();
  return true;
}

namespace {

bool IsPrintableAscii(wchar_t c) { return c >= L' ' && c < 0x7F; }

bool IsPathSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

} // namespace

std::wstring FilterList::Fold(std::wstring_view text) const {
  return std::all_of(text.begin(), text.end(), IsPrintableAscii) ? AsciiUpperCase(text) : locale_.UpperCase(text);
}

const FilterList::Prepared& FilterList::Prepare(const FolderTokens& folderTokens) const {
  if (prepared_ && prepared_->folderTokens == &folderTokens) return *prepared_;
  auto prepared = std::make_unique<Prepared>();
  prepared->folderTokens = &folderTokens;
  // Items are sorted, so the first of several that fold alike is the one kept.
  for (int item = 0; item < Count(); ++item) {
    const std::wstring entry = ExpandFolderTokens(folderTokens, Trim(items_[item]));
    if (entry.empty() || entry.starts_with(L"//")) continue;
    std::wstring folded = Fold(entry);
    prepared->prefixes[folded.size()].try_emplace(folded, item);
    if (entry.ends_with(L'*')) {
      prepared->fileNames.try_emplace(AsciiUpperCase(std::wstring_view(entry).substr(0, entry.size() - 1)), item);
    } else if (origins_[item] == Origin::Reply) {
      prepared->pathEnds.try_emplace(std::move(folded), item);
    } else {
      prepared->fragments.emplace_back(std::move(folded), item);
    }
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
    strings.Add(line, FilterList::Origin::Reply);
  }
}

bool IsListed(const FilterList& strings, const FolderTokens& folderTokens, std::wstring_view text, bool fileMode) {
  return ListedBy(strings, folderTokens, text, fileMode) >= 0;
}

int ListedBy(const FilterList& strings, const FolderTokens& folderTokens, std::wstring_view text, bool fileMode) {
  const FilterList::Prepared& prepared = strings.Prepare(folderTokens);
  const auto find = [](const FilterList::FoldedIndex& index, std::wstring_view key) {
    const auto found = index.find(key);
    return found == index.end() ? -1 : found->second;
  };
  if (!fileMode) { // an entry matches as a prefix of the text
    const std::wstring folded = strings.Fold(text);
    for (const auto& [length, entries] : prepared.prefixes) {
      if (length > folded.size()) break;
      if (const int item = find(entries, std::wstring_view(folded).substr(0, length)); item >= 0) return item;
    }
    return -1;
  }
  if (!prepared.fileNames.empty()) {
    if (const int item = find(prepared.fileNames, AsciiUpperCase(FileNamePart(text))); item >= 0) return item;
  }
  if (prepared.pathEnds.empty() && prepared.fragments.empty()) return -1;
  const std::wstring folded = strings.Fold(text);
  if (!prepared.pathEnds.empty()) {
    // The end of the path from each place where a component begins, its separator included or not.
    for (std::size_t at = 0; at < folded.size(); ++at) {
      if (at > 0 && !IsPathSeparator(folded[at]) && !IsPathSeparator(folded[at - 1])) continue;
      if (const int item = find(prepared.pathEnds, std::wstring_view(folded).substr(at)); item >= 0) return item;
    }
  }
  for (const auto& [fragment, item] : prepared.fragments) {
    if (folded.find(fragment) != std::wstring::npos) return item;
  }
  return -1;
}
