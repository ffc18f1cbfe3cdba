#include "update/background.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

struct Pending {
  std::mutex mutex;
  std::condition_variable changed;
  int count = 0;
};

// Never destroyed: a request may still run while the program's static data is torn down.
Pending& ThePending() {
  static Pending& pending = *new Pending;
  return pending;
}

} // namespace

void RunInBackground(std::function<void()> request) {
  Pending& pending = ThePending();
  {
    const std::scoped_lock lock(pending.mutex);
    ++pending.count;
  }
  std::thread([&pending, request = std::move(request)] {
    request();
    {
      const std::scoped_lock lock(pending.mutex);
      --pending.count;
    }
    pending.changed.notify_all();
  }).detach();
}

bool WaitForBackgroundRequests(std::chrono::milliseconds limit) {
  Pending& pending = ThePending();
  std::unique_lock lock(pending.mutex);
  return pending.changed.wait_for(lock, limit, [&] { return pending.count == 0; });
}
