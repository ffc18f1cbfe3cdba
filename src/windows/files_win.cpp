#include "windows/files_win.h"

#include <windows.h>

#include <shlobj.h>

#include <algorithm>

#include "support/unique_resource.h"

namespace platform {
namespace {

struct FindCloser {
  void operator()(HANDLE find) const { FindClose(find); }
};
using FindHandle = UniqueResource<HANDLE, FindCloser, nullptr>;

struct FileCloser {
  void operator()(HANDLE file) const { CloseHandle(file); }
};
using FileHandle = UniqueResource<HANDLE, FileCloser, nullptr>;

// The file calls answer INVALID_HANDLE_VALUE, not null, when they fail.
HANDLE Valid(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }

// A new file beside `target` for its next content. Created new, never opened when it exists,
// so that no other file is ever overwritten.
FileHandle CreateBeside(const std::wstring& target, std::wstring& name) {
  static LONG counter = 0;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    name = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(InterlockedIncrement(&counter)) + L".tarnwick-new";
    FileHandle file(
        Valid(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (file || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return FileHandle();
}

// Puts `replacement` in the place of `target`. An existing target is replaced so that it keeps
// its security, owner and attributes; the answer is the Win32 error, or ERROR_SUCCESS.
DWORD MoveInPlace(const std::wstring& replacement, const std::wstring& target) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return MoveFileExW(replacement.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) ? ERROR_SUCCESS : GetLastError();
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ERROR_ACCESS_DENIED; // a folder is never replaced by a file
  if (!ReplaceFileW(target.c_str(), replacement.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
    const DWORD error = GetLastError();
    // The old file is gone and the new one kept its name: it still takes the old one's place.
    if (error != ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
        !MoveFileExW(replacement.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
      return error;
    }
  }
  // Not every implementation carries the attributes over; they are the old file's either way.
  SetFileAttributesW(target.c_str(), attributes);
  return ERROR_SUCCESS;
}

} // namespace

std::int32_t Win32FileSystem::ReadFolderPath(int csidl, std::wstring& path) {
  wchar_t buffer[MAX_PATH + 1] = {};
  const HRESULT result = SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer);
  if (result == S_OK) path.assign(buffer, wcsnlen(buffer, MAX_PATH + 1));
  return result;
}

bool Win32FileSystem::ListFolder(std::wstring_view folder, std::vector<DirectoryEntry>& entries) {
  WIN32_FIND_DATAW data;
  const FindHandle find(Valid(FindFirstFileW((std::wstring(folder) + L"\\*").c_str(), &data)));
  if (!find) return false;
  entries.clear();
  do {
    const std::wstring_view name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back(DirectoryEntry{std::wstring(name), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(find.get(), &data));
  return true;
}

bool Win32FileSystem::RemoveFile(std::wstring_view path, std::wstring& message) {
  if (DeleteFileW(std::wstring(path).c_str())) return true;
  message = SystemMessage(GetLastError());
  return false;
}

bool Win32FileSystem::IsFile(std::wstring_view path) {
  const DWORD attributes = GetFileAttributesW(std::wstring(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::WriteWholeFile(std::wstring_view path, std::string_view data, std::wstring& message) {
  // Written beside the file first and put in its place only when complete.
  const std::wstring target(path);
  std::wstring replacement;
  FileHandle file = CreateBeside(target, replacement);
  if (!file) {
    message = SystemMessage(GetLastError());
    return false;
  }
  DWORD written = 0;
  DWORD error = WriteFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
                        written == data.size() && FlushFileBuffers(file.get())
                    ? ERROR_SUCCESS
                    : GetLastError();
  file.reset();
  if (error == ERROR_SUCCESS) error = MoveInPlace(replacement, target);
  if (error == ERROR_SUCCESS) return true;
  DeleteFileW(replacement.c_str());
  message = SystemMessage(error);
  return false;
}

bool Win32FileSystem::ReadWholeFile(std::wstring_view path, std::size_t maxBytes, std::string& data,
                                    std::wstring& message) {
  const FileHandle file(Valid(CreateFileW(std::wstring(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
  if (!file) {
    message = SystemMessage(GetLastError());
    return false;
  }
  if (GetFileType(file.get()) != FILE_TYPE_DISK) { // a console, NUL, a pipe: a read may wait for ever
    message = kNotADiskFile;
    return false;
  }
  data.clear();
  char buffer[65536];
  DWORD read = 0;
  bool ok = true;
  while (data.size() <= maxBytes) {
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(sizeof(buffer), maxBytes + 1 - data.size()));
    if (!(ok = ReadFile(file.get(), buffer, wanted, &read, nullptr)) || read == 0) break;
    data.append(buffer, read);
  }
  if (!ok) message = SystemMessage(GetLastError());
  return ok;
}

std::wstring SystemMessage(unsigned long error) {
  struct LocalFreer {
    void operator()(wchar_t* text) const { LocalFree(text); }
  };
  UniqueResource<wchar_t*, LocalFreer, nullptr> text;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(text.put()), 0, nullptr);
  std::wstring message(text ? text.get() : L"", text ? length : 0);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) {
    message.pop_back();
  }
  if (message.empty()) message = L"Error " + std::to_wstring(error);
  return message;
}

} // namespace platform
