#pragma once
// The rows of the autorun list, without the window: which catalogue entries get a row, with
// which name and image, and how the rows follow the catalogue from one load to the next.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "autorun/catalogue.h"
#include "platform/file_info.h"
#include "platform/files.h"
#include "platform/image_list.h"
#include "ui/filter_list.h"
#include "ui/icon_cache.h"

struct TAutorunItem {
  std::wstring FileName; // the name shown (a product or entry name, not a file name)
  std::wstring Target;
  std::wstring From;
  int Icon = 0;
  bool Enabled = false;
  std::uint64_t SwitchedAt = 0; // the entry's, as the catalogue last read it
  // The program file of a Run-key or Startup-folder row; empty for the other sources.
  std::wstring File;
  // A row whose product name and icon are read from `File` when it is first shown; until then
  // it shows its caption and the blank page.
  bool Pending = false;
};

// The images every list holds before the icons of files: 0 no icon, 1 no icon location,
// 2 scheduled task, 3 service.
inline constexpr int kImageNoIcon = 0;
inline constexpr int kImageDefault = 1;
inline constexpr int kImageTask = 2;
inline constexpr int kImageService = 3;

// Whether a catalogue entry gets a row, and if not, why.
struct Visibility {
  enum class Reason { Shown, NoCaption, Disabled, FileWhite, NameWhite };
  Reason reason = Reason::Shown;
  // FileWhite, NameWhite: the list's item that matched, and where it came from.
  const std::wstring* line = nullptr;
  FilterList::Origin origin = FilterList::Origin::BuiltIn;
};

// Whether a white list hides `entry` whatever else holds (FileWhite or NameWhite, with the line),
// or Shown: a Startup file is matched by its path against `fileWhite`, any other entry by its name
// against `nameWhite`.
Visibility WhiteListed(const TAutorunInfo& entry, const FilterList& fileWhite, const FilterList& nameWhite,
                       const FolderTokens& folderTokens);

class TAutorunModel {
 public:
  TAutorunModel(AutorunCatalogue& catalogue, platform::FileSystem& files, platform::FileInfo& fileInfo,
                platform::ImageList& images, const FolderTokens& folderTokens, const FilterList& fileWhite,
                const FilterList& nameWhite)
      : catalogue_(catalogue),
        files_(files),
        fileInfo_(fileInfo),
        images_(images),
        folderTokens_(folderTokens),
        fileWhite_(fileWhite),
        nameWhite_(nameWhite) {}

  // Reads the catalogue again and reconciles the rows with it: existing rows take the new
  // state, new entries that pass the filters are appended, rows whose entry is gone are
  // deleted. Disabled entries get a row only with `allPrograms`. Nothing of the entries' files
  // is read here: see Resolve.
  void LoadAutorun(bool allPrograms);
  // The row at `index` as it is shown: a pending row first gets its product name and icon. Each
  // file's product name and each icon location are read once per run; a failed extraction is
  // tried again for the next row that needs it.
  const TAutorunItem& Resolve(std::size_t index);
  // Every row as it is shown, for those who print them all.
  void ResolveAll();
  // Whether a load gives `entry` a row of its own, disabled entries counted with `allPrograms`.
  Visibility VisibilityOf(const TAutorunInfo& entry, bool allPrograms) const;
  // Removes every row, so that the next load builds the list afresh.
  void Clear() { rows_.clear(); }

  const std::vector<TAutorunItem>& Rows() const { return rows_; }
  // The row of the entry with this tag and target, ASCII case ignored, or -1.
  int RowOf(std::wstring_view from, std::wstring_view target) const;
  // The whole catalogue of the last load, entries without a row included.
  const AutorunList& ListAutoObj() const { return listAutoObj_; }

 private:
  // The row of a shown entry, pending when it shows a file's name and icon.
  static TAutorunItem MakeRow(const TAutorunInfo& entry);

  AutorunCatalogue& catalogue_;
  platform::FileSystem& files_;
  platform::FileInfo& fileInfo_;
  platform::ImageList& images_;
  const FolderTokens& folderTokens_;
  const FilterList& fileWhite_;
  const FilterList& nameWhite_;
  AutorunList listAutoObj_;
  IconCache listIconObj_;                             // grows for the whole run: each icon location is read once
  std::map<std::wstring, std::wstring> productNames_; // file -> product name, read once per run
  std::vector<TAutorunItem> rows_;
};

// The address of an entry's page: the information site's origin, "/entry/", then the tag, "/"
// and the file name part of the target, each lower-cased in ASCII and percent-encoded.
std::wstring EntryAddress(std::wstring_view infoSite, std::wstring_view from, std::wstring_view target);
