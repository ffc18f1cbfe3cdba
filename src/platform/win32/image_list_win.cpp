#include "platform/win32/image_list_win.h"

namespace platform {

Win32ImageList::Win32ImageList(int width, int height)
    : list_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 16, 16)) {}

bool Win32ImageList::AddIcon(std::wstring_view, IconHandle icon) {
  return list_ && ImageList_ReplaceIcon(list_.get(), -1, reinterpret_cast<HICON>(icon)) >= 0;
}

int Win32ImageList::Count() const { return list_ ? ImageList_GetImageCount(list_.get()) : 0; }

} // namespace platform
