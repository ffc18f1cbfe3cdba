#include "support/path.h"

#include <algorithm>
#include <array>

#include "platform/files.h"
#include "platform/system.h"
#include "support/text.h"

namespace {

// All four characters long: a file name is cut right after the first one found.
constexpr std::array<std::wstring_view, 5> kExecutableExtensions = {L".EXE", L".BAT", L".COM", L".CMD", L".MSI"};

} // namespace

std::wstring_view FileNamePart(std::wstring_view path) {
  const std::size_t cut = path.find_last_of(L"\\:");
  return cut == std::wstring_view::npos ? path : path.substr(cut + 1);
}

std::wstring GetSpecialFolder(platform::FileSystem& files, int csidl) {
  std::wstring path;
  if (files.ReadFolderPath(csidl, path) != 0) return {};
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

std::wstring RemoveX86Tag(std::wstring_view path) {
  std::wstring result(path);
  if (const std::size_t at = FindAsciiNoCase(path, L" (x86)"); at != std::wstring::npos) result.erase(at, 6);
  return result;
}

FolderTokens MakeFolderTokens(platform::FileSystem& files, platform::System& system) {
  auto folder = [&](int id) { return GetSpecialFolder(files, id); };
  FolderTokens tokens = {
      {L"%ProgramData%", folder(csidl::kCommonAppData)},
      {L"%SystemRoot%", folder(csidl::kWindows)},
      {L"%Public%", folder(csidl::kCommonDocuments)},
      {L"%AppData%", folder(csidl::kAppData)},
      {L"%WinDir%", folder(csidl::kWindows)},
  };
  // A 32-bit process on x64 is given the " (x86)" folders for the plain CSIDLs.
  if (system.NativeArchitecture() == platform::kProcessorArchitectureAmd64) {
    tokens.emplace_back(L"%CommonProgramFiles(x86)%", folder(csidl::kProgramFilesCommonX86));
    tokens.emplace_back(L"%CommonProgramFiles%", RemoveX86Tag(folder(csidl::kProgramFilesCommon)));
    tokens.emplace_back(L"%ProgramFiles(x86)%", folder(csidl::kProgramFilesX86));
    tokens.emplace_back(L"%ProgramFiles%", RemoveX86Tag(folder(csidl::kProgramFiles)));
  } else {
    tokens.emplace_back(L"%CommonProgramFiles(x86)%", folder(csidl::kProgramFilesCommon));
    tokens.emplace_back(L"%CommonProgramFiles%", folder(csidl::kProgramFilesCommon));
    tokens.emplace_back(L"%ProgramFiles(x86)%", folder(csidl::kProgramFiles));
    tokens.emplace_back(L"%ProgramFiles%", folder(csidl::kProgramFiles));
  }
  return tokens;
}

std::wstring ExpandFolderTokens(const FolderTokens& folderTokens, std::wstring_view text) {
  for (const auto& [token, folder] : folderTokens) {
    if (text.size() > token.size() && text[token.size()] == L'\\' && StartsWithAsciiNoCase(text, token)) {
      return folder + std::wstring(text.substr(token.size()));
    }
  }
  return std::wstring(text);
}

void SplitCommandLine(std::wstring_view text, std::wstring& fileName, std::wstring& params) {
  fileName.clear();
  params.clear();
  text = Trim(text);
  if (text.empty()) return;

  if (text.front() == L'"') {
    const std::size_t close = text.find(L'"', 1);
    if (close == std::wstring_view::npos) {
      fileName = text.substr(1);
    } else {
      fileName = Trim(text.substr(1, close - 1));
      params = Trim(text.substr(close + 1));
    }
    return;
  }

  const std::wstring upper = AsciiUpperCase(text);
  std::size_t first = std::wstring::npos;
  for (const std::wstring_view extension : kExecutableExtensions) first = std::min(first, upper.find(extension));
  if (first != std::wstring::npos) {
    fileName = Trim(text.substr(0, first + 4));
    params = Trim(text.substr(first + 4));
  } else if (const std::size_t space = text.find(L' '); space != std::wstring_view::npos) {
    fileName = Trim(text.substr(0, space));
    params = Trim(text.substr(space + 1));
  } else {
    fileName = text;
  }
}

std::wstring ExtractCommandFileName(const FolderTokens& folderTokens, std::wstring_view cmdLine) {
  if (cmdLine.starts_with(L"\\??\\")) cmdLine.remove_prefix(4);
  std::wstring s;
  std::wstring params;
  SplitCommandLine(cmdLine, s, params);

  // rundll32 runs a library: the library is what starts.
  if (!params.empty() && EqualsAsciiNoCase(FileNamePart(s), L"rundll32.exe")) {
    std::wstring_view library = Trim(params);
    if (library.starts_with(L'"')) {
      const std::size_t close = library.find(L'"', 1);
      library = close == std::wstring_view::npos ? std::wstring_view() : library.substr(1, close - 1);
    }
    s = library.substr(0, library.find(L','));
  }

  s = ExpandFolderTokens(folderTokens, s);
  std::wstring path;
  path.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    path.push_back(s[i]);
    if (s[i] == L'\\' && i + 1 < s.size() && s[i + 1] == L'\\') ++i;
  }
  return path;
}
