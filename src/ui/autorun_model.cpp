#include "ui/autorun_model.h"

#include <cstdint>
#include <unordered_map>

#include "support/text.h"
#include "support/utf8.h"
#include "support/version_info.h"

namespace {

// A row's or an entry's tag and target, viewed where they are stored.
struct Key {
  std::wstring_view from;
  std::wstring_view target;
};

// FNV-1a over the characters, 64-bit on every target.
std::uint64_t Mix(std::uint64_t hash, std::uint64_t value) { return (hash ^ value) * 0x100000001B3ull; }

// Rows are found by tag and target with ASCII case ignored...
struct NoCaseHash {
  std::size_t operator()(const Key& key) const {
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (const wchar_t c : key.from) hash = Mix(hash, static_cast<std::uint64_t>(AsciiUpper(c)));
    hash = Mix(hash, L'|');
    for (const wchar_t c : key.target) hash = Mix(hash, static_cast<std::uint64_t>(AsciiUpper(c)));
    return static_cast<std::size_t>(hash);
  }
};
struct NoCaseEqual {
  bool operator()(const Key& a, const Key& b) const {
    return EqualsAsciiNoCase(a.from, b.from) && EqualsAsciiNoCase(a.target, b.target);
  }
};

} // namespace

Visibility TAutorunModel::VisibilityOf(const TAutorunInfo& entry, bool allPrograms) const {
  using Reason = Visibility::Reason;
  // A list hides an entry whatever "All Programs" says, so it is named first.
  if (const Visibility listed = WhiteListed(entry, fileWhite_, nameWhite_, folderTokens_); listed.line) return listed;
  if (entry.Caption.empty()) return {Reason::NoCaption};
  if (!entry.Enabled && !allPrograms) return {Reason::Disabled};
  return {};
}

Visibility WhiteListed(const TAutorunInfo& entry, const FilterList& fileWhite, const FilterList& nameWhite,
                       const FolderTokens& folderTokens) {
  const auto listed = [](Visibility::Reason reason, const FilterList& list, int item) {
    return item < 0 ? Visibility{} : Visibility{reason, &list[item], list.OriginOf(item)};
  };
  switch (SourceOfTag(entry.From)) {
    case AutorunSource::Task:
    case AutorunSource::Registry:
      return listed(Visibility::Reason::NameWhite, nameWhite,
                    ListedBy(nameWhite, folderTokens, FileNamePart(entry.Target), false));
    case AutorunSource::Service:
      return listed(Visibility::Reason::NameWhite, nameWhite, ListedBy(nameWhite, folderTokens, entry.Target, false));
    case AutorunSource::File:
      return listed(Visibility::Reason::FileWhite, fileWhite, ListedBy(fileWhite, folderTokens, entry.Target, true));
  }
  return {};
}

TAutorunItem TAutorunModel::MakeRow(const TAutorunInfo& entry) {
  TAutorunItem row{entry.Caption, entry.Target, entry.From, kImageNoIcon, entry.Enabled, entry.SwitchedAt, {}, false};
  switch (SourceOfTag(entry.From)) {
    case AutorunSource::Task:
      row.Icon = kImageTask;
      break;
    case AutorunSource::Service:
      row.Icon = kImageService;
      break;
    case AutorunSource::File:
    case AutorunSource::Registry:
      // Run keys and Startup files show their program's product name and icon once the row is shown.
      row.Pending = true;
      row.File = entry.FileName;
      break;
  }
  return row;
}

const TAutorunItem& TAutorunModel::Resolve(std::size_t index) {
  TAutorunItem& row = rows_[index];
  if (!row.Pending) return row;
  row.Pending = false;
  // Each file's version information is read once per run, as its icon is: F5 costs no reads.
  auto product = productNames_.find(row.File);
  if (product == productNames_.end()) {
    std::map<std::wstring, std::wstring> values;
    GetFileVersionStrings(files_, fileInfo_, row.File, {L"ProductName"}, values);
    product = productNames_.emplace(row.File, values[L"ProductName"]).first;
  }
  if (!product->second.empty()) row.FileName = product->second;
  row.Icon = GetFileIconIndex(files_, fileInfo_, listIconObj_, images_, row.File, kImageDefault);
  return row;
}

void TAutorunModel::ResolveAll() {
  for (std::size_t i = 0; i < rows_.size(); ++i) Resolve(i);
}

void TAutorunModel::LoadAutorun(bool allPrograms) {
  catalogue_.GetAutorunList(listAutoObj_);

  // The keys view the strings of the rows: no row may move while they are in use.
  rows_.reserve(rows_.size() + listAutoObj_.size());
  std::unordered_map<Key, std::size_t, NoCaseHash, NoCaseEqual> index; // the first row of each key
  index.reserve(rows_.capacity());
  for (std::size_t i = 0; i < rows_.size(); ++i) index.try_emplace(Key{rows_[i].From, rows_[i].Target}, i);
  // A row stays when an entry has its tag and target, ASCII case ignored: a path that changed
  // only in case is the same entry. Rows never share a key (a row is added only when none has
  // the entry's), so the entry that keeps a row is one that finds it.
  std::vector<bool> seen(rows_.size());

  for (const auto& entry : listAutoObj_) {
    if (const auto found = index.find(Key{entry->From, entry->Target}); found != index.end()) {
      TAutorunItem& row = rows_[found->second];
      row.Enabled = entry->Enabled;
      row.SwitchedAt = entry->SwitchedAt;
      seen[found->second] = true;
      continue;
    }
    if (VisibilityOf(*entry, allPrograms).reason != Visibility::Reason::Shown) continue;
    rows_.push_back(MakeRow(*entry));
    index.emplace(Key{rows_.back().From, rows_.back().Target}, rows_.size() - 1);
    seen.push_back(true);
  }

  std::size_t kept = 0;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (seen[i] && kept++ != i) rows_[kept - 1] = std::move(rows_[i]);
  }
  rows_.resize(kept);
}

int TAutorunModel::RowOf(std::wstring_view from, std::wstring_view target) const {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (NoCaseEqual{}(Key{rows_[i].From, rows_[i].Target}, Key{from, target})) return static_cast<int>(i);
  }
  return -1;
}

namespace {

// One path segment of an address (RFC 3986): ASCII letters lower-cased, and everything but
// letters, digits and "-._~" percent-encoded as UTF-8, so that no blank, quote or control
// character of a value name reaches the browser's command line.
std::wstring PathSegment(std::wstring_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::wstring segment;
  for (const unsigned char byte : Utf8FromWide(text)) {
    if ((byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
        byte == '~') {
      segment += static_cast<wchar_t>(byte);
    } else if (byte >= 'A' && byte <= 'Z') {
      segment += static_cast<wchar_t>(byte - 'A' + 'a');
    } else {
      segment += {L'%', static_cast<wchar_t>(kHex[byte >> 4]), static_cast<wchar_t>(kHex[byte & 15])};
    }
  }
  return segment;
}

} // namespace

std::wstring EntryAddress(std::wstring_view infoSite, std::wstring_view from, std::wstring_view target) {
  return std::wstring(infoSite) + L"/entry/" + PathSegment(from) + L"/" + PathSegment(FileNamePart(target));
}
