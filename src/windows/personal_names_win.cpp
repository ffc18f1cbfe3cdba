#include "windows/personal_names_win.h"

#include <windows.h>

#include <shlobj.h>

#include <iterator>

namespace {

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
  HKEY list = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", 0,
                    KEY_READ | KEY_WOW64_64KEY, &list) == ERROR_SUCCESS) {
    wchar_t sid[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = static_cast<DWORD>(std::size(sid));
      if (RegEnumKeyExW(list, i, sid, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      DWORD size = sizeof(text);
      if (RegGetValueW(list, sid, L"ProfileImagePath", RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ, nullptr, text, &size) ==
              ERROR_SUCCESS &&
          text[0] && (names.profiles.empty() || lstrcmpiW(text, names.profiles[0].c_str()) != 0)) {
        AddBothForms(names.otherProfiles, text);
      }
    }
    RegCloseKey(list);
  }
  DWORD length = static_cast<DWORD>(std::size(text));
  if (GetUserNameW(text, &length) && text[0]) names.userName = text;
  for (const COMPUTER_NAME_FORMAT format : {ComputerNamePhysicalNetBIOS, ComputerNamePhysicalDnsHostname}) {
    length = static_cast<DWORD>(std::size(text));
    if (GetComputerNameExW(format, text, &length) && text[0]) names.computerNames.emplace_back(text);
  }
  return names;
}
