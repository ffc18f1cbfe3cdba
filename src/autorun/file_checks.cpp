#include "autorun/file_checks.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

namespace {

enum class Answer { Pending, Yes, No, Unknown };

bool HasFullPath(std::wstring_view path) {
  const auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
  const bool drive = path.size() > 2 && ((path[0] | 0x20) >= L'a' && (path[0] | 0x20) <= L'z') && path[1] == L':' &&
                     separator(path[2]);
  const bool unc = path.size() > 2 && separator(path[0]) && separator(path[1]);
  return drive || unc;
}

} // namespace

struct FileChecks::State {
  std::mutex mutex;
  std::condition_variable changed;
  std::unordered_map<std::wstring, Answer> answers; // this load's, by the path as asked
  std::deque<std::wstring> queue;                   // for the checking thread, in order
  std::uint64_t load = 0;                           // counts the loads
  std::uint64_t worker = 0;                         // the checking thread's number; 0 while none serves
  std::uint64_t workers = 0;                        // numbers given

  // Checks the queued paths until it is given up: when a check of it stalls past the limit, at
  // the next load, or with the object.
  static void Work(std::shared_ptr<State> state, platform::FileSystem& files, std::uint64_t me) {
    State& s = *state;
    std::unique_lock lock(s.mutex);
    for (;;) {
      s.changed.wait(lock, [&] { return !s.queue.empty() || s.worker != me; });
      if (s.worker != me) return;
      const std::wstring path = std::move(s.queue.front());
      s.queue.pop_front();
      const std::uint64_t load = s.load;
      lock.unlock();
      const bool exists = files.IsFile(path);
      lock.lock();
      if (s.worker != me) return; // given up meanwhile: the answer came too late
      if (const auto answer = s.answers.find(path);
          load == s.load && answer != s.answers.end() && answer->second == Answer::Pending) {
        answer->second = exists ? Answer::Yes : Answer::No;
      }
      s.changed.notify_all();
    }
  }

  // Called with the mutex held.
  void StartWorker(platform::FileSystem& files, const std::shared_ptr<State>& self) {
    worker = ++workers;
    std::thread(Work, self, std::ref(files), worker).detach();
  }
  void GiveUpWorker() {
    worker = 0;
    changed.notify_all();
  }
};

FileChecks::FileChecks(platform::FileSystem& files, std::chrono::milliseconds limit)
    : files_(files), limit_(limit), state_(std::make_shared<State>()) {}

FileChecks::~FileChecks() {
  const std::scoped_lock lock(state_->mutex);
  state_->GiveUpWorker();
}

void FileChecks::Clear() {
  const std::scoped_lock lock(state_->mutex);
  state_->answers.clear();
  state_->queue.clear();
  ++state_->load;
  state_->GiveUpWorker(); // one still busy with the last load's path is not waited for
}

std::optional<bool> FileChecks::Exists(std::wstring_view path) {
  if (!HasFullPath(path)) return std::nullopt;
  State& s = *state_;
  const std::wstring key(path);
  std::unique_lock lock(s.mutex);
  if (s.answers.try_emplace(key, Answer::Pending).second) {
    s.queue.push_back(key);
    if (s.worker == 0) s.StartWorker(files_, state_);
    s.changed.notify_all();
  }
  const auto answered = [&] {
    const auto answer = s.answers.find(key);
    return answer == s.answers.end() || answer->second != Answer::Pending;
  };
  if (!s.changed.wait_for(lock, limit_, answered)) {
    // The thread stalls on this path, or on one before it: it is given up, and the paths still
    // queued go to a new one.
    s.answers[key] = Answer::Unknown;
    std::erase(s.queue, key);
    s.GiveUpWorker();
    if (!s.queue.empty()) s.StartWorker(files_, state_);
    return std::nullopt;
  }
  const auto answer = s.answers.find(key);
  if (answer == s.answers.end() || answer->second == Answer::Unknown) return std::nullopt;
  return answer->second == Answer::Yes;
}
