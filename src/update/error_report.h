#pragma once
// The report of an error the program showed in its error box, sent to the maker's report
// server: what the program and the system are, and the error's text without any name of the
// user or the machine.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/http.h"

struct ErrorReport {
  std::wstring version;  // the program's, as "User-Version" sends it
  std::wstring windows;  // the system's version, "major.minor.build"
  std::wstring language; // the current language
  std::wstring text;     // the error as the box shows it
};

// What names the user and the machine in a text, as the system tells it.
struct PersonalNames {
  std::vector<std::wstring> profiles;      // the user's profile folder, long and short (8.3) forms
  std::vector<std::wstring> otherProfiles; // the other users' profile folders of the machine, both forms
  std::wstring profilesFolder;             // the folder that holds the profiles, as "C:\Users"
  std::wstring userName;
  std::vector<std::wstring> computerNames; // the NetBIOS name and the DNS host name
  // A report is made only with the profile, the user name and the computer name known.
  bool Known() const { return !profiles.empty() && !profiles[0].empty() && !userName.empty() && !computerNames.empty(); }
};

inline constexpr std::wstring_view kReportContentType = L"application/x-www-form-urlencoded; charset=utf-8";

// `text` with every name of the user and of the machine replaced, ASCII case and the kind of
// path separator ignored: the user's profile folder by "%USERPROFILE%", another user's by the
// profiles folder and "\%OTHERUSER%", the host of a UNC path by "%HOST%", then the user name by
// "%USERNAME%" and a computer name by "%COMPUTERNAME%" wherever they stand.
std::wstring WithoutPersonalNames(std::wstring_view text, const PersonalNames& names);

// The report form-encoded in UTF-8 (version, windows, language, error), its text without
// personal names; none when the names are not known, so that nothing could be hidden.
std::optional<std::string> ErrorReportBody(const ErrorReport& report, const PersonalNames& names);

// POSTs `body` once on a thread of its own; no retry, and a failure is silent.
void SendErrorReport(std::shared_ptr<platform::Http> http, std::wstring url, std::string body);
