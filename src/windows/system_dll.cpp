#include "windows/system_dll.h"

#include <string>

namespace platform {

void RestrictDllSearchToSystem32() {
  // Windows 7 has the call only with update KB2533623: looked up, not imported, so that the
  // program still starts without it.
  using SetDefaultDllDirectoriesFn = BOOL WINAPI(DWORD);
  const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  if (const auto restrict = reinterpret_cast<SetDefaultDllDirectoriesFn*>(
          reinterpret_cast<void*>(GetProcAddress(kernel32, "SetDefaultDllDirectories")))) {
    restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
  } else {
    SetDllDirectoryW(L""); // at least the current folder leaves the search
  }
}

SystemDll::SystemDll(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  const std::wstring path = std::wstring(folder, length) + L"\\" + name;
  module_.reset(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

} // namespace platform
