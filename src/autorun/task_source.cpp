#include "autorun/task_source.h"

#include <vector>

namespace {

// Closes the connection however the operation ends.
struct Connection {
  platform::TaskScheduler& scheduler;
  ~Connection() { scheduler.ReleaseTaskService(); }
};

} // namespace

void AddScheduledTasks(platform::TaskScheduler& scheduler, AutorunList& list) {
  const Connection connection{scheduler};
  if (scheduler.ConnectTaskService()) AddTaskFolder(scheduler, L"\\", list);
}

void AddTaskFolder(platform::TaskScheduler& scheduler, std::wstring_view path, AutorunList& list) {
  std::vector<platform::RegisteredTask> tasks;
  scheduler.ListTasks(path, tasks); // a failed walk still gives the tasks read before it failed
  std::wstring folder(path);
  if (folder.ends_with(L'\\')) folder.pop_back();
  for (platform::RegisteredTask& task : tasks) {
    auto entry = std::make_unique<TAutorunInfo>();
    entry->Target = folder + L"\\" + task.Name;
    entry->Caption = std::move(task.Name);
    entry->From = kTagTask;
    entry->Enabled = task.Enabled;
    list.push_back(std::move(entry));
  }
}

void SetTaskEnabled(platform::TaskScheduler& scheduler, std::wstring_view target, bool enabled) {
  const Connection connection{scheduler};
  if (scheduler.ConnectTaskService()) scheduler.WriteTaskEnabled(target, enabled);
}
