#pragma once
#include <windows.h>

#include <commctrl.h>

#include "platform/image_list.h"
#include "windows/gdi_win.h"

namespace platform {

// A common-controls image list of small icons, which the list view draws from. Each icon is drawn
// square, as wide as a cell, in the middle of a cell that may be taller (a list's rows take their
// height from it).
class Win32ImageList final : public ImageList {
 public:
  Win32ImageList(int width, int height);

  bool AddIcon(std::wstring_view name, IconHandle icon) override;
  int Count() const override;
  HIMAGELIST Handle() const { return list_.get(); }
  // Puts `icon` in the place of the image `index`.
  bool ReplaceIcon(int index, IconHandle icon);
  // Makes the cells `width` x `height` (a new DPI), every image kept at its index.
  void Rescale(int width, int height);

 private:
  // Draws `icon` square and centred into a cell and adds it (index -1) or replaces image `index`.
  bool Put(int index, HICON icon);

  OwnedImageList list_;
};

} // namespace platform
