#include "autorun/run_keys.h"

#include "autorun/registry_keys.h"
#include "autorun/startup_approved.h"
#include "support/reg.h"
#include "support/text.h"

namespace {

struct RunKey {
  HKey root;
  std::wstring_view key;
};
constexpr RunKey kRunKeys[] = {
    {platform::kLocalMachine, kRunKey},
    {platform::kLocalMachine, kRunKey32},
    {platform::kCurrentUser, kRunKey},
};

// Entries of a 32-bit Run key keep their state in the Run32 value.
std::wstring ApprovedKey(std::wstring_view runKey) {
  return std::wstring(kApprovedRunKey) + (FindAsciiNoCase(runKey, L"Wow6432Node") != std::wstring::npos ? L"32" : L"");
}

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

void AddRunKeys(platform::Registry& registry, const FolderTokens& folderTokens, AutorunList& list) {
  for (const RunKey& run : kRunKeys) AddRunKey(registry, folderTokens, run.root, run.key, list);
}

void AddRunKey(platform::Registry& registry, const FolderTokens& folderTokens, HKey rootKey, std::wstring_view key,
               AutorunList& list) {
  // Each key is read in one enumeration that gives names and data together, and its
  // StartupApproved key in another: one registry call per value.
  const RegReader run(registry, rootKey, key);
  std::vector<RegValue> values;
  if (run.ReadValues(values) == 0) return;
  const ApprovedStates approved(registry, rootKey, ApprovedKey(key));
  const std::wstring from = RootKeyToStr(rootKey, true);
  for (RegValue& value : values) {
    auto entry = std::make_unique<TAutorunInfo>();
    entry->RawData = RegString(value.type, value.data, L"");
    entry->FileName = ExtractCommandFileName(folderTokens, entry->RawData);
    entry->Target = from + std::wstring(key) + L"\\" + value.name;
    entry->From = from;
    const ApprovedState state = approved.Of(value.name);
    entry->Enabled = state.enabled;
    entry->SwitchedAt = state.switchedAt;
    entry->Caption = std::move(value.name);
    list.push_back(std::move(entry));
  }
}

void SetRunKeyEnabled(platform::Registry& registry, platform::System& system, std::wstring_view target, bool enabled) {
  const TReg reg(registry);
  HKey rootKey = 0;
  std::wstring key;
  std::wstring name;
  if (!SplitTarget(target, rootKey, key, name)) return;
  if (system.MajorVersion() < 10) {
    // Older systems know no StartupApproved values: disabling removes the entry itself. An
    // entry is always a value; a subkey of the same name is other data and stays.
    if (!enabled) reg.DeleteValue(rootKey, key, name);
    return;
  }
  reg.WriteBinary(rootKey, L"\\" + ApprovedKey(key), name, MakeStartupApprovedValue(system, enabled));
}
