#pragma once
// The filter lists: sorted texts compared without regard to case by the user's locale, loaded
// from the program's resources, merged from the server's reply, and matched against entries.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "platform/locale.h"
#include "platform/resources.h"
#include "support/path.h"

// Sorted; an added text equal to an item already there (case ignored by the locale) is dropped.
class FilterList {
 public:
  explicit FilterList(platform::Locale& locale) : locale_(locale) {}

  int Count() const { return static_cast<int>(items_.size()); }
  const std::wstring& operator[](int index) const { return items_[index]; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  // The index of the item equal to `text`, or -1.
  int IndexOf(std::wstring_view text) const;
  // False when an equal item was there already.
  bool Add(std::wstring_view text);
  void Clear() {
    items_.clear();
    prepared_.reset();
  }
  platform::Locale& Locale() const { return locale_; }

  // The items as matching reads them, made once after each change and kept: trimmed, a leading
  // folder token expanded, empty items and comments left out.
  struct Prepared {
    const FolderTokens* folderTokens = nullptr;
    std::vector<std::wstring> entries;
    std::vector<std::size_t> items;  // the item each entry was made from
    std::vector<std::wstring> upper; // each entry upper-cased by the locale, for fragments of paths
    // The entries of printable ASCII upper-cased, by length, with their index: between such
    // texts the locale's comparison without case is ASCII's, so a prefix is found by one lookup
    // per length.
    std::map<std::size_t, std::unordered_map<std::wstring, std::size_t>> ascii;
    std::vector<std::size_t> others; // the entries with any other character
  };
  const Prepared& Prepare(const FolderTokens& folderTokens) const;

 private:
  platform::Locale& locale_;
  std::vector<std::wstring> items_;
  mutable std::unique_ptr<Prepared> prepared_;
};

// Replaces `strings` with the lines of the UTF-8 RCDATA resource `resName`; leaves it as it
// was when there is no such resource.
void LoadListFromResource(platform::Resources& resources, FilterList& strings, std::wstring_view resName);
// What a list takes from a reply: at most this many lines, each at most this long.
inline constexpr int kMaxReplyLines = 10000;
inline constexpr std::size_t kMaxReplyLineLength = 260;
// Adds the texts of the array `member` of the object `json` that `strings` lacks; a missing
// member or one that is not an array changes nothing. A line that would match nearly every
// entry is not taken: one shorter than 3 characters once trimmed, or one made only of
// separators, blanks and wildcards; nor is one longer than kMaxReplyLineLength, or any after
// kMaxReplyLines taken.
void MergeJSONArray(FilterList& strings, const nlohmann::json& json, std::string_view member);
// Whether an item of `strings` matches `text`: in file mode "name*" matches the file name,
// any other item a fragment of the path; in name mode an item matches as a prefix. Items are
// trimmed and one leading folder token expanded; empty items and "//" comments never match.
bool IsListed(const FilterList& strings, const FolderTokens& folderTokens, std::wstring_view text, bool fileMode);
// The item that makes IsListed true, as the list holds it, or null.
const std::wstring* ListedBy(const FilterList& strings, const FolderTokens& folderTokens, std::wstring_view text,
                             bool fileMode);
