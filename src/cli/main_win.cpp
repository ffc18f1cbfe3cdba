// tarnwick-cli.exe: the catalogue of the real system on the console.
#include <windows.h>

#include "cli/cli.h"
#include "windows/personal_names_win.h"
#include "windows/system_dll.h"
#include "windows/win32_platform.h"

namespace {

// UTF-8 whether the handle is a console or a pipe or a file.
void Write(DWORD which, const std::string& text) {
  const HANDLE handle = GetStdHandle(which);
  DWORD written = 0;
  if (!text.empty()) WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  platform::RestrictDllSearchToSystem32();
  // The console's code page is shared with the shell that started us: it is given back.
  const UINT codePage = GetConsoleOutputCP();
  SetConsoleOutputCP(CP_UTF8);
  platform::Win32Platform win32;
  const FolderTokens folderTokens = MakeFolderTokens(win32.files, win32.system);
  SystemCatalogue catalogue(win32.registry, win32.files, win32.tasks, win32.services, win32.system, folderTokens);

  std::string out, err;
  const int code = RunCli(std::vector<std::wstring>(argv + 1, argv + argc),
                          CliServices{catalogue, win32.files, win32.fileInfo, win32.locale, win32.resources,
                                      folderTokens, win32.system, platform::ReadPersonalNames},
                          out, err);
  Write(STD_OUTPUT_HANDLE, out);
  Write(STD_ERROR_HANDLE, err);
  if (codePage) SetConsoleOutputCP(codePage);
  return code;
}
