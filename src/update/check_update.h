#pragma once
// The program's one request, made on a worker thread without blocking the window: up to six
// attempts ten seconds apart, then the reply step on the main thread (the update offer, the
// notice, the caller's callback).
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "platform/http.h"
#include "platform/shell.h"
#include "update/protocol.h"

// The thread that owns the window, to which the worker hands its reply step.
class MainThread {
 public:
  virtual ~MainThread() = default;
  // From the worker: runs `step` on the main thread and returns once it has run. False, without
  // running it, when the main thread takes no more hand-overs (its window is gone).
  virtual bool HandOver(const std::function<void()>& step) = 0;
  // On the main thread: serves hand-overs until `ended` says true.
  virtual void ServeUntil(const std::function<bool()>& ended) = 0;
};

// What the user sees of an update, on the main thread.
class UpdateNotification {
 public:
  virtual ~UpdateNotification() = default;
  // Asks whether to download the offered update; `hold` sends the "hold" notice when the user
  // ticks its box. True on Yes.
  virtual bool UpdateDialog(const std::wstring& data, int dialogOffset, const std::function<void()>& hold) = 0;
  virtual void ShowUpdateStatus(const std::wstring& address) = 0;
};

// The worker's view of the world. The worker may outlive the window by the time a request
// takes, so it owns what it uses there; the main thread's parts are used only within a
// hand-over, which runs only while the window exists.
struct UpdateCheck {
  std::shared_ptr<platform::Http> http;
  Identity identity;
  // Waits the given time by the clock, or less once the program is ending; false then, and the
  // worker gives up silently.
  std::function<bool(std::chrono::milliseconds)> pause;
  std::shared_ptr<MainThread> mainThread;
  UpdateNotification* notification = nullptr; // main thread only
  platform::Shell* shell = nullptr;           // main thread only
};

// Called on the main thread with whether an update was accepted and opened, and the reply
// (empty when every attempt failed).
using UpdateCallback = std::function<void(bool updateAccepted, const std::wstring& reply)>;

inline constexpr int kRequestAttempts = 6;
inline constexpr std::chrono::milliseconds kPauseAfterFailure{10000};

// Requests `url`. With `proc` it returns at once and `proc` runs on the main thread after the
// reply step, unless the program ends first; without, it returns once the worker has ended and
// serves the worker's hand-over meanwhile. `dialogOffset` shifts the update dialog's extras.
void CheckUpdate(const std::wstring& url, UpdateCallback proc, int dialogOffset, UpdateCheck check);

// The reply step, on the main thread: the update offer, then the notice. True when an offered
// update was accepted and its address opened. Only web addresses are offered and opened.
bool ReplyStep(const std::wstring& data, int dialogOffset, UpdateNotification& notification, platform::Shell& shell,
               const std::function<void()>& hold);

// Sends the "hold" notice once on a thread of its own; its reply and any failure are ignored.
void StartHoldNotice(std::shared_ptr<platform::Http> http, std::wstring url, Identity identity);
