#pragma once
// Owners of the GDI and user-interface handles the window code makes, each freed by the call
// that matches how it was made.
#include <windows.h>

#include <commctrl.h>

#include "support/unique_resource.h"

namespace platform {

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
// A font, bitmap or brush.
template <typename T>
using GdiObject = UniqueResource<T, GdiObjectDeleter, nullptr>;
using FontHandle = GdiObject<HFONT>;

struct DcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDc = UniqueResource<HDC, DcDeleter, nullptr>; // from CreateCompatibleDC

struct IconDestroyer {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using OwnedIcon = UniqueResource<HICON, IconDestroyer, nullptr>;

struct ImageListDestroyer {
  void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};
using OwnedImageList = UniqueResource<HIMAGELIST, ImageListDestroyer, nullptr>;

struct MenuDestroyer {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using OwnedMenu = UniqueResource<HMENU, MenuDestroyer, nullptr>;

} // namespace platform
