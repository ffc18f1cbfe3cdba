#include "support/personal_names.h"

#include <algorithm>

#include "support/text.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Whether `c` may go on a folder name after a match, so that the match was only its start:
// "C:\Users\Bo" within "C:\Users\Bob". Punctuation, blanks and separators end a name.
bool ContinuesName(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_' || c == L'-' ||
         c == L'~' || c == L'$' || c >= 0x80;
}

// Where a host or a user's folder name that starts at `from` ends.
std::size_t PathPartEnd(std::wstring_view text, std::size_t from) {
  while (from < text.size() && !IsSeparator(text[from]) && text[from] > L' ' &&
         std::wstring_view(L"\"'<>|:;,()*?").find(text[from]) == std::wstring_view::npos) {
    ++from;
  }
  return from;
}

// Where the name of a folder that starts at `from` ends. Followed by a separator, the name is all
// up to it, blanks and all ("Juergen Mueller\"); where the path ends within the name, the name
// ends where a word does, and a full stop after it ends the sentence.
std::size_t FolderNameEnd(std::wstring_view text, std::size_t from) {
  std::size_t end = from;
  while (end < text.size() && !IsSeparator(text[end]) && text[end] >= L' ' &&
         std::wstring_view(L"\"<>|:*?").find(text[end]) == std::wstring_view::npos) {
    ++end;
  }
  if (end < text.size() && IsSeparator(text[end])) return end;
  end = PathPartEnd(text, from);
  while (end > from && text[end - 1] == L'.') --end;
  return end;
}

// Whether `path` (or a name) stands at `at` of `text`, letter case (beyond ASCII too: "Jürgen"
// is "JÜRGEN") and the kind of separator ignored.
bool PathAt(std::wstring_view text, std::size_t at, std::wstring_view path) {
  if (path.empty() || text.size() - at < path.size()) return false;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const wchar_t a = text[at + i], b = path[i];
    if (IsSeparator(a) && IsSeparator(b)) continue;
    if (SimpleUpcase(a) != SimpleUpcase(b)) return false;
  }
  return true;
}

// The replacements found in the text, none overlapping another; the rules that run first win.
class Replacements {
 public:
  explicit Replacements(std::wstring_view text) : text_(text) {}

  bool Add(std::size_t at, std::size_t length, std::wstring with) {
    for (const Span& span : spans_) {
      if (at < span.at + span.length && span.at < at + length) return false;
    }
    spans_.push_back({at, length, std::move(with)});
    return true;
  }
  std::wstring Apply() {
    std::sort(spans_.begin(), spans_.end(), [](const Span& a, const Span& b) { return a.at < b.at; });
    std::wstring result;
    std::size_t from = 0;
    for (const Span& span : spans_) {
      result.append(text_.substr(from, span.at - from)).append(span.with);
      from = span.at + span.length;
    }
    return result.append(text_.substr(from));
  }

 private:
  struct Span {
    std::size_t at, length;
    std::wstring with;
  };
  std::wstring_view text_;
  std::vector<Span> spans_;
};

// Folders below the profiles folder that belong to no one.
bool IsSharedProfile(std::wstring_view name) {
  for (const std::wstring_view shared : {L"Public", L"Default", L"Default User", L"All Users"}) {
    if (EqualsAsciiNoCase(name, shared)) return true;
  }
  return false;
}

} // namespace

