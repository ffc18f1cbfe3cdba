#include "windows/personal_names_win.h"

#include <windows.h>

#include <shlobj.h>

#include <iterator>

#include "support/unique_resource.h"

namespace {

struct KeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using Key = UniqueResource<HKEY, KeyCloser, nullptr>;

// `path` in its short (8.3) form, or empty when it has none of its own.
std::wstring ShortForm(const std::wstring& path) {
  wchar_t shortPath[MAX_PATH];
  const DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || lstrcmpiW(shortPath, path.c_str()) == 0) return {};
  return shortPath;
}

void AddBothForms(std::vector<std::wstring>& paths, const std::wstring& path) {
  paths.push_back(path);
  if (std::wstring shortPath = ShortForm(path); !shortPath.empty()) paths.push_back(std::move(shortPath));
}

// The system's own accounts (LocalSystem, LocalService, NetworkService), whose folders name no one.
bool IsSystemAccount(const wchar_t* sid) {
  for (const wchar_t* system : {L"S-1-5-18", L"S-1-5-19", L"S-1-5-20"}) {
    if (lstrcmpiW(sid, system) == 0) return true;
  }
  return false;
}

// The folder of the profile `sid` of the profile list, its variables ("%SystemDrive%") expanded;
// empty where it cannot be read.
std::wstring ProfileFolder(HKEY list, const wchar_t* sid) {
  wchar_t stored[MAX_PATH];
  DWORD type = 0, size = sizeof(stored);
  if (RegGetValueW(list, sid, L"ProfileImagePath", RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type, stored,
                   &size) != ERROR_SUCCESS) {
    return {};
  }
  if (type != REG_EXPAND_SZ) return stored;
  wchar_t expanded[MAX_PATH];
  const DWORD length = ExpandEnvironmentStringsW(stored, expanded, MAX_PATH);
  return length == 0 || length > MAX_PATH ? std::wstring() : expanded;
}

} // namespace

PersonalNames platform::ReadPersonalNames() {
  PersonalNames names;
  wchar_t text[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, 0, text)) && text[0]) {
    AddBothForms(names.profiles, text);
    const std::wstring profile = text;
    if (const std::size_t folder = profile.find_last_of(L"\\/"); folder != std::wstring::npos) {
      names.profilesFolder = profile.substr(0, folder);
    }
  }
  // Every profile the machine keeps, the user's own among them.
  Key list;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", 0,
                    KEY_READ | KEY_WOW64_64KEY, list.put()) == ERROR_SUCCESS) {
    wchar_t sid[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = static_cast<DWORD>(std::size(sid));
      if (RegEnumKeyExW(list.get(), i, sid, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      if (IsSystemAccount(sid)) continue;
      const std::wstring folder = ProfileFolder(list.get(), sid);
      if (!folder.empty() && (names.profiles.empty() || lstrcmpiW(folder.c_str(), names.profiles[0].c_str()) != 0)) {
        AddBothForms(names.otherProfiles, folder);
      }
    }
  }
  DWORD length = static_cast<DWORD>(std::size(text));
  if (GetUserNameW(text, &length) && text[0]) names.userName = text;
  // The fully qualified name, "pc1.corp.example.com", goes whole: the host name alone would leave its domain.
  for (const COMPUTER_NAME_FORMAT format :
       {ComputerNamePhysicalNetBIOS, ComputerNamePhysicalDnsHostname, ComputerNamePhysicalDnsFullyQualified}) {
    length = static_cast<DWORD>(std::size(text));
    if (GetComputerNameExW(format, text, &length) && text[0]) names.computerNames.emplace_back(text);
  }
  return names;
}
