// tarnwick.exe: the program's window. One instance runs at a time.
#include <windows.h>

#include <commctrl.h>
#include <sddl.h>

#include "app/program_win.h"
#include "autorun/startup_folders.h"
#include "support/utf8.h"
#include "update/background.h"
#include "update/win32/update_win.h"
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

// The name of the one-instance mutex: "TarnwickMutex" in a private namespace bounded by the
// Administrators group, which only an elevated administrator's process can create or open, so
// that no other program can keep this one from starting by holding the name first. Where the
// system has no private namespaces (Wine), or the namespace cannot be had, the session's name.
// The namespace stays open until the process ends.
std::wstring InstanceMutexName() {
  const HANDLE boundary = CreateBoundaryDescriptorW(L"Tarnwick", 0);
  if (!boundary) return L"TarnwickMutex";
  HANDLE space = nullptr;
  BYTE administrators[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof(administrators);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  HANDLE scope = boundary; // AddSIDToBoundaryDescriptor may move it
  if (CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size) &&
      AddSIDToBoundaryDescriptor(&scope, administrators) &&
      ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;GA;;;BA)", SDDL_REVISION_1, &descriptor, nullptr)) {
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
    space = CreatePrivateNamespaceW(&attributes, scope, L"Tarnwick");
    if (!space && GetLastError() == ERROR_ALREADY_EXISTS) space = OpenPrivateNamespaceW(scope, L"Tarnwick");
    LocalFree(descriptor);
  }
  DeleteBoundaryDescriptor(scope);
  return space ? L"Tarnwick\\TarnwickMutex" : L"TarnwickMutex";
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
  const std::wstring mutex = InstanceMutexName();
  // Another instance runs: it comes to the front, and this one ends.
  if (const HANDLE running = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, mutex.c_str())) {
    CloseHandle(running);
    ShowRunningWindow();
    return 0;
  }
  CreateMutexW(nullptr, TRUE, mutex.c_str()); // held until the process ends
  const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  RunWindow();
  // A "hold" notice or an error report sent just before the window closed gets a moment to
  // go. The start-up request may still be in flight on its own thread: the process ends here
  // with it, before the program's static data is torn down under it.
  WaitForBackgroundRequests(std::chrono::seconds(5));
  ExitProcess(0);
}
