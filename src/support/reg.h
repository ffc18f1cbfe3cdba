#pragma once
// TReg: the one door to the registry. Every member is one whole operation (open, act, close)
// on RootKey\Key in the 64-bit view, and none lets a failure escape: reads give the default or
// an empty result, writes and deletes that fail leave things as they were.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "support/unique_resource.h"

using platform::HKey;

struct RegKeyCloser {
  platform::Registry* registry;
  void operator()(HKey key) const { registry->CloseKey(key); }
};
using RegKey = UniqueResource<HKey, RegKeyCloser>; // a key the registry seam opened

// A value as an enumeration gives it.
struct RegValue {
  std::wstring name;
  std::uint32_t type = 0;
  std::vector<std::byte> data;
};

// What the reads give for a value of `type` holding `data`: ReadString's text (`value` when it
// is no string) and ReadBinary's bytes.
std::wstring RegString(std::uint32_t type, std::span<const std::byte> data, std::wstring_view value);
std::vector<std::byte> RegBinary(std::uint32_t type, std::span<const std::byte> data);

// One key opened for reading (the three read masks tried in turn, 64-bit view) and read many
// times: what TReg's reads do, without an open and a close per value.
class RegReader {
 public:
  RegReader(platform::Registry& registry, HKey rootKey, std::wstring_view key);

  explicit operator bool() const { return static_cast<bool>(key_); }
  // Each read gives what the TReg read of the same name gives, the default when the key
  // could not be opened.
  std::vector<std::byte> ReadBinary(std::wstring_view name) const;
  std::int32_t ReadInteger(std::wstring_view name, std::int32_t value) const;
  std::wstring ReadString(std::wstring_view name, std::wstring_view value) const;
  std::int32_t ReadKeyNames(std::vector<std::wstring>& keyNames) const;
  std::int32_t ReadValueNames(std::vector<std::wstring>& valueNames) const;
  // Every value with its type and data, in the registry's order, one enumeration call each
  // (and one more past the last); the enumeration's first failure ends it. A value too large
  // to allocate is left out, and the others are still read.
  std::int32_t ReadValues(std::vector<RegValue>& values) const;

 private:
  std::int32_t ReadNames(std::vector<std::wstring>& names,
                         win::Error (platform::Registry::*read)(HKey, std::uint32_t, std::wstring&)) const;

  platform::Registry& registry_;
  RegKey key_;
};

class TReg {
 public:
  explicit TReg(platform::Registry& registry) : registry_(registry) {}

  bool IsKey(HKey rootKey, std::wstring_view key) const;
  std::vector<std::byte> ReadBinary(HKey rootKey, std::wstring_view key, std::wstring_view name) const;
  bool ReadBool(HKey rootKey, std::wstring_view key, std::wstring_view name, bool value) const;
  std::int32_t ReadInteger(HKey rootKey, std::wstring_view key, std::wstring_view name, std::int32_t value) const;
  std::wstring ReadString(HKey rootKey, std::wstring_view key, std::wstring_view name, std::wstring_view value) const;
  std::int32_t ReadKeyNames(HKey rootKey, std::wstring_view key, std::vector<std::wstring>& keyNames) const;
  std::int32_t ReadValueNames(HKey rootKey, std::wstring_view key, std::vector<std::wstring>& valueNames) const;

  // Splits a registry location text "Root\Key path\Name". False when it has fewer than three
  // parts; an unknown root name still parses, with rootKey 0.
  static bool Parse(std::wstring_view text, HKey& rootKey, std::wstring& key, std::wstring& name);

  void WriteBinary(HKey rootKey, std::wstring_view key, std::wstring_view name, std::span<const std::byte> value) const;
  void WriteInteger(HKey rootKey, std::wstring_view key, std::wstring_view name, std::int32_t value) const;
  void WriteString(HKey rootKey, std::wstring_view key, std::wstring_view name, std::wstring_view value) const;
  // Deletes the subkey `name` of RootKey\Key with its whole subtree.
  void DeleteKey(HKey rootKey, std::wstring_view key, std::wstring_view name) const;
  void DeleteValue(HKey rootKey, std::wstring_view key, std::wstring_view name) const;
  // Deletes what a registry location text names: the subkey tree when such a key exists,
  // else the value.
  void Delete(std::wstring_view text) const;
  // The same for a location already split; an empty name is the unnamed value, never the key.
  void Delete(HKey rootKey, std::wstring_view key, std::wstring_view name) const;

 private:
  platform::Registry& registry_;
};

// "HKLM" style when `Short` and the root has an abbreviation, else "HKEY_LOCAL_MACHINE" style;
// an unknown handle gives "".
std::wstring RootKeyToStr(HKey rootKey, bool Short);
// A full or abbreviated root name, ASCII case ignored; anything else gives 0.
HKey StrToRootKey(std::wstring_view text);
