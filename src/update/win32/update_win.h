#pragma once
// The update check on Windows: the hand-over to the window's thread, the notification on the
// main window, what the request tells of this program, and the error reports.
#include <windows.h>

#include <string>

#include "platform/shell.h"
#include "toolkit/win32/controls_win.h"
#include "update/check_update.h"

// The message that carries a hand-over to the main window; its procedure answers it with
// RunHandOver.
inline constexpr UINT kHandOverMessage = WM_APP + 0x40;
LRESULT RunHandOver(LPARAM lParam);

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

// What the request tells of this program in `language`. Each piece reads the system afresh on
// the thread that asks, through services of its own: the worker may outlive the window.
Identity ProgramIdentity(std::wstring language);

// The full check of this program from `window` over `http` (WinHTTP when null): 10 ms pauses,
// and the program counts as ending once the window is gone.
UpdateCheck ProgramUpdateCheck(HWND window, std::shared_ptr<platform::Http> http, std::wstring language,
                               UpdateNotification& notification, platform::Shell& shell);

// Sends the report of an error shown to the user to `reportOrigin` + "/except.php", in the
// background; nothing when the origin is empty.
void ReportError(const std::wstring& reportOrigin, const std::wstring& language, const std::wstring& text);
