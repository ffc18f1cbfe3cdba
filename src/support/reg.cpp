#include "support/reg.h"

#include <array>
#include <new>

#include "support/text.h"
#include "support/utf16.h"

namespace {

using namespace win;

constexpr std::uint32_t kReadAccess[] = {
    kKeyRead | kKeyWow64_64Key,
    kStandardRightsRead | kKeyQueryValue | kKeyEnumerateSubKeys | kKeyWow64_64Key,
    kKeyQueryValue | kKeyWow64_64Key,
};
constexpr std::uint32_t kWriteAccess = kKeyRead | kKeyWrite | kKeyWow64_64Key; // 0x2011F
constexpr std::uint32_t kIsKeyAccess = kReadAccess[1];

// Every operation starts from the root, so one leading separator names the same key.
std::wstring_view Relative(std::wstring_view key) {
  if (!key.empty() && key.front() == L'\\') key.remove_prefix(1);
  return key;
}

RegKey OpenWrite(platform::Registry& registry, HKey rootKey, std::wstring_view key) {
  HKey handle = 0;
  if (registry.CreateKey(rootKey, Relative(key), kWriteAccess, handle) != kErrorSuccess) handle = 0;
  return RegKey(handle, RegKeyCloser{&registry});
}

// The whole data of a value with its type: the size first, then the data.
win::Error QueryAll(platform::Registry& registry, HKey key, std::wstring_view name, std::uint32_t& type,
                    std::vector<std::byte>& data) {
  std::uint32_t size = 0;
  if (const auto error = registry.ReadValue(key, name, &type, nullptr, &size); error != kErrorSuccess) return error;
  data.resize(size);
  if (size == 0) return kErrorSuccess;
  // A value that grew between the two queries answers ERROR_MORE_DATA: it is not read.
  const auto error = registry.ReadValue(key, name, &type, data.data(), &size);
  data.resize(size);
  return error;
}

// Children before their parent, each key's subkeys from the highest index down.
void DeleteTree(platform::Registry& registry, HKey parent, const std::wstring& name) {
  {
    HKey handle = 0;
    if (registry.OpenKey(parent, name, kWriteAccess, handle) != kErrorSuccess) return;
    const RegKey key(handle, RegKeyCloser{&registry});
    std::uint32_t count = 0;
    if (registry.CountSubKeys(key.get(), count) == kErrorSuccess) {
      for (std::uint32_t i = count; i-- > 0;) {
        std::wstring child;
        if (registry.ReadSubKeyName(key.get(), i, child) == kErrorSuccess) DeleteTree(registry, key.get(), child);
      }
    }
  }
  registry.DeleteKey(parent, name, kKeyWow64_64Key);
}

struct RootName {
  HKey key;
  std::wstring_view full;
  std::wstring_view abbreviation;
};
constexpr std::array<RootName, 7> kRootNames = {{
    {platform::kClassesRoot, L"HKEY_CLASSES_ROOT", L"HKCR"},
    {platform::kCurrentUser, L"HKEY_CURRENT_USER", L"HKCU"},
    {platform::kLocalMachine, L"HKEY_LOCAL_MACHINE", L"HKLM"},
    {platform::kUsers, L"HKEY_USERS", L"HKU"},
    {platform::kCurrentConfig, L"HKEY_CURRENT_CONFIG", L""},
    {platform::kPerformanceData, L"HKEY_PERFORMANCE_DATA", L""},
    {platform::kDynData, L"HKEY_DYN_DATA", L""},
}};

} // namespace

bool TReg::IsKey(HKey rootKey, std::wstring_view key) const {
  RegKey opened(0, RegKeyCloser{&registry_});
  return registry_.OpenKey(rootKey, Relative(key), kIsKeyAccess, *opened.put()) == kErrorSuccess;
}

RegReader::RegReader(platform::Registry& registry, HKey rootKey, std::wstring_view key)
    : registry_(registry), key_(0, RegKeyCloser{&registry}) {
  for (const std::uint32_t access : kReadAccess) {
    HKey handle = 0;
    if (registry.OpenKey(rootKey, Relative(key), access, handle) == kErrorSuccess) {
      key_.reset(handle);
      return;
    }
  }
}

