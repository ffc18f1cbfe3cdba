#pragma once
// An in-memory registry that keeps Windows' rules: names compared without regard to case,
// subkeys enumerated in upper-case name order, values in the order they were created, a key
// with subkeys not deletable, access rights checked per handle, and HKLM\Software seen through
// Wow6432Node by an open without KEY_WOW64_64KEY, as for a 32-bit process on 64-bit Windows.
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace platform {

class FakeRegistry final : public Registry {
 public:
  FakeRegistry();

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

  // Fault injection: opens of root\path (64-bit view) asking for any right outside `allowed`
  // are refused with ERROR_ACCESS_DENIED.
  void RestrictAccess(HKey root, std::wstring_view path, std::uint32_t allowed);
  // Fault injection: reading a value of this name throws std::bad_alloc, as allocating the
  // buffer for a value of a huge reported size does in a 32-bit process.
  std::wstring ThrowOnReadingValue;
  // Handles opened and not yet closed.
  std::size_t OpenHandles() const { return handles_.size(); }
  // Every access mask asked for by an open or create, in order.
  const std::vector<std::uint32_t>& RequestedAccess() const { return requested_; }

 private:
  struct Value {
    std::wstring name;
    std::uint32_t type;
    std::vector<std::byte> data;
  };
  struct Node {
    std::wstring name;
    std::map<std::wstring, std::shared_ptr<Node>> subkeys; // keyed by the upper-cased name
    std::vector<Value> values;
    std::uint32_t allowed = ~0u;
    bool deleted = false;
  };
  struct Handle {
    std::shared_ptr<Node> node;
    std::uint32_t access;
  };

  win::Error Resolve(HKey key, std::uint32_t needed, std::shared_ptr<Node>& node) const;
  win::Error Walk(HKey key, std::wstring_view subKey, std::uint32_t access, bool create, HKey& result);
  Value* FindValue(Node& node, std::wstring_view name);

  std::map<HKey, std::shared_ptr<Node>> roots_;
  std::map<HKey, Handle> handles_;
  HKey next_ = 0x1000;
  std::vector<std::uint32_t> requested_;
};

} // namespace platform
