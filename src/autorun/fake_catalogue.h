#pragma once
// A catalogue that hands out the entries a test (or a benchmark) gives it.
#include <string>
#include <vector>

#include "autorun/catalogue.h"

class FakeCatalogue final : public AutorunCatalogue {
 public:
  std::vector<TAutorunInfo> Entries;
  std::size_t Reads = 0;

  TAutorunInfo& Add(std::wstring from, std::wstring caption, std::wstring target, bool enabled = true,
                    std::wstring fileName = L"") {
    Entries.push_back(
        TAutorunInfo{std::move(fileName), std::move(caption), L"", std::move(target), std::move(from), enabled});
    return Entries.back();
  }
  void GetAutorunList(AutorunList& list) override {
    ++Reads;
    list.clear();
    for (const TAutorunInfo& entry : Entries) list.push_back(std::make_unique<TAutorunInfo>(entry));
  }
  void SetAutorunEnabled(std::wstring_view target, std::wstring_view from, bool enabled) override {
    for (TAutorunInfo& entry : Entries) {
      if (entry.Target == target && SourceOfTag(entry.From) == SourceOfTag(from)) entry.Enabled = enabled;
    }
  }
};
