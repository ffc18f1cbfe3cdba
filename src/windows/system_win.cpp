#include "windows/system_win.h"

#include <windows.h>

namespace platform {

std::uint32_t Win32System::MajorVersion() {
  // GetVersionExW, not RtlGetVersion: the version the manifest lets the program see is the one
  // whose rules it must follow.
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  // An unknown version takes the rules that keep entries rather than delete them.
  if (!GetVersionExW(&info)) return 10;
#pragma GCC diagnostic pop
  return info.dwMajorVersion;
}

std::uint64_t Win32System::UtcNow() {
  SYSTEMTIME now;
  GetSystemTime(&now);
  FILETIME time{};
  SystemTimeToFileTime(&now, &time);
  return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

std::uint16_t Win32System::NativeArchitecture() {
  SYSTEM_INFO info{};
  GetNativeSystemInfo(&info);
  return info.wProcessorArchitecture;
}

} // namespace platform
