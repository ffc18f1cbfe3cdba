#include "ui/autorun_model.h"

#include <unordered_map>
#include <unordered_set>

#include "support/text.h"

namespace {

// Rows are found by tag and target with ASCII case ignored.
std::wstring RowKey(std::wstring_view from, std::wstring_view target) {
  return AsciiUpperCase(from) + L'|' + AsciiUpperCase(target);
}

} // namespace

bool TAutorunModel::MakeRow(const TAutorunInfo& entry, TAutorunItem& row) {
  row = TAutorunItem{entry.Caption, entry.Target, entry.From, 0, entry.Enabled};
  switch (SourceOfTag(entry.From)) {
    case TAutorunSource::Task:
      row.Icon = kImageTask;
      return !IsListed(nameWhite_, folderTokens_, FileNamePart(entry.Target), false);
    case TAutorunSource::Service:
      row.Icon = kImageService;
      return !IsListed(nameWhite_, folderTokens_, entry.Target, false);
    case TAutorunSource::File:
      if (IsListed(fileWhite_, folderTokens_, entry.Target, true)) return false;
      break;
    case TAutorunSource::Registry:
      if (IsListed(nameWhite_, folderTokens_, FileNamePart(entry.Target), false)) return false;
      break;
  }
  // Run keys and Startup files show their program's product name and icon.
  std::map<std::wstring, std::wstring> values;
  GetFileVersionStrings(files_, fileInfo_, entry.FileName, {L"ProductName"}, values);
  if (const auto product = values.find(L"ProductName"); product != values.end() && !product->second.empty()) {
    row.FileName = product->second;
  }
  row.Icon = GetFileIconIndex(files_, fileInfo_, listIconObj_, images_, entry.FileName, kImageDefault);
  return true;
}

void TAutorunModel::LoadAutorun(bool allPrograms) {
  catalogue_.GetAutorunList(listAutoObj_);

  std::unordered_map<std::wstring, std::size_t> index; // the first row of each key
  index.reserve(rows_.size() + listAutoObj_.size());
  for (std::size_t i = 0; i < rows_.size(); ++i) index.try_emplace(RowKey(rows_[i].From, rows_[i].Target), i);
  std::unordered_set<std::wstring> seen; // tag and target as they are, case included
  seen.reserve(listAutoObj_.size());

  for (const auto& entry : listAutoObj_) {
    seen.insert(entry->From + L'|' + entry->Target);
    const std::wstring key = RowKey(entry->From, entry->Target);
    if (const auto row = index.find(key); row != index.end()) {
      rows_[row->second].Enabled = entry->Enabled;
      continue;
    }
    if (entry->Caption.empty() || (!entry->Enabled && !allPrograms)) continue;
    TAutorunItem row;
    if (!MakeRow(*entry, row)) continue;
    index.emplace(key, rows_.size());
    rows_.push_back(std::move(row));
  }

  std::erase_if(rows_, [&](const TAutorunItem& row) { return !seen.contains(row.From + L'|' + row.Target); });
}
