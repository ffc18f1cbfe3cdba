#include "windows/file_info_win.h"

#include <shellapi.h>

#include <string>

namespace platform {

Win32FileInfo::Win32FileInfo()
    : getSize_(version_.Function<DWORD WINAPI(LPCWSTR, LPDWORD)>("GetFileVersionInfoSizeW")),
      getInfo_(version_.Function<BOOL WINAPI(LPCWSTR, DWORD, DWORD, LPVOID)>("GetFileVersionInfoW")),
      queryValue_(version_.Function<BOOL WINAPI(LPCVOID, LPCWSTR, LPVOID*, PUINT)>("VerQueryValueW")) {}

std::uint32_t Win32FileInfo::ReadVersionSize(std::wstring_view file) {
  DWORD handle = 0;
  return getSize_ ? getSize_(std::wstring(file).c_str(), &handle) : 0;
}

bool Win32FileInfo::ReadVersion(std::wstring_view file, std::span<std::byte> block) {
  return getInfo_ && getInfo_(std::wstring(file).c_str(), 0, static_cast<DWORD>(block.size()), block.data()) != FALSE;
}

bool Win32FileInfo::QueryValue(std::span<const std::byte> block, const wchar_t* subBlock, void*& value,
                               UINT& length) const {
  return queryValue_ && queryValue_(block.data(), subBlock, &value, &length) != FALSE && value;
}

bool Win32FileInfo::ReadTranslation(std::span<const std::byte> block, std::uint16_t& language,
                                    std::uint16_t& codePage) {
  void* value = nullptr;
  UINT length = 0;
  if (!QueryValue(block, L"\\VarFileInfo\\Translation\\", value, length) || length < 4) return false;
  const auto* words = static_cast<const WORD*>(value);
  language = words[0];
  codePage = words[1];
  return true;
}

bool Win32FileInfo::ReadFileVersion(std::span<const std::byte> block, std::uint64_t& version) {
  void* value = nullptr;
  UINT length = 0;
  if (!QueryValue(block, L"\\", value, length) || length < sizeof(VS_FIXEDFILEINFO)) return false;
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  version = static_cast<std::uint64_t>(fixed->dwFileVersionMS) << 32 | fixed->dwFileVersionLS;
  return true;
}

bool Win32FileInfo::ReadVersionString(std::span<const std::byte> block, std::wstring_view subBlock,
                                      std::wstring& text) {
  void* value = nullptr;
  UINT length = 0; // in characters
  if (!QueryValue(block, std::wstring(subBlock).c_str(), value, length)) return false;
  const auto* characters = static_cast<const wchar_t*>(value);
  text.assign(characters, wcsnlen(characters, length));
  return true;
}

IconHandle Win32FileInfo::ReadIcon(std::wstring_view path, std::uint16_t index) {
  // The call may write the associated program's path back: it gets a buffer of MAX_PATH at least.
  std::wstring buffer(path);
  if (buffer.size() < MAX_PATH) buffer.resize(MAX_PATH);
  WORD number = index;
  return reinterpret_cast<IconHandle>(ExtractAssociatedIconW(nullptr, buffer.data(), &number));
}

void Win32FileInfo::CloseIcon(IconHandle icon) { DestroyIcon(reinterpret_cast<HICON>(icon)); }

} // namespace platform
