#pragma once
// One suite of Task Scheduler behaviour that the fake and the COM walk must both show: the
// connection's rules, the root folder's tasks in order without hidden ones, a failure mid-walk,
// and switching a task.
#include <string>

#include <gtest/gtest.h>

#include "contract/target.h"

#include "platform/tasks.h"

// A scheduler whose root folder holds the tasks a case gives it.
class TasksBed {
 public:
  virtual ~TasksBed() = default;
  virtual platform::TaskScheduler& Scheduler() = 0;
  virtual void AddRootTask(const std::wstring& name, bool enabled, bool hidden) = 0;
  // Reading the task at this 1-based index of the root folder fails.
  virtual void FailAtItem(std::size_t item) = 0;
  virtual void FailConnect() = 0;
};

using TasksTarget = ContractTarget<TasksBed>;

class TasksContract : public ::testing::TestWithParam<TasksTarget> {
 protected:
  void SetUp() override {
    bed_ = GetParam().make();
    scheduler_ = &bed_->Scheduler();
  }
  // "name|on" or "name|off" per task of the root folder; "<failed>" ends a failed walk.
  std::vector<std::wstring> Root();

  std::unique_ptr<TasksBed> bed_;
  platform::TaskScheduler* scheduler_ = nullptr;
};
