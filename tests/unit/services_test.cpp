#include <gtest/gtest.h>

#include "autorun/service_source.h"
#include "fakes/fake_services.h"

namespace {

using namespace win;
using platform::FakeServiceManager;

class Services : public ::testing::Test {
 protected:
  void SetUp() override {
    scm.Services = {
        {L"Auto", L"Automatic service", L"C:\\auto.exe", kServiceAutoStart},
        {L"Manual", L"Manual service", L"\"C:\\Program Files\\App\\svc.exe\" -k netsvcs /x", kServiceDemandStart},
        {L"Off", L"Disabled service", L"C:\\off.exe", kServiceDisabled, kServiceWin32ShareProcess},
        {L"Driver", L"Kernel driver", L"\\SystemRoot\\driver.sys", kServiceAutoStart, 1},
        {L"Boot", L"Boot start", L"C:\\boot.exe", 0},
    };
  }
  void TearDown() override { EXPECT_EQ(scm.OpenHandles(), 0u) << "a handle was left open"; }

  std::vector<std::wstring> Targets() const {
    std::vector<std::wstring> targets;
    for (const auto& entry : list) targets.push_back(entry->Target);
    return targets;
  }

  FakeServiceManager scm;
  AutorunList list;
};

TEST_F(Services, ListsEveryWin32ServiceWithItsFields) {
  list.push_back(std::make_unique<TAutorunInfo>());
  AddServices(scm, list);
  ASSERT_EQ(list.size(), 5u) << "appended after what the list held; drivers are not listed";
  const TAutorunInfo& manual = *list[2];
  EXPECT_EQ(manual.FileName, L"\"C:\\Program Files\\App\\svc.exe\" -k netsvcs /x");
  EXPECT_EQ(manual.RawData, manual.FileName);
  EXPECT_EQ(manual.Caption, L"Manual service");
  EXPECT_EQ(manual.Target, L"Manual");
  EXPECT_EQ(manual.From, L"SERV");
  const bool enabled[] = {true, false, false, false};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(list[i + 1]->Enabled, enabled[i]) << i;
  EXPECT_EQ(scm.ManagerAccess, std::vector<std::uint32_t>{5});
  EXPECT_EQ(scm.ServiceAccess, std::vector<std::uint32_t>(4, 1));
  EXPECT_EQ(scm.EnumerationCalls, 2u);
}

TEST_F(Services, FailuresLeaveOutWhatCannotBeRead) {
  scm.FailOpenManager = true;
  AddServices(scm, list);
  EXPECT_TRUE(list.empty()) << "manager cannot be opened";

  scm.FailOpenManager = false;
  scm.AddServiceBetweenCalls = true;
  AddServices(scm, list);
  EXPECT_TRUE(list.empty()) << "services changed between the two enumeration calls";
  EXPECT_EQ(scm.EnumerationCalls, 2u);

  scm.AddServiceBetweenCalls = false;
  scm.Services[0].CanOpen = false;
  scm.Services[2].CanQuery = false;
  AddServices(scm, list);
  EXPECT_EQ(Targets(), (std::vector<std::wstring>{L"Manual", L"Boot", L"Late"}));

  scm.Services.clear();
  list.clear();
  AddServices(scm, list);
  EXPECT_TRUE(list.empty()) << "no services at all";
}

TEST_F(Services, SwitchingSetsAutomaticOrDisabledStart) {
  SetServiceEnabled(scm, L"Manual", true);
  EXPECT_EQ(scm.Find(L"Manual")->StartType, kServiceAutoStart);
  SetServiceEnabled(scm, L"manual", false);
  EXPECT_EQ(scm.Find(L"Manual")->StartType, kServiceDisabled) << "disabled, never manual start";
  EXPECT_EQ(scm.Changes, (std::vector<FakeServiceManager::Change>{{kServiceNoChange, 2, kServiceNoChange},
                                                                  {kServiceNoChange, 4, kServiceNoChange}}));
  EXPECT_EQ(scm.ManagerAccess, (std::vector<std::uint32_t>{1, 1}));
  EXPECT_EQ(scm.ServiceAccess, (std::vector<std::uint32_t>{0x22, 0x22}));

  AddServices(scm, list);
  EXPECT_FALSE(list[1]->Enabled);
  SetServiceEnabled(scm, L"Manual", true);
  list.clear();
  AddServices(scm, list);
  EXPECT_TRUE(list[1]->Enabled) << "the next reading shows the change";
}

TEST_F(Services, RefusedSwitchesChangeNothing) {
  SetServiceEnabled(scm, L"Nonexistent", true);
  scm.RefuseChange = true;
  SetServiceEnabled(scm, L"Manual", true);
  scm.RefuseChange = false;
  scm.FailOpenManager = true;
  SetServiceEnabled(scm, L"Manual", true);
  EXPECT_EQ(scm.Find(L"Manual")->StartType, kServiceDemandStart);
  EXPECT_TRUE(scm.Changes.empty());
}

} // namespace
