#pragma once
// Folders and files as the shell and kernel32 give them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What ReadWholeFile says of a path that names a device or a pipe, for which the system has no text.
inline constexpr wchar_t kNotADiskFile[] = L"It is a device or a pipe, not a file.";

struct DirectoryEntry {
  std::wstring Name;
  bool IsDirectory = false;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // SHGetFolderPathW(no window, csidl, no token, SHGFP_TYPE_CURRENT) with a buffer of MAX_PATH + 1:
  // the HRESULT, and on S_OK the path up to its NUL.
  virtual std::int32_t ReadFolderPath(int csidl, std::wstring& path) = 0;
  // Every name directly inside `folder` that matches "*", whatever its attributes, "." and ".."
  // excepted, in the order the listing yields them. False when the folder cannot be listed.
  virtual bool ListFolder(std::wstring_view folder, std::vector<DirectoryEntry>& entries) = 0;
  // Deletes the file; on failure `message` is the system's text for the error.
  virtual bool RemoveFile(std::wstring_view path, std::wstring& message) = 0;
  // Whether a file exists at `path`, links followed; a folder is no file.
  virtual bool IsFile(std::wstring_view path) = 0;
  // Creates or replaces the file `path` with `data` as a whole: a failure leaves no partial
  // file and any earlier file as it was; a replaced file keeps its security and attributes.
  // On failure `message` is the system's text.
  virtual bool WriteWholeFile(std::wstring_view path, std::string_view data, std::wstring& message) = 0;
  // The bytes of the file `path`, at most `maxBytes` + 1 of them: more tells the caller that
  // the file is over its limit, which is never read whole. A device or a pipe is no file: it
  // is refused before it is read, since reading it may never end. On failure `message` is the
  // system's text, or says that the path names no file on a disk.
  virtual bool ReadWholeFile(std::wstring_view path, std::size_t maxBytes, std::string& data,
                             std::wstring& message) = 0;
};

} // namespace platform
