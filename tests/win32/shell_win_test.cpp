#include <gtest/gtest.h>

#include <windows.h>

#include "windows/files_win.h"
#include "windows/shell_win.h"

namespace {

TEST(Win32Shell, OpensWhatItIsGiven) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring script = std::wstring(temp) + L"tarnwick-open.bat";
  const std::wstring marker = std::wstring(temp) + L"tarnwick-opened.txt";
  DeleteFileW(marker.c_str());
  const std::string text = "@echo opened> \"" + std::string(marker.begin(), marker.end()) + "\"\r\n";
  platform::Win32FileSystem files;
  std::wstring message;
  ASSERT_TRUE(files.WriteWholeFile(script, text, message));

  platform::Win32Shell shell;
  shell.ShellOpen(script); // the shell runs the script, which leaves the marker
  bool opened = false;
  for (int i = 0; i < 300 && !opened; ++i, Sleep(100)) opened = files.IsFile(marker);
  EXPECT_TRUE(opened);
  shell.ShellOpen(std::wstring(temp) + L"tarnwick-no-such-file.txt"); // fails without a word
  DeleteFileW(script.c_str());
  DeleteFileW(marker.c_str());
}

} // namespace
