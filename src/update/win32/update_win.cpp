#include "update/win32/update_win.h"

#include <shlobj.h>

#include <chrono>
#include <random>

#include "platform/win32/file_info_win.h"
#include "platform/win32/http_win.h"
#include "platform/win32/registry_win.h"
#include "update/error_report.h"
#include "update/update_text.h"
#include "update/win32/update_dialog_win.h"
#include "update/win32/update_status_win.h"

LRESULT RunHandOver(LPARAM lParam) {
  RunHandler(*reinterpret_cast<const std::function<void()>*>(lParam));
  return TRUE;
}

bool WindowThread::HandOver(const std::function<void()>& step) {
  return SendMessageW(window_, kHandOverMessage, 0, reinterpret_cast<LPARAM>(&step)) == TRUE;
}

void WindowThread::ServeUntil(const std::function<bool()>& ended) {
  while (!ended()) {
    // Messages sent from the worker are delivered inside this wait and the peek.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
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

// The run-time library's generator, seeded once from the clock at the first identifier.
std::uint32_t Random(std::uint32_t bound) {
  static std::minstd_rand generator(
      static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(generator);
}

LocalTime Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

} // namespace

Identity ProgramIdentity(std::wstring language) {
  return Identity{ProgramVersion, std::move(language), false, [] {
                    platform::Win32Registry registry;
                    return GetUnionID(registry, [] { return NewUnionID(Random, Now); });
                  }};
}

UpdateCheck ProgramUpdateCheck(HWND window, std::shared_ptr<platform::Http> http, std::wstring language,
                               UpdateNotification& notification, platform::Shell& shell) {
  return UpdateCheck{http ? std::move(http) : std::make_shared<platform::Win32Http>(),
                     ProgramIdentity(std::move(language)),
                     [window] { return !IsWindow(window); },
                     [] { Sleep(10); },
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
  wchar_t profile[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, 0, profile);
  SendErrorReport(std::make_shared<platform::Win32Http>(), reportOrigin + L"/except.php",
                  ErrorReportBody({ProgramVersion(), windows, language, text}, profile));
}
