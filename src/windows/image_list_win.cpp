#include "windows/image_list_win.h"

#include <utility>

namespace platform {

Win32ImageList::Win32ImageList(int width, int height)
    : list_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 16, 16)) {}

bool Win32ImageList::AddIcon(std::wstring_view, IconHandle icon) { return Put(-1, reinterpret_cast<HICON>(icon)); }

bool Win32ImageList::ReplaceIcon(int index, IconHandle icon) {
  return index >= 0 && index < Count() && Put(index, reinterpret_cast<HICON>(icon));
}

void Win32ImageList::Rescale(int width, int height) {
  OwnedImageList old(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 16, 16));
  std::swap(old, list_);
  if (!old) return;
  for (int i = 0; i < ImageList_GetImageCount(old.get()); ++i) {
    const OwnedIcon icon(ImageList_GetIcon(old.get(), i, ILD_NORMAL));
    Put(-1, icon.get());
  }
}

bool Win32ImageList::Put(int index, HICON hicon) {
  int width = 0, height = 0;
  if (!list_ || !ImageList_GetIconSize(list_.get(), &width, &height)) return false;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const GdiObject<HBITMAP> color(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const GdiObject<HBITMAP> mask(CreateBitmap(width, height, 1, 1, nullptr));
  const MemoryDc dc(CreateCompatibleDC(nullptr));
  if (!color || !mask || !dc) return false;
  const int y = (height - width) / 2;
  const HGDIOBJ old = SelectObject(dc.get(), color.get());
  DrawIconEx(dc.get(), 0, y, hicon, width, width, 0, nullptr, DI_NORMAL);
  SelectObject(dc.get(), mask.get());
  PatBlt(dc.get(), 0, 0, width, height, WHITENESS); // transparent outside the icon
  DrawIconEx(dc.get(), 0, y, hicon, width, width, 0, nullptr, DI_MASK);
  SelectObject(dc.get(), old);
  return index < 0 ? ImageList_Add(list_.get(), color.get(), mask.get()) >= 0
                   : ImageList_Replace(list_.get(), index, color.get(), mask.get()) != FALSE;
}

int Win32ImageList::Count() const { return list_ ? ImageList_GetImageCount(list_.get()) : 0; }

} // namespace platform
