#include "contract/system_contract.h"

namespace {

// FILETIMEs: 100-nanosecond intervals since 1601-01-01 UTC.
constexpr std::uint64_t kYear2020 = 132223104000000000ull;
constexpr std::uint64_t kYear2100 = 157469184000000000ull;

TEST_P(SystemContract, ReportsVersion10OnA64BitMachine) {
  EXPECT_EQ(system_->MajorVersion(), 10u) << "the manifest's supportedOS entries let the program see 10";
  EXPECT_EQ(system_->NativeArchitecture(), platform::kProcessorArchitectureAmd64);
}

TEST_P(SystemContract, TheClockIsAFileTimeOfOurCentury) {
  const std::uint64_t first = system_->UtcNow();
  EXPECT_GT(first, kYear2020);
  EXPECT_LT(first, kYear2100);
  EXPECT_GE(system_->UtcNow(), first) << "the clock never goes back";
}

} // namespace
