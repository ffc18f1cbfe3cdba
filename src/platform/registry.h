#pragma once
// The registry as the Win32 Reg* functions offer it: handles, status codes, raw value bytes.
// The rules built on it (access-mask fallbacks, size-then-data reads, subtree deletion) live
// above this seam, in TReg.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_constants.h"

namespace platform {

using HKey = std::uintptr_t; // an HKEY: a predefined root or a key the seam opened

// Predefined root handles carry Windows' values, sign-extended as HKEY does it.
constexpr HKey PredefinedKey(std::uint32_t value) {
  return static_cast<HKey>(static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
}
inline constexpr HKey kNoRootKey = 0;
inline constexpr HKey kClassesRoot = PredefinedKey(0x80000000);
inline constexpr HKey kCurrentUser = PredefinedKey(0x80000001);
inline constexpr HKey kLocalMachine = PredefinedKey(0x80000002);
inline constexpr HKey kUsers = PredefinedKey(0x80000003);
inline constexpr HKey kPerformanceData = PredefinedKey(0x80000004);
inline constexpr HKey kCurrentConfig = PredefinedKey(0x80000005);
inline constexpr HKey kDynData = PredefinedKey(0x80000006);

class Registry {
 public:
  virtual ~Registry() = default;

  // RegOpenKeyExW.
  virtual win::Error OpenKey(HKey key, std::wstring_view subKey, std::uint32_t access, HKey& result) = 0;
  // RegCreateKeyExW: non-volatile, no class, default security; creates every missing key.
  virtual win::Error CreateKey(HKey key, std::wstring_view subKey, std::uint32_t access, HKey& result) = 0;
  // RegCloseKey.
  virtual win::Error CloseKey(HKey key) = 0;
  // RegQueryValueExW: `type` and `size` may be null. With `data` null only type and size are
  // given; with `*size` too small the result is ERROR_MORE_DATA and `*size` the size needed.
  virtual win::Error ReadValue(HKey key, std::wstring_view name, std::uint32_t* type, std::byte* data,
                               std::uint32_t* size) = 0;
  // RegSetValueExW.
  virtual win::Error WriteValue(HKey key, std::wstring_view name, std::uint32_t type,
                                std::span<const std::byte> data) = 0;
  // RegDeleteValueW.
  virtual win::Error DeleteValue(HKey key, std::wstring_view name) = 0;
  // RegDeleteKeyExW: `access` carries the view; a key that still has subkeys is refused.
  virtual win::Error DeleteKey(HKey key, std::wstring_view subKey, std::uint32_t access) = 0;
  // RegEnumKeyExW and RegEnumValueW, names only; ERROR_NO_MORE_ITEMS past the last index.
  virtual win::Error ReadSubKeyName(HKey key, std::uint32_t index, std::wstring& name) = 0;
  virtual win::Error ReadValueName(HKey key, std::uint32_t index, std::wstring& name) = 0;
  // RegEnumValueW with the value's type and data: one call into `buffer`, which is grown and the
  // call made again only for a value larger than it, and never shrunk, so that one buffer serves
  // a whole enumeration; the data is its first `size` bytes. ERROR_NO_MORE_ITEMS past the last
  // index. Growing it may throw std::bad_alloc.
  virtual win::Error ReadValueAt(HKey key, std::uint32_t index, std::wstring& name, std::uint32_t& type,
                                 std::vector<std::byte>& buffer, std::uint32_t& size) = 0;
  // RegQueryInfoKeyW, the number of subkeys only.
  virtual win::Error CountSubKeys(HKey key, std::uint32_t& subKeys) = 0;
};

} // namespace platform
