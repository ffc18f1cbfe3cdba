// Drives the program's window from another process of the same Wine desktop, as a user would:
// waits for the update dialog, pictures it, ticks its box, answers it; reads the notice; presses
// F5 in the list; minimises the window and tells its state; closes it. Also stands in for the
// browser that opens addresses, and notes which program started it.
//   window_driver dialog-shot FILE | dialog-tick | dialog-press yes|no | status-text
//   window_driver window-shot FILE | list-rows | row-count | reload | minimise | window-state | close
//   window_driver record FILE ADDRESS
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>

#include <commctrl.h>
#include <tlhelp32.h>

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

BOOL CALLBACK FindStep(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<std::pair<const wchar_t*, HWND>*>(data);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (lstrcmpiW(name, search->first) != 0) return TRUE;
  search->second = window;
  return FALSE;
}

HWND MainWindow() { return FindWindowW(L"TarnwickForm", L"Tarnwick"); }
// The main window once the program has shown it: the window is made hidden, and a minimise that
// came before the showing would be undone by it.
HWND ShownMainWindow() {
  return WaitFor([] {
    const HWND window = MainWindow();
    return window && IsWindowVisible(window) ? window : nullptr;
  });
}
// The update dialog once it is shown, its controls made.
HWND Dialog() {
  return WaitFor([] {
    const HWND dialog = FindWindowW(L"#32770", L"Tarnwick");
    return dialog && IsWindowVisible(dialog) ? dialog : nullptr;
  });
}
// The first window of `windowClass` anywhere below `parent`, or null.
HWND Descendant(HWND parent, const wchar_t* windowClass) {
  std::pair<const wchar_t*, HWND> search{windowClass, nullptr};
  if (parent) {
    EnumChildWindows(parent, FindStep, reinterpret_cast<LPARAM>(&search));
  }
  return search.second;
}

HWND NoticeBar() {
  return WaitFor([] { return Descendant(MainWindow(), STATUSCLASSNAMEW); });
}

// Memory in another process, for the messages whose pointers Wine does not carry across.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, std::size_t size) : size_(size) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  explicit operator bool() const { return address_ != nullptr; }
  void* Address() const { return address_; }
  bool Write(const void* data, std::size_t size) const {
    return size <= size_ && WriteProcessMemory(process_, address_, data, size, nullptr);
  }
  bool Read(void* data, std::size_t size) const {
    return size <= size_ && ReadProcessMemory(process_, address_, data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  std::size_t size_;
};

// The file name of the program that started this one, or "?".
std::wstring ParentProgram() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return L"?";
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  DWORD parent = 0;
  std::wstring name = L"?";
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId()) parent = entry.th32ParentProcessID;
  }
  for (BOOL more = Process32FirstW(snapshot, &entry); more && parent; more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ProcessID == parent) name = entry.szExeFile;
  }
  CloseHandle(snapshot);
  return name;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  const wchar_t* argument = argc > 2 ? argv[2] : L"";
  if (command == L"dialog-shot" || command == L"window-shot") {
    const HWND window = command == L"dialog-shot" ? Dialog() : ShownMainWindow();
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
    // SB_GETTEXT, as a screen reader asks, into a buffer in the program's own memory.
    wchar_t text[256] = {};
    const RemoteBuffer remote(bar, sizeof(text));
    const bool read = remote && SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(remote.Address())) &&
                      remote.Read(text, sizeof(text) - sizeof(wchar_t));
    std::fputs(Utf8FromWide(text).c_str(), stdout);
    return read ? 0 : 1;
  }
  if (command == L"list-rows") { // the names of the list's rows, a line each, as a screen reader reads them
    const HWND list = WaitFor([] { return Descendant(MainWindow(), WC_LISTVIEWW); });
    if (!list) return 1;
    struct Request {
      LVITEMW item;
      wchar_t text[256];
    };
    const RemoteBuffer remote(list, sizeof(Request));
    if (!remote) return 1;
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
      Request request{};
      request.item.iSubItem = 0;
      request.item.cchTextMax = 256;
      request.item.pszText = reinterpret_cast<Request*>(remote.Address())->text;
      if (!remote.Write(&request, sizeof(request)) ||
          SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote.Address())) < 0 ||
          !remote.Read(&request, sizeof(request))) {
        return 1;
      }
      request.text[255] = L'\0';
      std::printf("%s\n", Utf8FromWide(request.text).c_str());
    }
    return 0;
  }
  if (command == L"row-count") { // asks nothing of the program's memory, so it works wherever the program runs
    const HWND list = WaitFor([] { return Descendant(MainWindow(), WC_LISTVIEWW); });
    if (!list) return 1;
    std::printf("%d\n", static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    return 0;
  }
  if (command == L"reload") { // F5 in the list; the reload runs after this returns
    const HWND list = WaitFor([] { return Descendant(MainWindow(), WC_LISTVIEWW); });
    return list && PostMessageW(list, WM_KEYDOWN, VK_F5, 0) ? 0 : 1;
  }
  if (command == L"minimise") {
    const HWND window = ShownMainWindow();
    if (!window) return 1;
    ShowWindow(window, SW_MINIMIZE);
    return 0;
  }
  if (command == L"window-state") { // "minimised" or "restored", then "front" or "behind"
    const HWND window = MainWindow();
    if (!window) return 1;
    std::printf("%s %s\n", IsIconic(window) ? "minimised" : "restored",
                GetForegroundWindow() == window ? "front" : "behind");
    return 0;
  }
  if (command == L"close") return PostMessageW(MainWindow(), WM_CLOSE, 0, 0) ? 0 : 1;
  if (command == L"record" && argc > 3) { // the address, a tab, and the program that opened it
    FILE* file = _wfopen(argument, L"ab");
    if (!file) return 1;
    std::fprintf(file, "%s\t%s\n", Utf8FromWide(argv[3]).c_str(), Utf8FromWide(ParentProgram()).c_str());
    std::fclose(file);
    return 0;
  }
  std::fputs("usage: window_driver dialog-shot FILE | dialog-tick | dialog-press yes|no | status-text |"
              " window-shot FILE | list-rows | row-count | reload | minimise | window-state | close |"
              " record FILE ADDRESS\n",
              stderr);
  return 2;
}