std::vector<std::byte> RegBinary(std::uint32_t type, std::span<const std::byte> data) {
  switch (type) {
    case kRegBinary:
    case kRegNone:
    case kRegResourceList:
    case kRegFullResourceDescriptor:
    case kRegResourceRequirementsList:
      return {data.begin(), data.end()};
    default:
      return {};
  }
}

std::wstring RegString(std::uint32_t type, std::span<const std::byte> data, std::wstring_view value) {
  // Empty data reads as empty text whatever its type; other non-string data is no string.
  if (data.empty()) return {};
  if (type != kRegSz && type != kRegExpandSz) return std::wstring(value);
  std::wstring text = WideFromUtf16Le(data);
  if (const auto nul = text.find(L'\0'); nul != std::wstring::npos) text.resize(nul);
  return text;
}

std::vector<std::byte> RegReader::ReadBinary(std::wstring_view name) const {
  std::vector<std::byte> data;
  std::uint32_t type = 0;
  if (!key_ || QueryAll(registry_, key_.get(), name, type, data) != kErrorSuccess) return {};
  return RegBinary(type, data);
}

std::int32_t RegReader::ReadInteger(std::wstring_view name, std::int32_t value) const {
  if (!key_) return value;
  std::array<std::byte, 4> data{};
  std::uint32_t type = 0;
  std::uint32_t size = data.size();
  // A value longer than 4 bytes answers ERROR_MORE_DATA; a shorter one is no number either.
  if (registry_.ReadValue(key_.get(), name, &type, data.data(), &size) != kErrorSuccess || size != 4 ||
      (type != kRegDword && type != kRegDwordBigEndian)) {
    return value;
  }
  return static_cast<std::int32_t>(
      std::to_integer<std::uint32_t>(data[0]) | std::to_integer<std::uint32_t>(data[1]) << 8 |
      std::to_integer<std::uint32_t>(data[2]) << 16 | std::to_integer<std::uint32_t>(data[3]) << 24);
}

std::wstring RegReader::ReadString(std::wstring_view name, std::wstring_view value) const {
  if (!key_) return std::wstring(value);
  std::uint32_t type = 0;
  std::vector<std::byte> data;
  if (const auto error = QueryAll(registry_, key_.get(), name, type, data); error != kErrorSuccess) {
    return error == kErrorFileNotFound ? std::wstring() : std::wstring(value);
  }
  return RegString(type, data, value);
}

std::int32_t RegReader::ReadNames(std::vector<std::wstring>& names,
                                  win::Error (platform::Registry::*read)(HKey, std::uint32_t, std::wstring&)) const {
  names.clear();
  std::wstring name;
  for (std::uint32_t i = 0; key_ && (registry_.*read)(key_.get(), i, name) == kErrorSuccess; ++i) {
    names.push_back(name);
  }
  return static_cast<std::int32_t>(names.size());
}

std::int32_t RegReader::ReadValues(std::vector<RegValue>& values) const {
  values.clear();
  std::vector<std::byte> buffer; // grown for the largest value, and cleared only as it grows
  std::uint32_t size = 0;
  for (std::uint32_t i = 0; key_; ++i) {
    try {
      RegValue value;
      if (registry_.ReadValueAt(key_.get(), i, value.name, value.type, buffer, size) != kErrorSuccess) break;
      value.data.assign(buffer.begin(), buffer.begin() + size);
      values.push_back(std::move(value));
    } catch (const std::bad_alloc&) {
      // A value too large for this process's memory is left out; the key's others are read.
    }
  }
  return static_cast<std::int32_t>(values.size());
}

std::int32_t RegReader::ReadKeyNames(std::vector<std::wstring>& keyNames) const {
  return ReadNames(keyNames, &platform::Registry::ReadSubKeyName);
}

std::int32_t RegReader::ReadValueNames(std::vector<std::wstring>& valueNames) const {
  return ReadNames(valueNames, &platform::Registry::ReadValueName);
}

std::vector<std::byte> TReg::ReadBinary(HKey rootKey, std::wstring_view key, std::wstring_view name) const {
  return RegReader(registry_, rootKey, key).ReadBinary(name);
}

bool TReg::ReadBool(HKey rootKey, std::wstring_view key, std::wstring_view name, bool value) const {
  return ReadInteger(rootKey, key, name, value ? 1 : 0) != 0;
}

std::int32_t TReg::ReadInteger(HKey rootKey, std::wstring_view key, std::wstring_view name, std::int32_t value) const {
  return RegReader(registry_, rootKey, key).ReadInteger(name, value);
}

