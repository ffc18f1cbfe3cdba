#include <gtest/gtest.h>

#include "fakes/fake_files.h"
#include "fakes/fake_system.h"
#include "support/path.h"

namespace {

using namespace platform;

// The folders a 32-bit process is given on x64 Windows: the plain CSIDLs answer " (x86)".
FakeFileSystem Folders32On64() {
  FakeFileSystem files;
  files.Folders = {
      {csidl::kCommonAppData, L"C:\\ProgramData"},
      {csidl::kWindows, L"C:\\Windows"},
      {csidl::kCommonDocuments, L"C:\\Users\\Public\\Documents"},
      {csidl::kAppData, L"C:\\Users\\Ann\\AppData\\Roaming"},
      {csidl::kProgramFiles, L"C:\\Program Files (x86)"},
      {csidl::kProgramFilesX86, L"C:\\Program Files (x86)"},
      {csidl::kProgramFilesCommon, L"C:\\Program Files (x86)\\Common Files"},
      {csidl::kProgramFilesCommonX86, L"C:\\Program Files (x86)\\Common Files"},
  };
  return files;
}

TEST(FolderTokens, AreBuiltInOrderAndUndoTheX86FoldersOnX64) {
  FakeFileSystem files = Folders32On64();
  FakeSystem system;
  const FolderTokens expected = {
      {L"%ProgramData%", L"C:\\ProgramData"},
      {L"%SystemRoot%", L"C:\\Windows"},
      {L"%Public%", L"C:\\Users\\Public\\Documents"},
      {L"%AppData%", L"C:\\Users\\Ann\\AppData\\Roaming"},
      {L"%WinDir%", L"C:\\Windows"},
      {L"%CommonProgramFiles(x86)%", L"C:\\Program Files (x86)\\Common Files"},
      {L"%CommonProgramFiles%", L"C:\\Program Files\\Common Files"},
      {L"%ProgramFiles(x86)%", L"C:\\Program Files (x86)"},
      {L"%ProgramFiles%", L"C:\\Program Files"},
  };
  EXPECT_EQ(MakeFolderTokens(files, system), expected);

  // Elsewhere (x86, ARM64) the "(x86)" tokens name the plain folders.
  files.Folders[csidl::kProgramFiles] = L"C:\\Program Files";
  files.Folders[csidl::kProgramFilesCommon] = L"C:\\Program Files\\Common Files";
  files.Folders.erase(csidl::kProgramFilesX86);
  files.Folders.erase(csidl::kProgramFilesCommonX86);
  for (const std::uint16_t architecture : {0, 12}) {
    system.Architecture = architecture;
    const FolderTokens tokens = MakeFolderTokens(files, system);
    EXPECT_EQ(tokens[5].second, L"C:\\Program Files\\Common Files");
    EXPECT_EQ(tokens[7].second, L"C:\\Program Files");
    EXPECT_EQ(tokens[8].second, L"C:\\Program Files");
  }
}

TEST(FolderTokens, SpecialFoldersLoseOneTrailingBackslash) {
  FakeFileSystem files;
  files.Folders = {{1, L"C:\\"}, {2, L"C:\\Data\\\\"}, {3, L"C:\\Data"}};
  EXPECT_EQ(GetSpecialFolder(files, 1), L"C:");
  EXPECT_EQ(GetSpecialFolder(files, 2), L"C:\\Data\\");
  EXPECT_EQ(GetSpecialFolder(files, 3), L"C:\\Data");
  EXPECT_EQ(GetSpecialFolder(files, 4), L"") << "a folder the system cannot give";
  EXPECT_EQ(RemoveX86Tag(L"C:\\Program Files (X86)\\Tool (x86)"), L"C:\\Program Files\\Tool (x86)");
  EXPECT_EQ(RemoveX86Tag(L"C:\\Program Files(x86)"), L"C:\\Program Files(x86)");
}

TEST(FolderTokens, ExpandOnlyALeadingTokenFollowedByABackslash) {
  FakeFileSystem files = Folders32On64();
  files.Folders.erase(csidl::kCommonDocuments);
  FakeSystem system;
  const FolderTokens tokens = MakeFolderTokens(files, system);
  const struct {
    const wchar_t* text;
    const wchar_t* expected;
  } cases[] = {
      {L"%ProgramFiles%\\App\\a.exe", L"C:\\Program Files\\App\\a.exe"},
      {L"%PROGRAMFILES%\\App\\a.exe", L"C:\\Program Files\\App\\a.exe"},
      {L"%ProgramFiles(x86)%\\App\\a.exe", L"C:\\Program Files (x86)\\App\\a.exe"},
      {L"%CommonProgramFiles%\\x.dll", L"C:\\Program Files\\Common Files\\x.dll"},
      {L"%SystemRoot%\\System32\\a.exe", L"C:\\Windows\\System32\\a.exe"},
      {L"%WinDir%\\System32\\a.exe", L"C:\\Windows\\System32\\a.exe"},
      {L"%AppData%\\%ProgramData%\\x", L"C:\\Users\\Ann\\AppData\\Roaming\\%ProgramData%\\x"},
      {L"%Public%\\x", L"\\x"},
      {L"%ProgramFiles%", L"%ProgramFiles%"},
      {L"%ProgramFiles%x\\a.exe", L"%ProgramFiles%x\\a.exe"},
      {L"C:\\Tools\\%ProgramFiles%\\a.exe", L"C:\\Tools\\%ProgramFiles%\\a.exe"},
      {L"%Temp%\\a.exe", L"%Temp%\\a.exe"},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandFolderTokens(tokens, c.text), c.expected) << c.text;
}

TEST(CommandLine, SplitsQuotedUnquotedAndBareForms) {
  const struct {
    const wchar_t* text;
    const wchar_t* fileName;
    const wchar_t* params;
  } cases[] = {
      {L"\"C:\\Program Files\\App\\app.exe\" /min", L"C:\\Program Files\\App\\app.exe", L"/min"},
      {L"  \" C:\\a b\\x.exe \"  -q  ", L"C:\\a b\\x.exe", L"-q"},
      {L"\" C:\\no close", L" C:\\no close", L""},
      {L"C:\\Program Files\\App\\app.exe -silent", L"C:\\Program Files\\App\\app.exe", L"-silent"},
      {L"C:\\Tools\\My.Company\\run.exe", L"C:\\Tools\\My.Com", L"pany\\run.exe"},
      {L"c:\\setup.msi /quiet", L"c:\\setup.msi", L"/quiet"},
      {L"C:\\x.BAT.exe", L"C:\\x.BAT", L".exe"},
      {L"C:\\tool\\run -fast now", L"C:\\tool\\run", L"-fast now"},
      {L"C:\\tool\\run", L"C:\\tool\\run", L""},
      {L"\t \r\n", L"", L""},
      {L"", L"", L""},
  };
  for (const auto& c : cases) {
    std::wstring fileName = L"stale", params = L"stale";
    SplitCommandLine(c.text, fileName, params);
    EXPECT_EQ(fileName, c.fileName) << c.text;
    EXPECT_EQ(params, c.params) << c.text;
  }
}

TEST(CommandLine, ExtractsTheFileThatStarts) {
  FakeFileSystem files = Folders32On64();
  FakeSystem system;
  const FolderTokens tokens = MakeFolderTokens(files, system);
  const struct {
    const wchar_t* cmdLine;
    const wchar_t* expected;
  } cases[] = {
      {L"\"C:\\Program Files\\App\\app.exe\" /min", L"C:\\Program Files\\App\\app.exe"},
      {L"\\??\\C:\\Windows\\app.exe", L"C:\\Windows\\app.exe"},
      {L"rundll32.exe shell32.dll,Control_RunDLL", L"shell32.dll"},
      {L"C:\\Windows\\System32\\RUNDLL32.EXE \"C:\\Program Files\\App\\lib.dll\",Start",
       L"C:\\Program Files\\App\\lib.dll"},
      {L"rundll32.exe  lib.dll ,Entry", L"lib.dll "},
      {L"rundll32.exe \"C:\\no close.dll", L""},
      {L"rundll32.exe", L"rundll32.exe"},
      {L"C:\\Tools\\myrundll32.exe x.dll,E", L"C:\\Tools\\myrundll32.exe"},
      {L"%ProgramFiles%\\App\\app.exe -x", L"C:\\Program Files\\App\\app.exe"},
      {L"rundll32.exe %ProgramFiles%\\App\\lib.dll,Go", L"C:\\Program Files\\App\\lib.dll"},
      {L"C:\\\\App\\\\app.exe", L"C:\\App\\app.exe"},
      {L"C:\\\\\\App\\app.exe", L"C:\\\\App\\app.exe"},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtractCommandFileName(tokens, c.cmdLine), c.expected) << c.cmdLine;
}

} // namespace
