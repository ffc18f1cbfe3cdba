#pragma once
// The names of the user and of the machine, and texts made free of them: what an error report
// and a startup profile must not carry.
#include <string>
#include <string_view>
#include <vector>

// What names the user and the machine in a text, as the system tells it.
struct PersonalNames {
  std::vector<std::wstring> profiles;      // the user's profile folder, long and short (8.3) forms
  std::vector<std::wstring> otherProfiles; // the other users' profile folders of the machine, both forms
  std::wstring profilesFolder;             // the folder that holds the profiles, as "C:\Users"
  std::wstring userName;
  std::vector<std::wstring> computerNames; // the NetBIOS name, the DNS host name and its full form
  // A text can be made free of them only with the profile, the user name and the computer name known.
  bool Known() const {
    return !profiles.empty() && !profiles[0].empty() && !userName.empty() && !computerNames.empty();
  }
};

// Where the user name and the computer names are found: wherever they stand, or only where no
// letter or digit goes on either side, so that a short name ("PC") leaves longer words
// ("PcaSvc") as they are.
enum class NameBounds { Anywhere, Words };

// `text` with every name of the user and of the machine replaced, letter case (beyond ASCII too)
// and the kind of path separator ignored: a user's SID of the machine or the domain
// ("S-1-5-21-...") by "%USERSID%" wherever it stands, the user's profile folder by
// "%USERPROFILE%", another user's (any folder of the profiles folder but the shared ones) by the
// profiles folder and "\%OTHERUSER%", the host of a UNC path ("\\host", "//host", "file://host")
// by "%HOST%", then the user name by "%USERNAME%" and a computer name by "%COMPUTERNAME%", within
// `bounds`. A folder is taken only whole: "C:\Users\Bob" is not within "C:\Users\Bob.Smith".
std::wstring WithoutPersonalNames(std::wstring_view text, const PersonalNames& names,
                                  NameBounds bounds = NameBounds::Anywhere);
