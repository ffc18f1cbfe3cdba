#include "contract/tasks_contract.h"

#include <vector>

std::vector<std::wstring> TasksContract::Root() {
  std::vector<platform::RegisteredTask> tasks;
  const bool ok = scheduler_->ListTasks(L"\\", tasks);
  std::vector<std::wstring> names;
  for (const auto& task : tasks) names.push_back(task.Name + (task.Enabled ? L"|on" : L"|off"));
  if (!ok) names.push_back(L"<failed>");
  return names;
}

TEST_P(TasksContract, NothingWorksWithoutAConnection) {
  bed_->AddRootTask(L"Update", true, false);
  EXPECT_EQ(Root(), std::vector<std::wstring>{L"<failed>"});
  EXPECT_FALSE(scheduler_->WriteTaskEnabled(L"\\Update", false));
  ASSERT_TRUE(scheduler_->ConnectTaskService());
  scheduler_->ReleaseTaskService();
  EXPECT_EQ(Root(), std::vector<std::wstring>{L"<failed>"}) << "nor after it is closed";
  scheduler_->ReleaseTaskService(); // closing twice is harmless
}

TEST_P(TasksContract, AnOpenConnectionIsReused) {
  ASSERT_TRUE(scheduler_->ConnectTaskService());
  EXPECT_TRUE(scheduler_->ConnectTaskService());
  scheduler_->ReleaseTaskService();
  bed_->FailConnect();
  EXPECT_FALSE(scheduler_->ConnectTaskService());
}

TEST_P(TasksContract, TheRootFolderListsItsVisibleTasksInOrder) {
  for (const auto& [name, enabled, hidden] : {std::tuple{L"Update", true, false},
                                              {L"Secret", true, true},
                                              {L"Off", false, false},
                                              {L"Backup", true, false}}) {
    bed_->AddRootTask(name, enabled, hidden);
  }
  ASSERT_TRUE(scheduler_->ConnectTaskService());
  EXPECT_EQ(Root(), (std::vector<std::wstring>{L"Update|on", L"Off|off", L"Backup|on"}));
  scheduler_->ReleaseTaskService();
}

TEST_P(TasksContract, AFailureMidWalkKeepsTheTasksBeforeIt) {
  for (const wchar_t* name : {L"One", L"Two", L"Three", L"Four"}) bed_->AddRootTask(name, true, false);
  bed_->FailAtItem(3);
  ASSERT_TRUE(scheduler_->ConnectTaskService());
  EXPECT_EQ(Root(), (std::vector<std::wstring>{L"One|on", L"Two|on", L"<failed>"}));
  scheduler_->ReleaseTaskService();
}

TEST_P(TasksContract, SwitchingATaskIsWhatTheNextWalkGives) {
  bed_->AddRootTask(L"Update", true, false);
  bed_->AddRootTask(L"Off", false, false);
  ASSERT_TRUE(scheduler_->ConnectTaskService());
  EXPECT_TRUE(scheduler_->WriteTaskEnabled(L"\\Update", false));
  EXPECT_TRUE(scheduler_->WriteTaskEnabled(L"\\OFF", true)) << "task names compare without case";
  EXPECT_FALSE(scheduler_->WriteTaskEnabled(L"\\Gone", true));
  EXPECT_EQ(Root(), (std::vector<std::wstring>{L"Update|off", L"Off|on"}));
  scheduler_->ReleaseTaskService();
}
