#pragma once
#include <windows.h>

#include "platform/file_info.h"
#include "windows/system_dll.h"

namespace platform {

// Version resources through version.dll, loaded from System32; icons through shell32.
class Win32FileInfo final : public FileInfo {
 public:
  Win32FileInfo();

  std::uint32_t ReadVersionSize(std::wstring_view file) override;
  bool ReadVersion(std::wstring_view file, std::span<std::byte> block) override;
  bool ReadTranslation(std::span<const std::byte> block, std::uint16_t& language, std::uint16_t& codePage) override;
  bool ReadFileVersion(std::span<const std::byte> block, std::uint64_t& version) override;
  bool ReadVersionString(std::span<const std::byte> block, std::wstring_view subBlock, std::wstring& text) override;
  IconHandle ReadIcon(std::wstring_view path, std::uint16_t index) override;
  void CloseIcon(IconHandle icon) override;

 private:
  bool QueryValue(std::span<const std::byte> block, const wchar_t* subBlock, void*& value, UINT& length) const;

  SystemDll version_{L"version.dll"};
  DWORD(WINAPI* getSize_)(LPCWSTR, LPDWORD) = nullptr;
  BOOL(WINAPI* getInfo_)(LPCWSTR, DWORD, DWORD, LPVOID) = nullptr;
  BOOL(WINAPI* queryValue_)(LPCVOID, LPCWSTR, LPVOID*, PUINT) = nullptr;
};

} // namespace platform
