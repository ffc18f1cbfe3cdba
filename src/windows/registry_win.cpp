#include "windows/registry_win.h"

#include <windows.h>

#include <algorithm>

namespace platform {
namespace {

HKEY Native(HKey key) { return reinterpret_cast<HKEY>(key); }
// The seam's views are not NUL-terminated; the Reg* functions want them so.
std::wstring Z(std::wstring_view text) { return std::wstring(text); }

// Names are at most 255 characters for keys and 16,383 for values, plus the NUL.
constexpr DWORD kKeyNameBuffer = 256;
constexpr DWORD kValueNameBuffer = 16384;

} // namespace

win::Error Win32Registry::OpenKey(HKey key, std::wstring_view subKey, std::uint32_t access, HKey& result) {
  HKEY opened = nullptr;
  const LSTATUS status = RegOpenKeyExW(Native(key), Z(subKey).c_str(), 0, access, &opened);
  if (status == ERROR_SUCCESS) result = reinterpret_cast<HKey>(opened);
  return static_cast<win::Error>(status);
}

win::Error Win32Registry::CreateKey(HKey key, std::wstring_view subKey, std::uint32_t access, HKey& result) {
  HKEY opened = nullptr;
  const LSTATUS status = RegCreateKeyExW(Native(key), Z(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                         nullptr, &opened, nullptr);
  if (status == ERROR_SUCCESS) result = reinterpret_cast<HKey>(opened);
  return static_cast<win::Error>(status);
}

win::Error Win32Registry::CloseKey(HKey key) { return static_cast<win::Error>(RegCloseKey(Native(key))); }

win::Error Win32Registry::ReadValue(HKey key, std::wstring_view name, std::uint32_t* type, std::byte* data,
                                    std::uint32_t* size) {
  DWORD nativeType = 0;
  DWORD nativeSize = size ? *size : 0;
  const LSTATUS status = RegQueryValueExW(Native(key), Z(name).c_str(), nullptr, type ? &nativeType : nullptr,
                                          reinterpret_cast<BYTE*>(data), size ? &nativeSize : nullptr);
  if (type && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)) *type = nativeType;
  if (size && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)) *size = nativeSize;
  return static_cast<win::Error>(status);
}

win::Error Win32Registry::WriteValue(HKey key, std::wstring_view name, std::uint32_t type,
                                     std::span<const std::byte> data) {
  return static_cast<win::Error>(RegSetValueExW(Native(key), Z(name).c_str(), 0, type,
                                                reinterpret_cast<const BYTE*>(data.data()),
                                                static_cast<DWORD>(data.size())));
}

win::Error Win32Registry::DeleteValue(HKey key, std::wstring_view name) {
  return static_cast<win::Error>(RegDeleteValueW(Native(key), Z(name).c_str()));
}

win::Error Win32Registry::DeleteKey(HKey key, std::wstring_view subKey, std::uint32_t access) {
  return static_cast<win::Error>(RegDeleteKeyExW(Native(key), Z(subKey).c_str(), access, 0));
}

win::Error Win32Registry::ReadSubKeyName(HKey key, std::uint32_t index, std::wstring& name) {
  wchar_t buffer[kKeyNameBuffer];
  DWORD length = kKeyNameBuffer;
  const LSTATUS status = RegEnumKeyExW(Native(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) name.assign(buffer, length);
  return static_cast<win::Error>(status);
}

win::Error Win32Registry::ReadValueName(HKey key, std::uint32_t index, std::wstring& name) {
  wchar_t buffer[kValueNameBuffer];
  DWORD length = kValueNameBuffer;
  const LSTATUS status = RegEnumValueW(Native(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) name.assign(buffer, length);
  return static_cast<win::Error>(status);
}

win::Error Win32Registry::ReadValueAt(HKey key, std::uint32_t index, std::wstring& name, std::uint32_t& type,
                                      std::vector<std::byte>& buffer, std::uint32_t& size) {
  wchar_t text[kValueNameBuffer];
  if (buffer.size() < 512) buffer.resize(512);
  for (;;) {
    DWORD length = kValueNameBuffer, valueType = 0;
    DWORD bytes = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), MAXDWORD));
    const LSTATUS status = RegEnumValueW(Native(key), index, text, &length, nullptr, &valueType,
                                         reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    if (status == ERROR_MORE_DATA) { // the size it needs, or more room where it tells none
      buffer.resize(std::max<std::size_t>(bytes, buffer.size() * 2));
      continue;
    }
    if (status != ERROR_SUCCESS) return static_cast<win::Error>(status);
    name.assign(text, length);
    type = valueType;
    size = bytes;
    return ERROR_SUCCESS;
  }
}

win::Error Win32Registry::CountSubKeys(HKey key, std::uint32_t& subKeys) {
  DWORD count = 0;
  const LSTATUS status = RegQueryInfoKeyW(Native(key), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                                          nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) subKeys = count;
  return static_cast<win::Error>(status);
}

} // namespace platform