std::wstring TReg::ReadString(HKey rootKey, std::wstring_view key, std::wstring_view name,
                              std::wstring_view value) const {
  return RegReader(registry_, rootKey, key).ReadString(name, value);
}

std::int32_t TReg::ReadKeyNames(HKey rootKey, std::wstring_view key, std::vector<std::wstring>& keyNames) const {
  return RegReader(registry_, rootKey, key).ReadKeyNames(keyNames);
}

std::int32_t TReg::ReadValueNames(HKey rootKey, std::wstring_view key, std::vector<std::wstring>& valueNames) const {
  return RegReader(registry_, rootKey, key).ReadValueNames(valueNames);
}

bool TReg::Parse(std::wstring_view text, HKey& rootKey, std::wstring& key, std::wstring& name) {
  key.clear();
  name.clear();
  std::vector<std::wstring_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(L'\\', start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::wstring_view::npos) break;
    start = end + 1;
  }
  if (parts.size() < 3) return false;
  rootKey = StrToRootKey(parts.front());
  for (std::size_t i = 1; i + 1 < parts.size(); ++i) {
    if (i > 1) key += L'\\';
    key += parts[i];
  }
  name = parts.back();
  return true;
}

void TReg::WriteBinary(HKey rootKey, std::wstring_view key, std::wstring_view name,
                       std::span<const std::byte> value) const {
  if (const RegKey opened = OpenWrite(registry_, rootKey, key))
    registry_.WriteValue(opened.get(), name, kRegBinary, value);
}

void TReg::WriteInteger(HKey rootKey, std::wstring_view key, std::wstring_view name, std::int32_t value) const {
  const auto bits = static_cast<std::uint32_t>(value);
  const std::array<std::byte, 4> data = {static_cast<std::byte>(bits), static_cast<std::byte>(bits >> 8),
                                         static_cast<std::byte>(bits >> 16), static_cast<std::byte>(bits >> 24)};
  if (const RegKey opened = OpenWrite(registry_, rootKey, key))
    registry_.WriteValue(opened.get(), name, kRegDword, data);
}

void TReg::WriteString(HKey rootKey, std::wstring_view key, std::wstring_view name, std::wstring_view value) const {
  std::vector<std::byte> data = Utf16LeFromWide(value);
  data.insert(data.end(), 2, std::byte{0}); // stored with its terminating NUL, as Windows does
  if (const RegKey opened = OpenWrite(registry_, rootKey, key)) registry_.WriteValue(opened.get(), name, kRegSz, data);
}

void TReg::DeleteKey(HKey rootKey, std::wstring_view key, std::wstring_view name) const {
  // An empty name would name the key itself: deleting it is never what a caller means.
  if (name.empty()) return;
  if (const RegKey opened = OpenWrite(registry_, rootKey, key)) DeleteTree(registry_, opened.get(), std::wstring(name));
}

void TReg::DeleteValue(HKey rootKey, std::wstring_view key, std::wstring_view name) const {
  if (const RegKey opened = OpenWrite(registry_, rootKey, key)) registry_.DeleteValue(opened.get(), name);
}

void TReg::Delete(std::wstring_view text) const {
  HKey rootKey = 0;
  std::wstring key;
  std::wstring name;
  if (Parse(text, rootKey, key, name)) Delete(rootKey, key, name);
}

void TReg::Delete(HKey rootKey, std::wstring_view key, std::wstring_view name) const {
  if (!name.empty() && IsKey(rootKey, std::wstring(key) + L'\\' + std::wstring(name))) {
    DeleteKey(rootKey, key, name);
  } else {
    DeleteValue(rootKey, key, name);
  }
}

std::wstring RootKeyToStr(HKey rootKey, bool Short) {
  for (const RootName& root : kRootNames) {
    if (root.key == rootKey) return std::wstring(Short && !root.abbreviation.empty() ? root.abbreviation : root.full);
  }
  return {};
}

HKey StrToRootKey(std::wstring_view text) {
  for (const RootName& root : kRootNames) {
    if (EqualsAsciiNoCase(text, root.full) ||
        (!root.abbreviation.empty() && EqualsAsciiNoCase(text, root.abbreviation))) {
      return root.key;
    }
  }
  return platform::kNoRootKey;
}
