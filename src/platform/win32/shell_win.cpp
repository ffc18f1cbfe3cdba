#include "platform/win32/shell_win.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace platform {

void Win32Shell::ShellOpen(std::wstring_view address) {
  ShellExecuteW(nullptr, L"open", std::wstring(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace platform
