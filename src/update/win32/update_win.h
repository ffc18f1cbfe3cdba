#pragma once
// The update check on Windows: the hand-over to the window's thread, the notification on the
// main window, what the request tells of this program, and the error reports.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/shell.h"
#include "support/unique_resource.h"
#include "toolkit/win32/controls_win.h"
#include "update/check_update.h"
#include "update/error_report.h"

// The message that carries a hand-over to the main window; its procedure answers it with
// RunHandOver, or keeps it while the window is in a modal loop and posts it again afterwards.
// One it never runs goes to DiscardHandOver: the worker then stops waiting for it once the
// window is gone.
inline constexpr UINT kHandOverMessage = WM_APP + 0x40;
LRESULT RunHandOver(LPARAM lParam);
void DiscardHandOver(LPARAM lParam);

// Set once the program's window has gone: a request waiting between its attempts gives up at
// once rather than at the end of its pause.
class EndSignal {
 public:
  EndSignal();
  void Set();
  // Waits `duration` by the clock, or less once set; false when set.
  bool Wait(std::chrono::milliseconds duration) const;

 private:
  struct Closer {
    void operator()(HANDLE event) const { CloseHandle(event); }
  };
  UniqueResource<HANDLE, Closer, nullptr> event_;
};

// Hand-overs are posted to `window`, so they run on its thread in whatever message loop it is
// in, while the worker waits; once the window is gone they are refused.
class WindowThread final : public MainThread {
 public:
  explicit WindowThread(HWND window) : window_(window) {}
  bool HandOver(const std::function<void()>& step) override;
  void ServeUntil(const std::function<bool()>& ended) override;

 private:
  HWND window_;
};

// The update dialog and the notice on the main window `form`.
class WindowNotification final : public UpdateNotification {
 public:
  WindowNotification(Form& form, std::wstring language, std::wstring title, platform::Shell& shell)
      : form_(form), language_(std::move(language)), title_(std::move(title)), shell_(shell) {}
  bool UpdateDialog(const std::wstring& data, int dialogOffset, const std::function<void()>& hold) override;
  void ShowUpdateStatus(const std::wstring& address) override;

 private:
  Form& form_;
  std::wstring language_, title_;
  platform::Shell& shell_;
};

// 0 to `bound` - 1, uniform, from the system's cryptographic generator; nothing when it fails.
std::optional<std::uint32_t> SystemRandom(std::uint32_t bound);

// What the request tells of this program in `language`. Each piece reads the system afresh on
// the thread that asks, through services of its own: the worker may outlive the window.
Identity ProgramIdentity(std::wstring language);

// The full check of this program from `window` over `http` (WinHTTP when null): its pauses
// end when `ended` is set, which the window does as it goes.
UpdateCheck ProgramUpdateCheck(HWND window, std::shared_ptr<const EndSignal> ended,
                               std::shared_ptr<platform::Http> http, std::wstring language,
                               UpdateNotification& notification, platform::Shell& shell);

// Sends the report of an error shown to the user to `reportOrigin` + "/except.php", in the
// background; nothing when the origin is empty or the personal names cannot be learnt.
void ReportError(const std::wstring& reportOrigin, const std::wstring& language, const std::wstring& text);
