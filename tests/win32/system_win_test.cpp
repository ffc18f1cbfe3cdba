#include <gtest/gtest.h>

#include <ctime>

#include "platform/win32/system_win.h"

namespace {

TEST(Win32System, ReportsVersion10ThroughTheManifest) {
  platform::Win32System system;
  EXPECT_EQ(system.MajorVersion(), 10u);
}

TEST(Win32System, UtcNowIsAFileTimeOfNow) {
  platform::Win32System system;
  constexpr std::uint64_t kUnixEpoch = 116444736000000000ull; // 1970-01-01 as a FILETIME
  const auto seconds = static_cast<std::int64_t>((system.UtcNow() - kUnixEpoch) / 10000000);
  EXPECT_NEAR(static_cast<double>(seconds), static_cast<double>(std::time(nullptr)), 5.0);
}

} // namespace
