// Times a program's start from outside, the same way for any program: from CreateProcessW until
// its window shows. `start_to_window.exe notepad.exe` waits for a visible top-level window of the
// new process whose thread then answers a message, so that it has left its start-up code and
// painted; the program is closed afterwards. `start_to_window.exe --exit COMMAND` waits for the
// program to end instead, for one that ends once it has shown what is timed (window_bench.exe
// --start ends after its first painted list). Prints the milliseconds.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <type_traits>

namespace {

using Owned = std::unique_ptr<std::remove_pointer_t<HANDLE>, decltype(&CloseHandle)>;

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindShown(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<Search*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search.process || !IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
  search.found = window;
  return FALSE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  const bool untilExit = argc > 2 && lstrcmpW(argv[1], L"--exit") == 0;
  if (argc < 2 + (untilExit ? 1 : 0)) {
    std::fprintf(stderr, "usage: start_to_window [--exit] PROGRAM [ARGS...]\n");
    return 2;
  }
  std::wstring command;
  for (int i = untilExit ? 2 : 1; i < argc; ++i)
    command += (command.empty() ? L"\"" : L" \"") + std::wstring(argv[i]) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  const auto start = std::chrono::steady_clock::now();
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    std::fprintf(stderr, "cannot start it: %lu\n", GetLastError());
    return 1;
  }
  const Owned process(info.hProcess, &CloseHandle);
  const Owned thread(info.hThread, &CloseHandle);
  Search search{info.dwProcessId, nullptr};
  if (untilExit) {
    WaitForSingleObject(process.get(), INFINITE);
  } else {
    DWORD_PTR answer = 0;
    while (!search.found || !SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer)) {
      if (WaitForSingleObject(process.get(), 1) == WAIT_OBJECT_0) {
        std::fprintf(stderr, "it ended before it showed a window\n");
        return 1;
      }
      search.found = nullptr;
      EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
    }
  }
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("%.0f\n", ms);
  if (search.found) {
    PostMessageW(search.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.get(), 5000) != WAIT_OBJECT_0) TerminateProcess(process.get(), 0);
  }
  return 0;
}
