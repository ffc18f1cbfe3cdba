#include "windows/personal_names_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "support/text.h"
#include "support/unique_resource.h"
#include "wine.h"

namespace {

struct KeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using Key = UniqueResource<HKEY, KeyCloser, nullptr>;

const std::wstring kProfileList = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\";

std::wstring Expanded(const wchar_t* text) {
  wchar_t expanded[MAX_PATH];
  const DWORD length = ExpandEnvironmentStringsW(text, expanded, MAX_PATH);
  return length == 0 || length > MAX_PATH ? std::wstring() : expanded;
}

// A profile of the machine's profile list, its folder a REG_EXPAND_SZ as Windows writes it, for
// the life of the object; one that was there before is neither changed nor removed.
class SeededProfile {
 public:
  SeededProfile(const wchar_t* sid, const std::wstring& folder) : key_(kProfileList + sid) {
    Key key;
    DWORD disposition = 0;
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr,
                              key.put(), &disposition),
              ERROR_SUCCESS);
    created_ = disposition == REG_CREATED_NEW_KEY;
    if (created_) {
      EXPECT_EQ(RegSetValueExW(key.get(), L"ProfileImagePath", 0, REG_EXPAND_SZ,
                               reinterpret_cast<const BYTE*>(folder.c_str()),
                               static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))),
                ERROR_SUCCESS);
    }
  }
  ~SeededProfile() {
    if (created_) RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), KEY_WOW64_64KEY, 0);
  }
  SeededProfile(const SeededProfile&) = delete;
  SeededProfile& operator=(const SeededProfile&) = delete;

 private:
  std::wstring key_;
  bool created_ = false;
};

TEST(PersonalNamesWin32, LearnsTheOtherUsersProfilesButNotTheSystemsAccounts) {
  const SeededProfile someone(L"S-1-5-21-1111-2222-3333-4444", L"%SystemDrive%\\Users\\Someone");
  const SeededProfile localService(L"S-1-5-19", L"%SystemRoot%\\ServiceProfiles\\LocalService");
  const PersonalNames names = platform::ReadPersonalNames();
  const auto& others = names.otherProfiles;
  EXPECT_NE(std::find(others.begin(), others.end(), Expanded(L"%SystemDrive%\\Users\\Someone")), others.end());
  ASSERT_FALSE(names.profiles.empty());
  EXPECT_EQ(std::find(others.begin(), others.end(), names.profiles[0]), others.end()) << "the user's own";
  const std::wstring windows = Expanded(L"%SystemRoot%\\");
  for (const std::wstring& other : others) EXPECT_FALSE(StartsWithAsciiNoCase(other, windows)) << other;
}

// The DNS domain as the system keeps it, set for the life of the object and then put back.
class DnsDomain {
 public:
  explicit DnsDomain(const std::wstring& domain) {
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters", 0,
                            KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_64KEY, key_.put()),
              ERROR_SUCCESS);
    wchar_t old[256];
    DWORD size = sizeof(old);
    had_ = RegGetValueW(key_.get(), nullptr, L"Domain", RRF_RT_REG_SZ, nullptr, old, &size) == ERROR_SUCCESS;
    if (had_) old_ = old;
    Set(domain);
  }
  ~DnsDomain() {
    if (had_) {
      Set(old_);
    } else {
      RegDeleteValueW(key_.get(), L"Domain");
    }
  }
  DnsDomain(const DnsDomain&) = delete;
  DnsDomain& operator=(const DnsDomain&) = delete;

 private:
  void Set(const std::wstring& domain) {
    EXPECT_EQ(RegSetValueExW(key_.get(), L"Domain", 0, REG_SZ, reinterpret_cast<const BYTE*>(domain.c_str()),
                             static_cast<DWORD>((domain.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }
  Key key_;
  bool had_ = false;
  std::wstring old_;
};

TEST(PersonalNamesWin32, HidesTheComputersFullyQualifiedName) {
  // Windows takes its domain from the registry only when it starts; Wine whenever it is asked.
  if (!OnWine()) GTEST_SKIP() << "would change the machine's DNS domain";
  const DnsDomain domain(L"corp.example");
  wchar_t host[256];
  DWORD length = static_cast<DWORD>(std::size(host));
  ASSERT_TRUE(GetComputerNameExW(ComputerNamePhysicalDnsHostname, host, &length));
  const PersonalNames names = platform::ReadPersonalNames();
  EXPECT_EQ(WithoutPersonalNames(std::wstring(L"\\\\") + host + L".corp.example\\share on " + host + L".CORP.EXAMPLE",
                                 names, NameBounds::Words),
            L"\\\\%HOST%\\share on %COMPUTERNAME%");
}

} // namespace
