#include "platform/win32/file_info_win.h"

#include <windows.h>

#include <shellapi.h>

namespace platform {

std::uint32_t Win32FileInfo::GetFileVersionInfoSizeW(std::wstring_view file) {
  DWORD handle = 0;
  return ::GetFileVersionInfoSizeW(std::wstring(file).c_str(), &handle);
}

bool Win32FileInfo::GetFileVersionInfoW(std::wstring_view file, std::span<std::byte> block) {
  return ::GetFileVersionInfoW(std::wstring(file).c_str(), 0, static_cast<DWORD>(block.size()), block.data()) != FALSE;
}

bool Win32FileInfo::VerQueryTranslation(std::span<const std::byte> block, std::uint16_t& language,
                                        std::uint16_t& codePage) {
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation\\", &value, &length) || length < 4) return false;
  const auto* words = static_cast<const WORD*>(value);
  language = words[0];
  codePage = words[1];
  return true;
}

bool Win32FileInfo::VerQueryString(std::span<const std::byte> block, std::wstring_view subBlock, std::wstring& text) {
  void* value = nullptr;
  UINT length = 0; // in characters
  if (!VerQueryValueW(block.data(), std::wstring(subBlock).c_str(), &value, &length) || !value) return false;
  const auto* characters = static_cast<const wchar_t*>(value);
  text.assign(characters, wcsnlen(characters, length));
  return true;
}

IconHandle Win32FileInfo::ExtractAssociatedIconW(std::wstring_view path, std::uint16_t index) {
  // The call may write the associated program's path back: it gets a buffer of MAX_PATH at least.
  std::wstring buffer(path);
  if (buffer.size() < MAX_PATH) buffer.resize(MAX_PATH);
  WORD number = index;
  return reinterpret_cast<IconHandle>(::ExtractAssociatedIconW(nullptr, buffer.data(), &number));
}

void Win32FileInfo::DestroyIcon(IconHandle icon) { ::DestroyIcon(reinterpret_cast<HICON>(icon)); }

Win32ImageList::Win32ImageList(int width, int height)
    : list_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 16, 16)) {}

Win32ImageList::~Win32ImageList() {
  if (list_) ImageList_Destroy(list_);
}

bool Win32ImageList::AddIcon(std::wstring_view, IconHandle icon) {
  return list_ && ImageList_ReplaceIcon(list_, -1, reinterpret_cast<HICON>(icon)) >= 0;
}

int Win32ImageList::Count() const { return list_ ? ImageList_GetImageCount(list_) : 0; }

} // namespace platform
