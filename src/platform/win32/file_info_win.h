#pragma once
#include <windows.h>

#include <commctrl.h>

#include "platform/file_info.h"

namespace platform {

class Win32FileInfo final : public FileInfo {
 public:
  std::uint32_t GetFileVersionInfoSizeW(std::wstring_view file) override;
  bool GetFileVersionInfoW(std::wstring_view file, std::span<std::byte> block) override;
  bool VerQueryTranslation(std::span<const std::byte> block, std::uint16_t& language, std::uint16_t& codePage) override;
  bool VerQueryString(std::span<const std::byte> block, std::wstring_view subBlock, std::wstring& text) override;
  IconHandle ExtractAssociatedIconW(std::wstring_view path, std::uint16_t index) override;
  void DestroyIcon(IconHandle icon) override;
};

// A common-controls image list of small icons, which the list view draws from.
class Win32ImageList final : public ImageList {
 public:
  Win32ImageList(int width, int height);
  ~Win32ImageList() override;
  Win32ImageList(const Win32ImageList&) = delete;
  Win32ImageList& operator=(const Win32ImageList&) = delete;

  bool AddIcon(std::wstring_view name, IconHandle icon) override;
  int Count() const override;
  HIMAGELIST Handle() const { return list_; }

 private:
  HIMAGELIST list_;
};

} // namespace platform
