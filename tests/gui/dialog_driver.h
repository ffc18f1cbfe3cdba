#pragma once
// Answers a modal dialog of this process from a thread of its own, as a user would, while the
// test's thread sits in the dialog's message loop.
#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

inline BOOL CALLBACK FindOwnDialogStep(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (process != GetCurrentProcessId() || lstrcmpW(name, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// The first visible dialog (class "#32770") of this process, or null.
inline HWND FindOwnDialog() {
  HWND found = nullptr;
  EnumWindows(FindOwnDialogStep, reinterpret_cast<LPARAM>(&found));
  return found;
}

class DialogDriver {
 public:
  // Waits up to thirty seconds for the dialog, then runs `answer` on it from this thread: a dialog
  // left unanswered would hold its test until the suite's time runs out.
  explicit DialogDriver(std::function<void(HWND)> answer)
      : thread_([answer = std::move(answer), this] {
          for (int wait = 0; wait < 3000; ++wait) {
            if (const HWND dialog = FindOwnDialog()) {
              Sleep(50); // laid out and shown
              answer(dialog);
              found = true;
              return;
            }
            Sleep(10);
          }
        }) {}
  ~DialogDriver() { thread_.join(); }
  std::atomic<bool> found = false;

 private:
  std::thread thread_;
};
