#pragma once
// Fakes of the update check's main-thread side, shared by the portable and the Wine tests.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "update/check_update.h"

// The main thread of a test: hand-overs queue until the test serves them.
class FakeMainThread final : public MainThread {
 public:
  bool HandOver(const std::function<void()>& step) override {
    std::unique_lock lock(mutex_);
    if (gone) return false;
    bool done = false;
    queue_.push_back([&] {
      step();
      done = true;
    });
    changed_.notify_all();
    changed_.wait(lock, [&] { return done; });
    return true;
  }
  void ServeUntil(const std::function<bool()>& ended) override {
    std::unique_lock lock(mutex_);
    while (!ended()) {
      if (queue_.empty()) {
        changed_.wait_for(lock, std::chrono::milliseconds(5));
        continue;
      }
      const auto step = std::move(queue_.front());
      queue_.pop_front();
      lock.unlock();
      step();
      lock.lock();
      changed_.notify_all();
    }
  }
  bool gone = false;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> queue_;
};

// Records what the user would see, in order.
class FakeNotification final : public UpdateNotification {
 public:
  bool UpdateDialog(const std::wstring& data, int dialogOffset, const std::function<void()>& hold) override {
    events.push_back(L"dialog " + std::to_wstring(dialogOffset));
    dialogData = data;
    if (tickHold) hold();
    return answerYes;
  }
  void ShowUpdateStatus(const std::wstring& address) override { events.push_back(L"status " + address); }
  bool answerYes = false, tickHold = false;
  std::wstring dialogData;
  std::vector<std::wstring> events;
};

