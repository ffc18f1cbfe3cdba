#include <gtest/gtest.h>

#include "autorun/catalogue.h"
#include "autorun/task_source.h"
#include "contract/tasks_contract.h"
#include "fake_task_com.h"
#include "fakes/fake_platform.h"

namespace {

// The task contract against the COM walk, over in-process Task Scheduler objects.
class ComTasksBed final : public TasksBed {
 public:
  ~ComTasksBed() override {
    scheduler_.ReleaseTaskService();
    EXPECT_EQ(fakecom::liveObjects, 0) << "a COM object was not released";
    EXPECT_EQ(runtime_.Initialized, 0) << "CoInitialize and CoUninitialize do not balance";
  }
  platform::TaskScheduler& Scheduler() override { return scheduler_; }
  void AddRootTask(const std::wstring& name, bool enabled, bool hidden) override {
    com_.RootTasks.push_back({name, enabled, hidden});
  }
  void FailAtItem(std::size_t item) override { com_.FailAtItem = static_cast<LONG>(item); }
  void FailConnect() override { com_.ConnectResult = E_ACCESSDENIED; }

 private:
  fakecom::Scheduler com_;
  fakecom::Runtime runtime_{com_};
  platform::Win32TaskScheduler scheduler_{runtime_};
};

INSTANTIATE_TEST_SUITE_P(Win32, TasksContract,
                         ::testing::Values(TasksTarget{"Com", [] { return std::make_unique<ComTasksBed>(); }}),
                         [](const auto& info) { return info.param.name; });

class Win32Tasks : public ::testing::Test {
 protected:
  void SetUp() override {
    com.RootTasks = {{L"Update"}, {L"Secret", true, true}, {L"Off", false}, {L"Backup"}, {L"Report"}};
  }
  void TearDown() override {
    EXPECT_EQ(fakecom::liveObjects, 0) << "a COM object was not released";
    EXPECT_EQ(runtime.Initialized, 0) << "CoInitialize and CoUninitialize do not balance";
  }
  std::vector<std::wstring> Rows() {
    list.clear();
    AddScheduledTasks(scheduler, list);
    std::vector<std::wstring> rows;
    for (const auto& e : list) rows.push_back(e->Target + L"|" + e->Caption + (e->Enabled ? L"|on" : L"|off"));
    return rows;
  }

  fakecom::Scheduler com;
  fakecom::Runtime runtime{com};
  platform::Win32TaskScheduler scheduler{runtime};
  AutorunList list;
};

TEST_F(Win32Tasks, WalksTheRootFolderWithoutHiddenTasks) {
  EXPECT_EQ(Rows(), (std::vector<std::wstring>{L"\\Update|Update|on", L"\\Off|Off|off", L"\\Backup|Backup|on",
                                               L"\\Report|Report|on"}));
  EXPECT_TRUE(com.ConnectArgumentsWereEmpty) << "server, user, domain and password are VT_EMPTY";
  EXPECT_EQ(com.FoldersAsked, std::vector<std::wstring>{L"\\"});
  EXPECT_EQ(com.GetTasksFlags, std::vector<LONG>{0});
}

TEST_F(Win32Tasks, ConnectionRulesOfTheComRuntime) {
  const struct {
    const char* what;
    HRESULT initialize, security, create, connect;
    bool connects;
  } cases[] = {
      {"all succeed", S_OK, S_OK, S_OK, S_OK, true},
      {"COM already initialised on the thread", S_FALSE, S_OK, S_OK, S_OK, true},
      {"security set already", S_OK, RPC_E_TOO_LATE, S_OK, S_OK, true},
      {"COM cannot start", E_OUTOFMEMORY, S_OK, S_OK, S_OK, false},
      {"security refused", S_OK, E_ACCESSDENIED, S_OK, S_OK, false},
      {"no Task Scheduler", S_OK, S_OK, REGDB_E_CLASSNOTREG, S_OK, false},
      {"connection refused", S_OK, S_OK, S_OK, E_ACCESSDENIED, false},
  };
  for (const auto& c : cases) {
    runtime.InitializeResult = c.initialize;
    runtime.SecurityResult = c.security;
    runtime.CreateResult = c.create;
    com.ConnectResult = c.connect;
    EXPECT_EQ(scheduler.ConnectTaskService(), c.connects) << c.what;
    EXPECT_EQ(scheduler.ConnectTaskService(), c.connects) << c.what << ": an open connection is reused";
    EXPECT_EQ(runtime.Initialized, c.connects ? 1 : 0) << c.what;
    scheduler.ReleaseTaskService();
    scheduler.ReleaseTaskService();
    EXPECT_EQ(runtime.Initialized, 0) << c.what << ": one CoUninitialize per connection";
    EXPECT_EQ(fakecom::liveObjects, 0) << c.what;
  }
}

TEST_F(Win32Tasks, NoConnectionGivesNoTasksAndTheServicesFollow) {
  runtime.CreateResult = REGDB_E_CLASSNOTREG;
  platform::FakePlatform fake;
  fake.services.Services = {{L"Svc", L"A service", L"C:\\svc.exe", 2}};
  const FolderTokens tokens;
  SystemCatalogue catalogue(fake.registry, fake.files, scheduler, fake.services, fake.system, tokens);
  catalogue.GetAutorunList(list);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0]->From, L"SERV");
}

TEST_F(Win32Tasks, SwitchingSetsTheFlagThroughTheRootFolder) {
  SetTaskEnabled(scheduler, L"\\Off", true);
  EXPECT_TRUE(com.RootTasks[2].Enabled);
  SetTaskEnabled(scheduler, L"\\Update", false);
  EXPECT_FALSE(com.RootTasks[0].Enabled);
  SetTaskEnabled(scheduler, L"\\Gone", false);
  EXPECT_EQ(com.TasksAsked, (std::vector<std::wstring>{L"\\Off", L"\\Update", L"\\Gone"}));
  EXPECT_EQ(com.FoldersAsked, (std::vector<std::wstring>{L"\\", L"\\", L"\\"}));
}

TEST(Win32TaskScheduler, WinesSchedulerDegradesToNoTasks) {
  platform::Win32ComRuntime runtime;
  platform::Win32TaskScheduler scheduler(runtime);
  AutorunList list;
  AddScheduledTasks(scheduler, list);
  AddScheduledTasks(scheduler, list); // security is set by now: RPC_E_TOO_LATE
  EXPECT_TRUE(list.empty()) << "Wine 8 cannot enumerate tasks; on Windows this lists the root folder";
  ASSERT_TRUE(scheduler.ConnectTaskService()) << "the connection itself works, also the second time";
  scheduler.ReleaseTaskService();
}

} // namespace
