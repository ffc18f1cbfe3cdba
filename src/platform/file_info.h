#pragma once
// What the system tells of a program file: its version resource and its icons.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace platform {

using IconHandle = std::uintptr_t; // an HICON; 0 is none

class FileInfo {
 public:
  virtual ~FileInfo() = default;

  // GetFileVersionInfoSizeW: 0 when the file has no version resource.
  virtual std::uint32_t GetFileVersionInfoSizeW(std::wstring_view file) = 0;
  // GetFileVersionInfoW into `block`, sized as the call above said.
  virtual bool GetFileVersionInfoW(std::wstring_view file, std::span<std::byte> block) = 0;
  // VerQueryValueW of "\VarFileInfo\Translation": the first language and code page.
  virtual bool VerQueryTranslation(std::span<const std::byte> block, std::uint16_t& language,
                                   std::uint16_t& codePage) = 0;
  // VerQueryValueW of a string below "\StringFileInfo\": its text up to the NUL.
  virtual bool VerQueryString(std::span<const std::byte> block, std::wstring_view subBlock, std::wstring& text) = 0;

  // ExtractAssociatedIconW: the icon `index` of `path`, or of the program associated with it.
  virtual IconHandle ExtractAssociatedIconW(std::wstring_view path, std::uint16_t index) = 0;
  virtual void DestroyIcon(IconHandle icon) = 0;
};

// The images of a list: icons are appended and taken by index.
class ImageList {
 public:
  virtual ~ImageList() = default;
  // Appends a copy of `icon`, known by `name`; false when it cannot be added.
  virtual bool AddIcon(std::wstring_view name, IconHandle icon) = 0;
  virtual int Count() const = 0;
};

} // namespace platform
