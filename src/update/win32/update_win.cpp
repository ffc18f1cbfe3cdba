#include "update/win32/update_win.h"

#include <chrono>
#include <condition_variable>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>

#include "update/error_report.h"
#include "update/update_text.h"
#include "update/win32/update_dialog_win.h"
#include "update/win32/update_status_win.h"
#include "windows/file_info_win.h"
#include "windows/http_win.h"
#include "windows/personal_names_win.h"
#include "windows/registry_win.h"
#include "windows/system_dll.h"

namespace {

// One hand-over, shared by the worker that waits for it and the message that carries it. A
// message still queued when the window goes is never run; its share is lost with it.
struct HandOverTask {
  enum class State { Queued, Running, Done, Withdrawn };
  explicit HandOverTask(std::function<void()> step) : step(std::move(step)) {}
  std::function<void()> step;
  std::mutex mutex;
  std::condition_variable changed;
  State state = State::Queued;
};

} // namespace

LRESULT RunHandOver(LPARAM lParam) {
  const std::unique_ptr<std::shared_ptr<HandOverTask>> message(
      reinterpret_cast<std::shared_ptr<HandOverTask>*>(lParam));
  HandOverTask& task = **message;
  {
    const std::scoped_lock lock(task.mutex);
    if (task.state != HandOverTask::State::Queued) return 0;
    task.state = HandOverTask::State::Running;
  }
  RunHandler(task.step);
  {
    const std::scoped_lock lock(task.mutex);
    task.state = HandOverTask::State::Done;
  }
  task.changed.notify_all();
  return 0;
}

void DiscardHandOver(LPARAM lParam) { delete reinterpret_cast<std::shared_ptr<HandOverTask>*>(lParam); }

EndSignal::EndSignal() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

void EndSignal::Set() { SetEvent(event_.get()); }

bool EndSignal::Wait(std::chrono::milliseconds duration) const {
  return WaitForSingleObject(event_.get(), static_cast<DWORD>(duration.count())) == WAIT_TIMEOUT;
}

bool WindowThread::HandOver(const std::function<void()>& step) {
  // Posted, not sent: the step shows a dialog and calls the shell, which must not run inside
  // another thread's SendMessage (the system refuses COM calls there).
  auto task = std::make_shared<HandOverTask>(step);
  auto message = std::make_unique<std::shared_ptr<HandOverTask>>(task);
  if (!PostMessageW(window_, kHandOverMessage, 0, reinterpret_cast<LPARAM>(message.get()))) return false;
  message.release(); // the window's now
  std::unique_lock lock(task->mutex);
  while (!task->changed.wait_for(lock, std::chrono::milliseconds(10),
                                 [&] { return task->state == HandOverTask::State::Done; })) {
    // A window that went before it took the step never will; once it runs, it runs to the end.
    if (task->state == HandOverTask::State::Queued && !IsWindow(window_)) {
      task->state = HandOverTask::State::Withdrawn;
      return false;
    }
  }
  return true;
}

void WindowThread::ServeUntil(const std::function<bool()>& ended) {
  std::optional<WPARAM> quit;
  while (!ended()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        quit = message.wParam; // for the loop this wait interrupted
        continue;
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  if (quit) PostQuitMessage(static_cast<int>(*quit));
}

bool WindowNotification::UpdateDialog(const std::wstring& data, int dialogOffset, const std::function<void()>& hold) {
  return ::UpdateDialog(UpdateDialogSetting{form_.Handle(), language_, title_, shell_}, data, dialogOffset, hold);
}

void WindowNotification::ShowUpdateStatus(const std::wstring& address) {
  ::ShowUpdateStatus(form_, UpdateText(1, language_), address, shell_);
}

namespace {

std::wstring ProgramFile() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

std::wstring ProgramVersion() {
  platform::Win32FileInfo info;
  return GetVersionText(L"%d.%d.%d.%d", info, ProgramFile());
}

// Fills `buffer` from the system's cryptographic generator: BCryptGenRandom, or RtlGenRandom
// where bcrypt.dll has no system-preferred generator (Windows 7 before SP1's update).
bool SystemRandomBytes(void* buffer, ULONG size) {
  static const platform::SystemDll bcrypt(L"bcrypt.dll");
  using GenRandom = LONG WINAPI(void*, PUCHAR, ULONG, ULONG);
  constexpr ULONG kSystemPreferred = 0x00000002; // BCRYPT_USE_SYSTEM_PREFERRED_RNG
  if (const auto generate = bcrypt.Function<GenRandom>("BCryptGenRandom")) {
    if (generate(nullptr, static_cast<PUCHAR>(buffer), size, kSystemPreferred) >= 0) return true;
  }
  using RtlGenRandom = BOOLEAN WINAPI(void*, ULONG);
  const auto fallback = reinterpret_cast<RtlGenRandom*>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"advapi32.dll"), "SystemFunction036")));
  return fallback && fallback(buffer, size);
}

LocalTime Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

} // namespace

std::optional<std::uint32_t> SystemRandom(std::uint32_t bound) {
  // Uniform: draws that fall in the incomplete last round of `bound` are drawn again.
  const std::uint32_t limit = std::numeric_limits<std::uint32_t>::max() / bound * bound;
  for (;;) {
    std::uint32_t value = 0;
    if (!SystemRandomBytes(&value, sizeof(value))) return std::nullopt;
    if (value < limit) return value % bound;
  }
}

Identity ProgramIdentity(std::wstring language) {
  return Identity{ProgramVersion, std::move(language), false, [] {
                    platform::Win32Registry registry;
                    return GetUnionID(registry, [] { return NewUnionID(SystemRandom, Now); });
                  }};
}

UpdateCheck ProgramUpdateCheck(HWND window, std::shared_ptr<const EndSignal> ended,
                               std::shared_ptr<platform::Http> http, std::wstring language,
                               UpdateNotification& notification, platform::Shell& shell) {
  return UpdateCheck{http ? std::move(http) : std::make_shared<platform::Win32Http>(),
                     ProgramIdentity(std::move(language)),
                     [ended = std::move(ended)](std::chrono::milliseconds duration) { return ended->Wait(duration); },
                     std::make_shared<WindowThread>(window),
                     &notification,
                     &shell};
}

void ReportError(const std::wstring& reportOrigin, const std::wstring& language, const std::wstring& text) {
  if (reportOrigin.empty()) return;
  // The system's own version, whatever the program's manifest lets GetVersionEx say.
  OSVERSIONINFOW system{};
  system.dwOSVersionInfoSize = sizeof(system);
  using RtlGetVersion = LONG WINAPI(OSVERSIONINFOW*);
  if (const auto get = reinterpret_cast<RtlGetVersion*>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")))) {
    get(&system);
  }
  const std::wstring windows = std::to_wstring(system.dwMajorVersion) + L"." + std::to_wstring(system.dwMinorVersion) +
                               L"." + std::to_wstring(system.dwBuildNumber);
  // No report where the names it must hide cannot be learnt.
  if (const auto body = ErrorReportBody({ProgramVersion(), windows, language, text}, platform::ReadPersonalNames())) {
    SendErrorReport(std::make_shared<platform::Win32Http>(), reportOrigin + L"/except.php", *body);
  }
}