std::wstring WithoutPersonalNames(std::wstring_view text, const PersonalNames& names, NameBounds bounds) {
  Replacements found(text);
  // The SIDs of the machine's and the domain's users ("S-1-5-21-..."), wherever they stand: the
  // names of a user's scheduled tasks carry them.
  const auto digitAt = [&](std::size_t at) { return at < text.size() && text[at] >= L'0' && text[at] <= L'9'; };
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (!PathAt(text, at, L"S-1-5-21")) continue;
    std::size_t end = at + 8;
    while (end < text.size() && text[end] == L'-' && digitAt(end + 1)) {
      for (++end; digitAt(end);) ++end;
    }
    if (end > at + 8) found.Add(at, end - at, L"%USERSID%");
  }
  std::wstring profilesFolder = names.profilesFolder;
  while (!profilesFolder.empty() && IsSeparator(profilesFolder.back())) profilesFolder.pop_back();
  const std::wstring otherUser = profilesFolder + L"\\%OTHERUSER%";

  // Profile folders, the longest first, so that "C:\Users\Bob.Smith" is not taken for "C:\Users\Bob".
  std::vector<std::pair<std::wstring, const std::wstring*>> folders;
  static const std::wstring kProfile = L"%USERPROFILE%";
  for (const std::wstring& path : names.profiles) folders.emplace_back(path, &kProfile);
  for (const std::wstring& path : names.otherProfiles) folders.emplace_back(path, &otherUser);
  for (auto& [path, with] : folders) {
    while (!path.empty() && IsSeparator(path.back())) path.pop_back();
  }
  std::stable_sort(folders.begin(), folders.end(),
                   [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
  for (const auto& [path, with] : folders) {
    const std::size_t last = path.find_last_of(L"\\/"), name = last == std::wstring::npos ? 0 : last + 1;
    for (std::size_t at = 0; at < text.size(); ++at) {
      // Only where the folder's own name ends: "C:\Users\Bob" is not within "C:\Users\Bob.Smith".
      const std::size_t after = at + path.size();
      if (PathAt(text, at, path) && (after == text.size() || !ContinuesName(text[after])) &&
          FolderNameEnd(text, at + name) <= after) {
        found.Add(at, path.size(), *with);
      }
    }
  }
  // Any other folder below the profiles folder: a user the system did not list.
  if (!profilesFolder.empty()) {
    for (std::size_t at = 0; at < text.size(); ++at) {
      const std::size_t name = at + profilesFolder.size() + 1;
      if (name >= text.size() || !PathAt(text, at, profilesFolder) || !IsSeparator(text[name - 1])) continue;
      const std::size_t end = FolderNameEnd(text, name);
      if (end > name && !IsSharedProfile(text.substr(name, end - name))) found.Add(at, end - at, otherUser);
    }
  }
  // The hosts of UNC paths ("\\host\share", "//host/share", also behind "\\?\UNC\" or "file:"), not
  // the "\\?\" and "\\.\" prefixes. Two slashes within a path or a web address ("https://") start none.
  for (std::size_t at = 0; at + 2 < text.size(); ++at) {
    if (!IsSeparator(text[at]) || !IsSeparator(text[at + 1])) continue;
    if ((text[at] == L'/' || text[at + 1] == L'/') && at > 0 &&
        (ContinuesName(text[at - 1]) || IsSeparator(text[at - 1]) || text[at - 1] == L':') &&
        !(at >= 5 && EqualsAsciiNoCase(text.substr(at - 5, 5), L"file:"))) {
      continue;
    }
    std::size_t host = at + 2;
    if (PathAt(text, host, L"?\\UNC\\")) host += 6;
    const std::size_t end = PathPartEnd(text, host);
    const std::wstring_view name = text.substr(host, end - host);
    if (!name.empty() && name != L"?" && name != L"." && !name.starts_with(L'%'))
      found.Add(host, end - host, L"%HOST%");
  }
  // The names themselves, wherever they stand, or as words of their own.
  const auto wordAt = [&](std::size_t at, std::size_t length) {
    const auto letter = [](wchar_t c) {
      return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c >= 0x80;
    };
    return bounds == NameBounds::Anywhere ||
           ((at == 0 || !letter(text[at - 1])) && (at + length == text.size() || !letter(text[at + length])));
  };
  std::vector<std::pair<std::wstring_view, std::wstring_view>> words{{names.userName, L"%USERNAME%"}};
  for (const std::wstring& computer : names.computerNames) words.emplace_back(computer, L"%COMPUTERNAME%");
  std::stable_sort(words.begin(), words.end(),
                   [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
  for (const auto& [word, with] : words) {
    for (std::size_t at = 0; !word.empty() && at + word.size() <= text.size(); ++at) {
      if (PathAt(text, at, word) && wordAt(at, word.size())) {
        found.Add(at, word.size(), std::wstring(with));
      }
    }
  }
  return found.Apply();
}
