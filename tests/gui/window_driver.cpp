// Drives the program's window from another process of the same Wine desktop, as a user would:
// waits for the update dialog, pictures it, ticks its box, answers it; reads the notice; closes
// the window. Also stands in for the browser that opens addresses.
//   window_driver dialog-shot FILE | dialog-tick | dialog-press yes|no | status-text
//   window_driver window-shot FILE | close | record FILE ADDRESS
#include <windows.h>

#include <cstdio>
#include <string>

#include <commctrl.h>

#include "gallery.h"
#include "support/utf8.h"
#include "update/win32/update_dialog_win.h"

namespace {

// Waits up to 30 seconds for what `find` finds.
template <typename Find>
HWND WaitFor(Find find) {
  for (int wait = 0; wait < 3000; ++wait) {
    if (const HWND found = find()) return found;
    Sleep(10);
  }
  return nullptr;
}

HWND MainWindow() { return FindWindowW(L"TarnwickForm", L"Tarnwick"); }
// The update dialog once it is shown, its controls made.
HWND Dialog() {
  return WaitFor([] {
    const HWND dialog = FindWindowW(L"#32770", L"Tarnwick");
    return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
  });
}
HWND NoticeBar() {
  return WaitFor([] { return MainWindow() ? FindWindowExW(MainWindow(), nullptr, STATUSCLASSNAMEW, nullptr) : nullptr; });
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  const wchar_t* argument = argc > 2 ? argv[2] : L"";
  if (command == L"dialog-shot" || command == L"window-shot") {
    const HWND window = command == L"dialog-shot" ? Dialog() : WaitFor(MainWindow);
    if (!window) return 1;
    Sleep(300); // painted
    return SaveWindowPicture(window, argument) ? 0 : 1;
  }
  if (command == L"dialog-tick") {
    const HWND dialog = Dialog();
    const HWND box = dialog ? GetDlgItem(dialog, kUpdateHoldBox) : nullptr;
    if (!box) return 1;
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    return 0;
  }
  if (command == L"dialog-press") {
    const HWND dialog = Dialog();
    return dialog && PostMessageW(dialog, WM_COMMAND, std::wstring(argument) == L"yes" ? IDYES : IDNO, 0) ? 0 : 1;
  }
  if (command == L"status-text") {
    const HWND bar = NoticeBar();
    if (!bar) return 1;
    // SB_GETTEXT, as a screen reader asks, into a buffer in the program's own memory: Wine does
    // not carry the pointers of common-control messages across processes.
    DWORD process = 0;
    GetWindowThreadProcessId(bar, &process);
    const HANDLE program = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (!program) return 1;
    wchar_t text[256] = {};
    void* remote = VirtualAllocEx(program, nullptr, sizeof(text), MEM_COMMIT, PAGE_READWRITE);
    const bool read = remote && SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(remote)) &&
                      ReadProcessMemory(program, remote, text, sizeof(text) - sizeof(wchar_t), nullptr);
    if (remote) VirtualFreeEx(program, remote, 0, MEM_RELEASE);
    CloseHandle(program);
    std::fputs(Utf8FromWide(text).c_str(), stdout);
    return read ? 0 : 1;
  }
  if (command == L"close") return PostMessageW(MainWindow(), WM_CLOSE, 0, 0) ? 0 : 1;
  if (command == L"record" && argc > 3) {
    FILE* file = _wfopen(argument, L"ab");
    if (!file) return 1;
    std::fprintf(file, "%s\n", Utf8FromWide(argv[3]).c_str());
    std::fclose(file);
    return 0;
  }
  std::fputs("usage: window_driver dialog-shot FILE | dialog-tick | dialog-press yes|no | status-text |"
              " window-shot FILE | close | record FILE ADDRESS\n",
              stderr);
  return 2;
}
