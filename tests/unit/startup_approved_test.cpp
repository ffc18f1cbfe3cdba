#include <gtest/gtest.h>

#include "autorun/startup_approved.h"
#include "common/bytes.h"
#include "common/registry_paths.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"

namespace {

using namespace platform;

std::vector<std::byte> Approved(int state) { return ApprovedValue(state, 0x0807060504030201ull); }

class StartupApproved : public ::testing::Test {
 protected:
  FakeRegistry registry;
  TReg reg{registry};
  const std::wstring kApproved = keys::kApprovedRun;
};

TEST_F(StartupApproved, StateByteBitZeroMarksDisabled) {
  const struct {
    const char* what;
    std::vector<std::byte> value;
    bool enabled;
  } cases[] = {
      {"empty", {}, true},
      {"8 bytes starting 03", Bytes({3, 0, 0, 0, 0, 0, 0, 0}), true},
      {"13 bytes starting 03", Bytes({3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), true},
      {"02", Approved(2), true},
      {"06, shown enabled by Windows", Approved(6), true},
      {"00", Approved(0), true},
      {"03", Approved(3), false},
      {"07", Approved(7), false},
      {"01", Approved(1), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsStartupApproved(c.value), c.enabled) << c.what;
    reg.WriteBinary(kCurrentUser, kApproved, L"App", c.value);
    EXPECT_EQ(IsStartupApproved(reg, kCurrentUser, kApproved, L"App"), c.enabled) << c.what;
  }
  EXPECT_TRUE(IsStartupApproved(reg, kCurrentUser, kApproved, L"Missing"));
  reg.WriteString(kCurrentUser, kApproved, L"Text", L"\x0003");
  EXPECT_TRUE(IsStartupApproved(reg, kCurrentUser, kApproved, L"Text")) << "not REG_BINARY";
}

TEST_F(StartupApproved, AKeysStatesAreReadOnceAndFoundWithoutRegardToCase) {
  reg.WriteBinary(kCurrentUser, kApproved, L"Tool", Approved(3));
  reg.WriteBinary(kCurrentUser, kApproved, L"Other", Approved(2));
  reg.WriteString(kCurrentUser, kApproved, L"Text", L"\x0003");
  const ApprovedStates states(registry, kCurrentUser, kApproved);
  reg.WriteBinary(kCurrentUser, kApproved, L"Later", Approved(3)); // after the one read
  constexpr std::uint64_t kTime = 0x0807060504030201ull;
  const struct {
    const wchar_t* name;
    bool enabled;
    std::uint64_t switchedAt;
  } cases[] = {{L"Tool", false, kTime}, {L"TOOL", false, kTime}, {L"tool", false, kTime}, {L"Other", true, kTime},
               {L"Text", true, 0},      {L"Missing", true, 0},   {L"Later", true, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(states.Of(c.name).enabled, c.enabled) << c.name;
    EXPECT_EQ(states.Of(c.name).switchedAt, c.switchedAt) << c.name;
  }

  // A name beyond ASCII: the registry folds its case.
  reg.WriteBinary(kCurrentUser, kApproved, L"ÄRGER", Approved(3));
  const ApprovedStates wider(registry, kCurrentUser, kApproved);
  EXPECT_FALSE(wider.Of(L"ÄRGER").enabled);
  EXPECT_FALSE(wider.Of(L"ärger").enabled);
  EXPECT_EQ(wider.Of(L"ärger").switchedAt, kTime);
  EXPECT_FALSE(wider.Of(L"tOOL").enabled);
  EXPECT_TRUE(wider.Of(L"Missing").enabled);
  EXPECT_TRUE(ApprovedStates(registry, kCurrentUser, kApproved + L"\\Missing").Of(L"Tool").enabled);
}

TEST(StartupApprovedValue, TheTimeOfTheLastSwitchIsThatOfATwelveByteValue) {
  EXPECT_EQ(SwitchTimeOf(Bytes({3, 0, 0, 0, 0xCD, 0xAB, 0x89, 0x67, 0x45, 0x23, 0xDB, 0x01})),
            0x01DB'2345'6789'ABCDull);
  EXPECT_EQ(SwitchTimeOf(Bytes({2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})), 0u) << "as installers write it: never switched";
  EXPECT_EQ(SwitchTimeOf(Bytes({3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9})), 0u) << "13 bytes";
  EXPECT_EQ(SwitchTimeOf(Bytes({3, 0, 0, 0, 1, 2, 3, 4})), 0u) << "8 bytes";
}

TEST(StartupApprovedValue, HoldsTheStateThreeZerosAndTheTimeLowByteFirst) {
  FakeSystem system;
  system.Now = 0x01DB'2345'6789'ABCDull;
  EXPECT_EQ(
      [&] {
        const StartupApprovedValue v = MakeStartupApprovedValue(system, false);
        return std::vector<std::byte>(v.begin(), v.end());
      }(),
      Bytes({3, 0, 0, 0, 0xCD, 0xAB, 0x89, 0x67, 0x45, 0x23, 0xDB, 0x01}));
  system.Now = 0x0102'0304'0506'0708ull;
  const StartupApprovedValue enabled = MakeStartupApprovedValue(system, true);
  EXPECT_EQ(std::vector<std::byte>(enabled.begin(), enabled.end()), Bytes({2, 0, 0, 0, 8, 7, 6, 5, 4, 3, 2, 1}));
}

} // namespace
