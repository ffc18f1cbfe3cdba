#pragma once
// Images in memory: the names of the icons added, in order.
#include <string>
#include <vector>

#include "platform/image_list.h"

namespace platform {

class FakeImageList final : public ImageList {
 public:
  std::vector<std::wstring> Names;
  bool Full = false; // adding fails
  bool AddIcon(std::wstring_view name, IconHandle) override {
    if (Full) return false;
    Names.emplace_back(name);
    return true;
  }
  int Count() const override { return static_cast<int>(Names.size()); }
};

} // namespace platform
