#include "autorun/run_keys.h"

#include "support/text.h"

namespace {

struct RunKey {
  HKey root;
  std::wstring_view key;
};
constexpr RunKey kRunKeys[] = {
    {platform::kLocalMachine, L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {platform::kLocalMachine, L"\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {platform::kCurrentUser, L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
};

constexpr std::wstring_view kApprovedRun =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// Entries of a 32-bit Run key keep their state in the Run32 value.
bool Is32BitKey(std::wstring_view key) { return FindAsciiNoCase(key, L"Wow6432Node") != std::wstring::npos; }

// A value name may hold "\\" itself: a target of one of the Run keys is split after the key,
// where the location text alone cannot tell key from name.
bool SplitTarget(std::wstring_view target, HKey& rootKey, std::wstring& key, std::wstring& name) {
  for (const RunKey& run : kRunKeys) {
    const std::wstring prefix = RootKeyToStr(run.root, true) + std::wstring(run.key) + L"\\";
    if (StartsWithAsciiNoCase(target, prefix)) {
      rootKey = run.root;
      key = run.key;
      name = target.substr(prefix.size());
      return true;
    }
  }
  return TReg::Parse(target, rootKey, key, name);
}

} // namespace

bool IsStartupApproved(std::span<const std::byte> value) {
  return !(value.size() == 12 && (std::to_integer<unsigned>(value[0]) & 1) != 0);
}

bool IsStartupApproved(const TReg& reg, HKey rootKey, std::wstring_view key, std::wstring_view name) {
  return IsStartupApproved(reg.ReadBinary(rootKey, key, name));
}

std::array<std::byte, 12> MakeStartupApprovedValue(platform::System& system, bool enabled) {
  std::array<std::byte, 12> value{};
  value[0] = std::byte{enabled ? std::uint8_t{2} : std::uint8_t{3}};
  const std::uint64_t now = system.UtcNow();
  for (int i = 0; i < 8; ++i) value[4 + i] = static_cast<std::byte>(now >> (8 * i));
  return value;
}

void AddRunKeys(platform::Platform& platform, const TFolderTokens& folderTokens, TAutorunList& list) {
  for (const RunKey& run : kRunKeys) AddRunKey(platform, folderTokens, run.root, run.key, list);
}

void AddRunKey(platform::Platform& platform, const TFolderTokens& folderTokens, HKey rootKey, std::wstring_view key,
               TAutorunList& list) {
  // Each key is opened once and read value by value: the cost grows with the number of values only.
  const TRegReader run(platform.registry, rootKey, key);
  std::vector<std::wstring> names;
  if (run.ReadValueNames(names) == 0) return;
  const TRegReader approved(platform.registry, rootKey, std::wstring(kApprovedRun) + (Is32BitKey(key) ? L"32" : L""));
  const std::wstring from = RootKeyToStr(rootKey, true);
  for (const std::wstring& name : names) {
    auto entry = std::make_unique<TAutorunInfo>();
    entry->RawData = run.ReadString(name, L"");
    entry->FileName = ExtractCommandFileName(folderTokens, entry->RawData);
    entry->Caption = name;
    entry->Target = from + std::wstring(key) + L"\\" + name;
    entry->From = from;
    entry->Enabled = IsStartupApproved(approved.ReadBinary(name));
    list.push_back(std::move(entry));
  }
}

void SetRunKeyEnabled(platform::Platform& platform, std::wstring_view target, bool enabled) {
  const TReg reg(platform.registry);
  HKey rootKey = 0;
  std::wstring key;
  std::wstring name;
  if (!SplitTarget(target, rootKey, key, name)) return;
  if (platform.system.MajorVersion() < 10) {
    // Older systems know no StartupApproved values: disabling removes the entry itself.
    if (!enabled) reg.Delete(rootKey, key, name);
    return;
  }
  reg.WriteBinary(rootKey, L"\\" + std::wstring(kApprovedRun) + (Is32BitKey(key) ? L"32" : L""), name,
                  MakeStartupApprovedValue(platform.system, enabled));
}
