#pragma once
// Folder tokens and command-line targets: "%ProgramFiles%\App\app.exe -x" -> the program file.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {
class FileSystem;
class System;
} // namespace platform

// CSIDL numbers of the special folders the program asks for.
namespace csidl {
inline constexpr int kStartup = 0x07;
inline constexpr int kCommonStartup = 0x18;
inline constexpr int kAppData = 0x1A;
inline constexpr int kCommonAppData = 0x23;
inline constexpr int kWindows = 0x24;
inline constexpr int kProgramFiles = 0x26;
inline constexpr int kProgramFilesX86 = 0x2A;
inline constexpr int kProgramFilesCommon = 0x2B;
inline constexpr int kProgramFilesCommonX86 = 0x2C;
inline constexpr int kCommonDocuments = 0x2E;
} // namespace csidl

// Token ("%ProgramFiles%") -> folder without a trailing backslash, in the order they were added.
// Built once at start; a folder the system cannot give is the empty text.
using FolderTokens = std::vector<std::pair<std::wstring, std::wstring>>;

FolderTokens MakeFolderTokens(platform::FileSystem& files, platform::System& system);

// The path of a special folder without one trailing backslash, or "" when the system has none.
std::wstring GetSpecialFolder(platform::FileSystem& files, int csidl);
// The path without its first " (x86)", any case.
std::wstring RemoveX86Tag(std::wstring_view path);
// Expands one token at the very start of `text` when a backslash follows it.
std::wstring ExpandFolderTokens(const FolderTokens& folderTokens, std::wstring_view text);

// The text after the last "\" or ":" of a path; the whole text when it has neither.
std::wstring_view FileNamePart(std::wstring_view path);

// The program file and the parameters of a command line.
void SplitCommandLine(std::wstring_view text, std::wstring& fileName, std::wstring& params);
// The file a command line starts: native prefix dropped, rundll32's library taken, one token
// expanded, doubled backslashes made single.
std::wstring ExtractCommandFileName(const FolderTokens& folderTokens, std::wstring_view cmdLine);
