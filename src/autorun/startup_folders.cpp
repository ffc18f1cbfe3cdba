#include "autorun/startup_folders.h"

#include <algorithm>
#include <array>

#include "autorun/registry_keys.h"
#include "autorun/startup_approved.h"
#include "support/path.h"
#include "support/reg.h"
#include "support/text.h"

namespace {

constexpr std::array<std::wstring_view, 6> kStartableExtensions = {L".url", L".lnk", L".exe",
                                                                   L".bat", L".cmd", L".com"};

// The common folder's states are the machine's; every other folder's are the user's.
HKey ApprovedRoot(platform::FileSystem& files, std::wstring_view folder) {
  return folder == GetSpecialFolder(files, csidl::kCommonStartup) ? platform::kLocalMachine : platform::kCurrentUser;
}

} // namespace

void AddStartupFolders(platform::FileSystem& files, platform::Registry& registry, AutorunList& list) {
  AddStartupFolder(files, registry, GetSpecialFolder(files, csidl::kCommonStartup), list);
  AddStartupFolder(files, registry, GetSpecialFolder(files, csidl::kStartup), list);
}

void AddStartupFolder(platform::FileSystem& files, platform::Registry& registry, std::wstring_view folder,
                      AutorunList& list) {
  if (folder.empty()) return;
  std::vector<platform::DirectoryEntry> entries;
  if (!files.ListFolder(folder, entries)) return;
  const ApprovedStates approved(registry, ApprovedRoot(files, folder), kApprovedStartupFolderKey);
  for (const platform::DirectoryEntry& file : entries) {
    if (file.IsDirectory) continue;
    const std::size_t dot = file.Name.rfind(L'.');
    const std::wstring_view extension =
        dot == std::wstring::npos ? std::wstring_view() : std::wstring_view(file.Name).substr(dot);
    if (std::none_of(kStartableExtensions.begin(), kStartableExtensions.end(),
                     [&](std::wstring_view startable) { return EqualsAsciiNoCase(extension, startable); })) {
      continue;
    }
    auto entry = std::make_unique<TAutorunInfo>();
    entry->FileName = std::wstring(folder) + L"\\" + file.Name;
    entry->Caption = file.Name.substr(0, dot);
    entry->Target = entry->FileName;
    entry->From = kTagFile;
    const ApprovedState state = approved.Of(file.Name);
    entry->Enabled = state.enabled;
    entry->SwitchedAt = state.switchedAt;
    list.push_back(std::move(entry));
  }
}

void SetStartupFolderEnabled(platform::FileSystem& files, platform::Registry& registry, platform::System& system,
                             std::wstring_view target, bool enabled) {
  if (system.MajorVersion() < 10) {
    // Older systems know no StartupApproved values: disabling removes the file itself.
    std::wstring message;
    if (!enabled && !files.RemoveFile(target, message)) throw StartupFileError(message);
    return;
  }
  const std::size_t slash = target.rfind(L'\\');
  std::wstring_view folder = slash == std::wstring_view::npos ? std::wstring_view() : target.substr(0, slash);
  if (folder.ends_with(L'\\')) folder.remove_suffix(1);
  const std::wstring_view name = slash == std::wstring_view::npos ? target : target.substr(slash + 1);
  TReg(registry).WriteBinary(ApprovedRoot(files, folder), kApprovedStartupFolderKey, name,
                             MakeStartupApprovedValue(system, enabled));
}
