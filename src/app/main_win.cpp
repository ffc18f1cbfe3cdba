// tarnwick.exe: the program's window. One instance runs at a time.
#include <windows.h>

#include <commctrl.h>

#include "app/instance_guard_win.h"
#include "app/program_win.h"
#include "autorun/startup_folders.h"
#include "support/utf8.h"
#include "update/background.h"
#include "update/win32/update_win.h"
#include "windows/files_win.h"
#include "windows/system_dll.h"

namespace {

// An error that escaped an event handler: the box with the error text and a single Close
// button (the system's own, in the user's language), and the report sent in the background
// when the build names a report server; the program goes on.
void ShowErrorBox(HWND owner, const std::exception& error, const std::wstring& language) {
  const auto* file = dynamic_cast<const StartupFileError*>(&error);
  const std::wstring text = file ? file->Message() : WideFromUtf8(error.what());
  ReportError(TARNWICK_REPORT_URL, language, text);
  TASKDIALOGCONFIG box{};
  box.cbSize = sizeof(box);
  box.hwndParent = owner;
  box.dwFlags = TDF_POSITION_RELATIVE_TO_WINDOW;
  box.dwCommonButtons = TDCBF_CLOSE_BUTTON;
  box.pszWindowTitle = L"Tarnwick";
  box.pszMainIcon = TD_ERROR_ICON;
  box.pszContent = text.c_str();
  TaskDialogIndirect(&box, nullptr, nullptr, nullptr);
}

// The window and its message loop, until the window closes.
void RunWindow() {
  Program program;
  MainWindowServices services = program.Services(TARNWICK_SITE_URL, TARNWICK_INFO_URL);
  services.api = TARNWICK_API_URL;
  TFrmTarnwick window(services, program.translation);
  program.saveDialog.SetOwner(window.Handle());
  SetUnexpectedErrorHandler([&](const std::exception& error) {
    ShowErrorBox(window.Handle(), error, program.translation.CurrentLanguage);
  });
  window.OnDestroy = [] { PostQuitMessage(0); };
  window.Show();

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window.Handle(), &message)) continue; // Tab, Space and Enter among the controls
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// The program cannot make sure that it runs once: the box with the system's reason, and the
// program ends.
void ShowStartError(DWORD error) {
  const std::wstring text = platform::SystemMessage(error);
  TASKDIALOGCONFIG box{};
  box.cbSize = sizeof(box);
  box.dwCommonButtons = TDCBF_CLOSE_BUTTON;
  box.pszWindowTitle = L"Tarnwick";
  box.pszMainIcon = TD_ERROR_ICON;
  box.pszContent = text.c_str();
  TaskDialogIndirect(&box, nullptr, nullptr, nullptr);
}

// Brings the running instance's window to the front, restored if minimised. It may still be on
// its way up: it gets a moment to appear.
void ShowRunningWindow() {
  for (int wait = 0; wait < 30; ++wait, Sleep(100)) {
    if (const HWND window = FindWindowW(kFormClass, L"Tarnwick")) {
      if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
      SetForegroundWindow(window);
      return;
    }
  }
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  platform::RestrictDllSearchToSystem32();
  const InstanceGuard guard(L"TarnwickMutex"); // held until the process ends
  switch (guard.Result()) {
    case InstanceGuard::Claim::First:
      break;
    case InstanceGuard::Claim::Running: // it comes to the front, and this one ends
      ShowRunningWindow();
      return 0;
    case InstanceGuard::Claim::Failed:
      // Only an elevated administrator's process runs this program, and such a process can
      // always have the namespace: this does not happen in normal use. Running unguarded
      // would let a second instance switch entries under the first.
      ShowStartError(guard.Error());
      return 1;
  }
  const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  RunWindow();
  // A "hold" notice or an error report sent just before the window closed gets a moment to
  // go. The start-up request may still be in flight on its own thread: the process ends here
  // with it, before the program's static data is torn down under it.
  WaitForBackgroundRequests(std::chrono::seconds(5));
  ExitProcess(0);
}
