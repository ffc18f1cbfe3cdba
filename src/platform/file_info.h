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

  // The size of the file's version resource (GetFileVersionInfoSizeW); 0 when it has none.
  virtual std::uint32_t ReadVersionSize(std::wstring_view file) = 0;
  // The version resource into `block`, sized as ReadVersionSize said (GetFileVersionInfoW).
  virtual bool ReadVersion(std::wstring_view file, std::span<std::byte> block) = 0;
  // The first language and code page of "\VarFileInfo\Translation" (VerQueryValueW).
  virtual bool ReadTranslation(std::span<const std::byte> block, std::uint16_t& language, std::uint16_t& codePage) = 0;
  // The file version of the fixed block ("\"): its most significant double word in the upper
  // half (VerQueryValueW).
  virtual bool ReadFileVersion(std::span<const std::byte> block, std::uint64_t& version) = 0;
  // A string below "\StringFileInfo\": its text up to the NUL (VerQueryValueW).
  virtual bool ReadVersionString(std::span<const std::byte> block, std::wstring_view subBlock, std::wstring& text) = 0;

  // The icon `index` of `path`, or of the program associated with it (ExtractAssociatedIconW);
  // 0 when there is none. The caller closes it.
  virtual IconHandle ReadIcon(std::wstring_view path, std::uint16_t index) = 0;
  virtual void CloseIcon(IconHandle icon) = 0;
};

} // namespace platform
