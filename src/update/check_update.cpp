#include "update/check_update.h"

#include <atomic>
#include <thread>

#include "update/background.h"
#include "update/reply.h"
#include "update/web_address.h"

bool ReplyStep(const std::wstring& data, int dialogOffset, UpdateNotification& notification, platform::Shell& shell,
               const std::function<void()>& hold) {
  const UpdateReply reply = ReadUpdateReply(data);
  bool accepted = false;
  // An address the shell would run as a file or a command is no offer: a program running
  // elevated opens only web addresses, and asks nothing it would not do.
  // An update the shell could not open was not accepted: the window stays.
  if (IsWebAddress(reply.update) && notification.UpdateDialog(data, dialogOffset, hold)) {
    accepted = shell.ShellOpen(reply.update);
  }
  if (IsWebAddress(reply.notify)) notification.ShowUpdateStatus(reply.notify);
  return accepted;
}

void StartHoldNotice(std::shared_ptr<platform::Http> http, std::wstring url, Identity identity) {
  RunInBackground([http = std::move(http), url = std::move(url), identity = std::move(identity)] {
    std::wstring ignored;
    HttpGet(*http, url, HoldHeaders(identity), ignored);
  });
}

namespace {

struct Worker {
  Worker(std::wstring url, UpdateCallback proc, int dialogOffset, UpdateCheck check)
      : url(std::move(url)), proc(std::move(proc)), dialogOffset(dialogOffset), check(std::move(check)) {}

  std::wstring url;
  UpdateCallback proc;
  int dialogOffset;
  UpdateCheck check;
  std::wstring data;
  std::atomic<bool> ended = false;

  void Run() {
    const platform::HttpHeaders headers = RequestHeaders(check.identity);
    for (int attempt = 0; attempt < kRequestAttempts; ++attempt) {
      if (HttpGet(*check.http, url, headers, data)) break;
      if (!check.pause(kPauseAfterFailure)) return;
    }
    check.mainThread->HandOver([this] { Step(); });
  }

  // On the main thread, while the worker waits.
  void Step() {
    const bool accepted = ReplyStep(data, dialogOffset, *check.notification, *check.shell,
                                    [this] { StartHoldNotice(check.http, url, check.identity); });
    if (proc) proc(accepted, data);
  }
};

} // namespace

void CheckUpdate(const std::wstring& url, UpdateCallback proc, int dialogOffset, UpdateCheck check) {
  auto worker = std::make_shared<Worker>(url, std::move(proc), dialogOffset, std::move(check));
  const bool waits = !worker->proc;
  std::thread thread([worker] {
    worker->Run();
    worker->ended = true;
  });
  if (!waits) {
    thread.detach();
    return;
  }
  worker->check.mainThread->ServeUntil([&] { return worker->ended.load(); });
  thread.join();
}
