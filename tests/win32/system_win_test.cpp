#include <ctime>

#include "contract/system_contract.h"
#include "windows/system_win.h"

namespace {

INSTANTIATE_TEST_SUITE_P(Win32, SystemContract,
                         ::testing::Values(SystemTarget{"Win32",
                                                        [] { return std::make_unique<platform::Win32System>(); }}),
                         [](const auto& info) { return info.param.name; });

TEST(Win32System, UtcNowIsAFileTimeOfNow) {
  platform::Win32System system;
  constexpr std::uint64_t kUnixEpoch = 116444736000000000ull; // 1970-01-01 as a FILETIME
  const auto seconds = static_cast<std::int64_t>((system.UtcNow() - kUnixEpoch) / 10000000);
  EXPECT_NEAR(static_cast<double>(seconds), static_cast<double>(std::time(nullptr)), 5.0);
}

} // namespace
