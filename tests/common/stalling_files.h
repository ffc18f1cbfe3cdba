#pragma once
// A file system with a share whose server stops answering: a check of a file under a stalled
// prefix waits until the share is released, every other one answers at once. Shared by the
// portable and the Wine tests.
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "platform/files.h"

class StallingFiles final : public platform::FileSystem {
 public:
  // Releases the share and waits for the checks still inside, which may run on threads that
  // outlive the test.
  ~StallingFiles() override {
    std::unique_lock lock(mutex_);
    stalled_.clear();
    changed_.notify_all();
    changed_.wait(lock, [&] { return inside_ == 0; });
  }

  void AddFile(const std::wstring& path) {
    const std::scoped_lock lock(mutex_);
    files_.insert(path);
  }
  // From now on, checks of paths that start with `prefix` wait.
  void Stall(const std::wstring& prefix) {
    const std::scoped_lock lock(mutex_);
    stalled_.insert(prefix);
  }
  void Release() {
    const std::scoped_lock lock(mutex_);
    stalled_.clear();
    changed_.notify_all();
  }
  // How often `path` was checked.
  int Asked(const std::wstring& path) {
    const std::scoped_lock lock(mutex_);
    return asked_[path];
  }

  bool IsFile(std::wstring_view path) override {
    const std::wstring key(path);
    std::unique_lock lock(mutex_);
    ++asked_[key];
    ++inside_;
    changed_.wait(lock, [&] {
      for (const std::wstring& prefix : stalled_) {
        if (key.starts_with(prefix)) return false;
      }
      return true;
    });
    --inside_;
    changed_.notify_all();
    return files_.contains(key);
  }
  std::int32_t ReadFolderPath(int, std::wstring&) override { return -1; }
  bool ListFolder(std::wstring_view, std::vector<platform::DirectoryEntry>&) override { return false; }
  bool RemoveFile(std::wstring_view, std::wstring&) override { return false; }
  bool WriteWholeFile(std::wstring_view, std::string_view, std::wstring&) override { return false; }
  bool ReadWholeFile(std::wstring_view, std::size_t, std::string&, std::wstring&) override { return false; }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::set<std::wstring> files_, stalled_;
  std::map<std::wstring, int> asked_;
  int inside_ = 0;
};
