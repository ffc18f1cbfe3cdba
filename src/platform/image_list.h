#pragma once
// The images of a list: icons are appended and taken by index.
#include <string_view>

#include "platform/file_info.h"

namespace platform {

class ImageList {
 public:
  virtual ~ImageList() = default;
  // Appends a copy of `icon`, known by `name`; false when it cannot be added.
  virtual bool AddIcon(std::wstring_view name, IconHandle icon) = 0;
  virtual int Count() const = 0;
};

} // namespace platform
