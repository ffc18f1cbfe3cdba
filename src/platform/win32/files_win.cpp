#include "platform/win32/files_win.h"

#include <windows.h>

#include <shlobj.h>

#include "support/unique_resource.h"

namespace platform {
namespace {

struct FindClose_ {
  void operator()(HANDLE find) const { ::FindClose(find); }
};
using FindHandle = UniqueResource<HANDLE, FindClose_, nullptr>;

// FindFirstFileW answers INVALID_HANDLE_VALUE, not null, when it finds nothing.
FindHandle FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& data) {
  const HANDLE find = FindFirstFileW(pattern.c_str(), &data);
  return FindHandle(find == INVALID_HANDLE_VALUE ? nullptr : find);
}

} // namespace

std::int32_t Win32FileSystem::GetFolderPath(int csidl, std::wstring& path) {
  wchar_t buffer[MAX_PATH + 1] = {};
  const HRESULT result = SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer);
  if (result == S_OK) path.assign(buffer, wcsnlen(buffer, MAX_PATH + 1));
  return result;
}

bool Win32FileSystem::ListDirectory(std::wstring_view folder, std::vector<DirectoryEntry>& entries) {
  WIN32_FIND_DATAW data;
  const FindHandle find = FindFirst(std::wstring(folder) + L"\\*", data);
  if (!find) return false;
  entries.clear();
  do {
    const std::wstring_view name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back(DirectoryEntry{std::wstring(name), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(find.get(), &data));
  return true;
}

bool Win32FileSystem::DeleteFileW(std::wstring_view path, std::wstring& message) {
  if (::DeleteFileW(std::wstring(path).c_str())) return true;
  message = SystemMessage(GetLastError());
  return false;
}

bool Win32FileSystem::FileExists(std::wstring_view path) {
  const DWORD attributes = GetFileAttributesW(std::wstring(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::WriteWholeFile(std::wstring_view path, std::string_view data, std::wstring& message) {
  // Written beside the file first and moved over it only when complete.
  const std::wstring target(path);
  const std::wstring temporary = target + L".tarnwick-" + std::to_wstring(GetCurrentProcessId());
  const HANDLE file =
      CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    message = SystemMessage(GetLastError());
    return false;
  }
  DWORD written = 0;
  bool ok = WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
            written == data.size() && FlushFileBuffers(file);
  DWORD error = ok ? ERROR_SUCCESS : GetLastError();
  CloseHandle(file);
  if (ok && !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ok = false;
    error = GetLastError();
  }
  if (!ok) {
    ::DeleteFileW(temporary.c_str());
    message = SystemMessage(error);
  }
  return ok;
}

bool Win32FileSystem::ReadWholeFile(std::wstring_view path, std::string& data, std::wstring& message) {
  const HANDLE file = CreateFileW(std::wstring(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    message = SystemMessage(GetLastError());
    return false;
  }
  data.clear();
  char buffer[65536];
  DWORD read = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buffer, sizeof(buffer), &read, nullptr)) && read > 0) data.append(buffer, read);
  if (!ok) message = SystemMessage(GetLastError());
  CloseHandle(file);
  return ok;
}

std::wstring SystemMessage(unsigned long error) {
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text ? text : L"", length);
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) {
    message.pop_back();
  }
  if (message.empty()) message = L"Error " + std::to_wstring(error);
  return message;
}

} // namespace platform
