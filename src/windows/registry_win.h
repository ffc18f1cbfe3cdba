#pragma once
#include "platform/registry.h"

namespace platform {

// The registry through advapi32.
class Win32Registry final : public Registry {
 public:
  win::Error OpenKey(HKey key, std::wstring_view subKey, std::uint32_t access, HKey& result) override;
  win::Error CreateKey(HKey key, std::wstring_view subKey, std::uint32_t access, HKey& result) override;
  win::Error CloseKey(HKey key) override;
  win::Error ReadValue(HKey key, std::wstring_view name, std::uint32_t* type, std::byte* data,
                       std::uint32_t* size) override;
  win::Error WriteValue(HKey key, std::wstring_view name, std::uint32_t type, std::span<const std::byte> data) override;
  win::Error DeleteValue(HKey key, std::wstring_view name) override;
  win::Error DeleteKey(HKey key, std::wstring_view subKey, std::uint32_t access) override;
  win::Error ReadSubKeyName(HKey key, std::uint32_t index, std::wstring& name) override;
  win::Error ReadValueName(HKey key, std::uint32_t index, std::wstring& name) override;
  win::Error ReadValueAt(HKey key, std::uint32_t index, std::wstring& name, std::uint32_t& type,
                         std::vector<std::byte>& buffer, std::uint32_t& size) override;
  win::Error CountSubKeys(HKey key, std::uint32_t& subKeys) override;
};

} // namespace platform
