#pragma once
// Whether the program files of a load's entries exist. A file on a share that stalls can keep
// the file system from answering for minutes: each path is asked once per load, on a thread of
// its own, and waited for at most a time limit, past which its answer is unknown and the window
// or the command goes on.
#include <chrono>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/files.h"

// How long a check is waited for.
inline constexpr std::chrono::milliseconds kFileCheckLimit{1000};

class FileChecks {
 public:
  FileChecks(platform::FileSystem& files, std::chrono::milliseconds limit);
  // A check that still stalls is left to end by itself; its answer is dropped.
  ~FileChecks();
  FileChecks(const FileChecks&) = delete;
  FileChecks& operator=(const FileChecks&) = delete;

  // Whether the program file `path` of a Run-key or Startup-folder entry exists. Nothing for an
  // empty path and for a name without its full path ("X:\..." or "\\host\..."), which the
  // system looks for along its search path, and for a path whose check did not answer within
  // the limit: until the next load it stays unknown, and is not asked again.
  std::optional<bool> Exists(std::wstring_view path);
  // A new load: every path is asked again.
  void Clear();

 private:
  struct State;

  platform::FileSystem& files_;
  std::chrono::milliseconds limit_;
  std::shared_ptr<State> state_; // shared with the checking thread, which may outlive this object
};
