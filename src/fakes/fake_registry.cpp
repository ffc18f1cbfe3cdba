#include "fakes/fake_registry.h"

#include <algorithm>
#include <new>
#include <vector>

#include "support/text.h"

namespace platform {
namespace {

using namespace win;

constexpr std::size_t kMaxKeyName = 255;
constexpr std::size_t kMaxValueName = 16383;
constexpr Error kErrorKeyDeleted = 1018;

std::wstring Upper(std::wstring_view name) {
  std::wstring upper(name);
  std::transform(upper.begin(), upper.end(), upper.begin(), SimpleUpcase); // names compare upper-cased
  return upper;
}

// Key path components; separators may be doubled, and a trailing one ends nothing.
std::vector<std::wstring_view> Components(std::wstring_view path) {
  std::vector<std::wstring_view> parts;
  while (!path.empty()) {
    const std::size_t end = path.find(L'\\');
    if (end != 0) parts.push_back(path.substr(0, end));
    if (end == std::wstring_view::npos) break;
    path.remove_prefix(end + 1);
  }
  return parts;
}

std::uint32_t Rights(std::uint32_t access) { return access & ~(kKeyWow64_64Key | kKeyWow64_32Key); }

} // namespace

FakeRegistry::FakeRegistry() {
  for (const HKey root :
       {kClassesRoot, kCurrentUser, kLocalMachine, kUsers, kPerformanceData, kCurrentConfig, kDynData}) {
    roots_[root] = std::make_shared<Node>();
  }
  // HKLM\Software\Wow6432Node exists on every 64-bit system.
  HKey key = 0;
  CreateKey(kLocalMachine, L"Software\\Wow6432Node", kKeyRead | kKeyWow64_64Key, key);
  CloseKey(key);
  requested_.clear();
}

win::Error FakeRegistry::Resolve(HKey key, std::uint32_t needed, std::shared_ptr<Node>& node) const {
  if (const auto root = roots_.find(key); root != roots_.end()) {
    node = root->second;
    return kErrorSuccess;
  }
  const auto handle = handles_.find(key);
  if (handle == handles_.end()) return kErrorInvalidHandle;
  if (handle->second.node->deleted) return kErrorKeyDeleted;
  if ((Rights(handle->second.access) & needed) != needed) return kErrorAccessDenied;
  node = handle->second.node;
  return kErrorSuccess;
}

win::Error FakeRegistry::Walk(HKey key, std::wstring_view subKey, std::uint32_t access, bool create, HKey& result) {
  requested_.push_back(access);
  // A relative path may not start at the name space's root.
  if (!subKey.empty() && subKey.front() == L'\\') return kErrorBadPathname;
  std::shared_ptr<Node> node;
  if (const auto error = Resolve(key, 0, node); error != kErrorSuccess) return error;
  std::vector<std::wstring_view> parts = Components(subKey);
  // A 32-bit process's view of HKLM\Software is its Wow6432Node.
  static constexpr std::wstring_view kWow = L"Wow6432Node";
  if (key == kLocalMachine && !(access & kKeyWow64_64Key) && !parts.empty() && Upper(parts[0]) == L"SOFTWARE" &&
      (parts.size() < 2 || Upper(parts[1]) != Upper(kWow))) {
    parts.insert(parts.begin() + 1, kWow);
  }
  for (const std::wstring_view part : parts) {
    if (part.size() > kMaxKeyName) return kErrorInvalidParameter;
    auto& slot = node->subkeys[Upper(part)];
    if (!slot) {
      if (!create) {
        node->subkeys.erase(Upper(part));
        return kErrorFileNotFound;
      }
      slot = std::make_shared<Node>();
      slot->name = part;
    }
    node = slot;
  }
  if ((Rights(access) & ~node->allowed) != 0) return kErrorAccessDenied;
  result = next_;
  next_ += 4;
  handles_[result] = Handle{node, access};
  return kErrorSuccess;
}

win::Error FakeRegistry::OpenKey(HKey key, std::wstring_view subKey, std::uint32_t access, HKey& result) {
  return Walk(key, subKey, access, false, result);
}

win::Error FakeRegistry::CreateKey(HKey key, std::wstring_view subKey, std::uint32_t access, HKey& result) {
  return Walk(key, subKey, access, true, result);
}

win::Error FakeRegistry::CloseKey(HKey key) {
  if (roots_.contains(key)) return kErrorSuccess;
  return handles_.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

FakeRegistry::Value* FakeRegistry::FindValue(Node& node, std::wstring_view name) {
  const std::wstring upper = Upper(name);
  const auto it = std::find_if(node.values.begin(), node.values.end(),
                               [&](const Value& value) { return Upper(value.name) == upper; });
  return it == node.values.end() ? nullptr : &*it;
}

win::Error FakeRegistry::ReadValue(HKey key, std::wstring_view name, std::uint32_t* type, std::byte* data,
                                   std::uint32_t* size) {
  std::shared_ptr<Node> node;
  if (const auto error = Resolve(key, kKeyQueryValue, node); error != kErrorSuccess) return error;
  const Value* value = FindValue(*node, name);
  if (!value) return kErrorFileNotFound;
  if (!ThrowOnReadingValue.empty() && Upper(name) == Upper(ThrowOnReadingValue)) throw std::bad_alloc();
  if (type) *type = value->type;
  if (!size) return data ? kErrorInvalidParameter : kErrorSuccess;
  const auto needed = static_cast<std::uint32_t>(value->data.size());
  if (data && *size < needed) {
    *size = needed;
    return kErrorMoreData;
  }
  if (data) std::copy(value->data.begin(), value->data.end(), data);
  *size = needed;
  return kErrorSuccess;
}

win::Error FakeRegistry::WriteValue(HKey key, std::wstring_view name, std::uint32_t type,
                                    std::span<const std::byte> data) {
  std::shared_ptr<Node> node;
  if (const auto error = Resolve(key, kKeySetValue, node); error != kErrorSuccess) return error;
  if (name.size() > kMaxValueName) return kErrorInvalidParameter;
  if (Value* value = FindValue(*node, name)) {
    value->type = type;
    value->data.assign(data.begin(), data.end());
  } else {
    node->values.push_back(Value{std::wstring(name), type, {data.begin(), data.end()}});
  }
  return kErrorSuccess;
}

win::Error FakeRegistry::DeleteValue(HKey key, std::wstring_view name) {
  std::shared_ptr<Node> node;
  if (const auto error = Resolve(key, kKeySetValue, node); error != kErrorSuccess) return error;
  const Value* value = FindValue(*node, name);
  if (!value) return kErrorFileNotFound;
  node->values.erase(node->values.begin() + (value - node->values.data()));
  return kErrorSuccess;
}

win::Error FakeRegistry::DeleteKey(HKey key, std::wstring_view subKey, std::uint32_t access) {
  HKey child = 0;
  if (const auto error = OpenKey(key, subKey, access | kKeyRead, child); error != kErrorSuccess) return error;
  const std::shared_ptr<Node> node = handles_[child].node;
  CloseKey(child);
  if (!node->subkeys.empty()) return kErrorAccessDenied;
  // Find the parent again along the same path to unlink the node.
  std::vector<std::wstring_view> parts = Components(subKey);
  if (parts.empty()) return kErrorInvalidParameter;
  const std::wstring_view last = parts.back();
  parts.pop_back();
  std::wstring parentPath;
  for (const std::wstring_view part : parts) parentPath.append(part).push_back(L'\\');
  HKey parent = 0;
  if (const auto error = OpenKey(key, parentPath, access | kKeyRead, parent); error != kErrorSuccess) return error;
  handles_[parent].node->subkeys.erase(Upper(last));
  CloseKey(parent);
  node->deleted = true;
  return kErrorSuccess;
}

win::Error FakeRegistry::ReadSubKeyName(HKey key, std::uint32_t index, std::wstring& name) {
  std::shared_ptr<Node> node;
  if (const auto error = Resolve(key, kKeyEnumerateSubKeys, node); error != kErrorSuccess) return error;
  if (index >= node->subkeys.size()) return kErrorNoMoreItems;
  name = std::next(node->subkeys.begin(), index)->second->name;
  return kErrorSuccess;
}

win::Error FakeRegistry::ReadValueName(HKey key, std::uint32_t index, std::wstring& name) {
  std::shared_ptr<Node> node;
  if (const auto error = Resolve(key, kKeyQueryValue, node); error != kErrorSuccess) return error;
  if (index >= node->values.size()) return kErrorNoMoreItems;
  name = node->values[index].name;
  return kErrorSuccess;
}

win::Error FakeRegistry::ReadValueAt(HKey key, std::uint32_t index, std::wstring& name, std::uint32_t& type,
                                     std::vector<std::byte>& buffer, std::uint32_t& size) {
  std::shared_ptr<Node> node;
  if (const auto error = Resolve(key, kKeyQueryValue, node); error != kErrorSuccess) return error;
  if (index >= node->values.size()) return kErrorNoMoreItems;
  const Value& value = node->values[index];
  if (!ThrowOnReadingValue.empty() && Upper(value.name) == Upper(ThrowOnReadingValue)) throw std::bad_alloc();
  if (buffer.size() < value.data.size()) buffer.resize(value.data.size());
  std::copy(value.data.begin(), value.data.end(), buffer.begin());
  name = value.name;
  type = value.type;
  size = static_cast<std::uint32_t>(value.data.size());
  return kErrorSuccess;
}

win::Error FakeRegistry::CountSubKeys(HKey key, std::uint32_t& subKeys) {
  std::shared_ptr<Node> node;
  if (const auto error = Resolve(key, kKeyQueryValue, node); error != kErrorSuccess) return error;
  subKeys = static_cast<std::uint32_t>(node->subkeys.size());
  return kErrorSuccess;
}

void FakeRegistry::RestrictAccess(HKey root, std::wstring_view path, std::uint32_t allowed) {
  HKey key = 0;
  CreateKey(root, path, kKeyWow64_64Key, key); // asks for no right, so it opens whatever is allowed
  handles_[key].node->allowed = allowed;
  CloseKey(key);
}

} // namespace platform
