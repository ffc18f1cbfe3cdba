#include "autorun/startup_folders.h"

#include <algorithm>
#include <array>

#include "autorun/run_keys.h"
#include "support/path.h"
#include "support/reg.h"
#include "support/text.h"

namespace {

constexpr std::wstring_view kApprovedStartupFolder =
    L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";
constexpr std::array<std::wstring_view, 6> kStartableExtensions = {L".url", L".lnk", L".exe",
                                                                   L".bat", L".cmd", L".com"};

// The common folder's states are the machine's; every other folder's are the user's.
HKey ApprovedRoot(platform::Platform& platform, std::wstring_view folder) {
  return folder == GetSpecialFolder(platform.files, csidl::kCommonStartup) ? platform::kLocalMachine
                                                                           : platform::kCurrentUser;
}

} // namespace

void AddStartupFolders(platform::Platform& platform, TAutorunList& list) {
  AddStartupFolder(platform, GetSpecialFolder(platform.files, csidl::kCommonStartup), list);
  AddStartupFolder(platform, GetSpecialFolder(platform.files, csidl::kStartup), list);
}

void AddStartupFolder(platform::Platform& platform, std::wstring_view folder, TAutorunList& list) {
  if (folder.empty()) return;
  std::vector<platform::DirectoryEntry> files;
  if (!platform.files.ListDirectory(folder, files)) return;
  const TRegReader approved(platform.registry, ApprovedRoot(platform, folder), kApprovedStartupFolder);
  for (const platform::DirectoryEntry& file : files) {
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
    entry->Enabled = IsStartupApproved(approved.ReadBinary(file.Name));
    list.push_back(std::move(entry));
  }
}

void SetStartupFolderEnabled(platform::Platform& platform, std::wstring_view target, bool enabled) {
  if (platform.system.MajorVersion() < 10) {
    // Older systems know no StartupApproved values: disabling removes the file itself.
    std::wstring message;
    if (!enabled && !platform.files.DeleteFileW(target, message)) throw EStartupFileError(message);
    return;
  }
  const std::size_t slash = target.rfind(L'\\');
  std::wstring_view folder = slash == std::wstring_view::npos ? std::wstring_view() : target.substr(0, slash);
  if (folder.ends_with(L'\\')) folder.remove_suffix(1);
  const std::wstring_view name = slash == std::wstring_view::npos ? target : target.substr(slash + 1);
  TReg(platform.registry)
      .WriteBinary(ApprovedRoot(platform, folder), kApprovedStartupFolder, name,
                   MakeStartupApprovedValue(platform.system, enabled));
}
