// tarnwick-cli.exe: the catalogue of the real system on the console.
#include <windows.h>

#include "cli/cli.h"
#include "platform/win32/file_info_win.h"
#include "platform/win32/files_win.h"
#include "platform/win32/locale_win.h"
#include "platform/win32/registry_win.h"
#include "platform/win32/services_win.h"
#include "platform/win32/system_win.h"
#include "platform/win32/tasks_win.h"

namespace {

// UTF-8 whether the handle is a console or a pipe or a file.
void Write(DWORD which, const std::string& text) {
  const HANDLE handle = GetStdHandle(which);
  DWORD written = 0;
  if (!text.empty()) WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  // The console's code page is shared with the shell that started us: it is given back.
  const UINT codePage = GetConsoleOutputCP();
  SetConsoleOutputCP(CP_UTF8);
  platform::Win32Registry registry;
  platform::Win32FileSystem files;
  platform::Win32ServiceManager services;
  platform::Win32System system;
  platform::Win32ComRuntime com;
  platform::Win32TaskScheduler tasks(com);
  platform::Win32FileInfo fileInfo;
  platform::Win32Locale locale;
  platform::Win32Resources resources;
  platform::Win32Shell shell;
  platform::Platform platform{registry, files, services, system, tasks, fileInfo, locale, resources, shell};
  const TFolderTokens folderTokens = MakeFolderTokens(files, system);

  std::string out, err;
  const int code = RunCli(std::vector<std::wstring>(argv + 1, argv + argc), platform, folderTokens, out, err);
  Write(STD_OUTPUT_HANDLE, out);
  Write(STD_ERROR_HANDLE, err);
  if (codePage) SetConsoleOutputCP(codePage);
  return code;
}
