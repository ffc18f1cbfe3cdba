#pragma once
// The filter lists: sorted texts compared without regard to case by the user's locale, loaded
// from the program's resources, merged from the server's reply, and matched against entries.
#include <cstddef>
#include <functional>
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
  // Where an item came from: the program's own lists, or a server's reply, whose file lines may
  // hide only the files they name.
  enum class Origin { BuiltIn, Reply };

  explicit FilterList(platform::Locale& locale) : locale_(locale) {}

  int Count() const { return static_cast<int>(items_.size()); }
  const std::wstring& operator[](int index) const { return items_[index]; }
  Origin OriginOf(int index) const { return origins_[index]; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  // The index of the item equal to `text`, or -1.
  int IndexOf(std::wstring_view text) const;
  // False when an equal item was there already; that item keeps its origin.
  bool Add(std::wstring_view text, Origin origin = Origin::BuiltIn);
  void Clear() {
    items_.clear();
    origins_.clear();
    prepared_.reset();
  }
  platform::Locale& Locale() const { return locale_; }

  // The text as matching compares it, case folded: printable ASCII by ASCII's rules, which the
  // locale's agree with there, any other text by the locale's upper case.
  std::wstring Fold(std::wstring_view text) const;
  // Folded texts, found also by a view of a longer one.
  struct FoldHash {
    using is_transparent = void;
    std::size_t operator()(std::wstring_view text) const { return std::hash<std::wstring_view>{}(text); }
  };
  using FoldedIndex = std::unordered_map<std::wstring, int, FoldHash, std::equal_to<>>;

  // The items as matching reads them, made once after each change and kept: trimmed, a leading
  // folder token expanded, empty items and comments left out, each folded once, so that a text
  // is matched by one lookup per length or per place in it, however many items there are.
  struct Prepared {
    const FolderTokens* folderTokens = nullptr;
    // Each entry folded, with the index of the item it was made from. Name mode: every entry,
    // by its length.
    std::map<std::size_t, FoldedIndex> prefixes;
    // File mode: the "name*" entries by the name in ASCII upper case; the reply's other entries,
    // which name a path's last components; the built-in ones, fragments found anywhere.
    FoldedIndex fileNames;
    FoldedIndex pathEnds;
    std::vector<std::pair<std::wstring, int>> fragments;
  };
  const Prepared& Prepare(const FolderTokens& folderTokens) const;

 private:
  platform::Locale& locale_;
  std::vector<std::wstring> items_;
  std::vector<Origin> origins_; // of each item
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
// Whether an item of `strings` matches `text`: in file mode "name*" matches the file name, ASCII
// case ignored; a built-in item a fragment anywhere in the path; a reply's item only the path's
// end from the start of a component, its separator ("\" or "/") included or not, so that it
// names the file itself. In name mode an item matches as a prefix. Case is ignored as
// FilterList::Fold folds it. Items are trimmed and one leading folder token expanded; empty
// items and "//" comments never match.
bool IsListed(const FilterList& strings, const FolderTokens& folderTokens, std::wstring_view text, bool fileMode);
// The index of the item that makes IsListed true, or -1.
int ListedBy(const FilterList& strings, const FolderTokens& folderTokens, std::wstring_view text, bool fileMode);
