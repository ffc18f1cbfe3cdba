#include "autorun/tasks.h"

#include <vector>

void AddScheduledTasks(platform::TaskScheduler& scheduler, TAutorunList& list) {
  if (scheduler.ConnectTaskService()) AddTaskFolder(scheduler, L"\\", list);
  scheduler.ReleaseTaskService();
}

void AddTaskFolder(platform::TaskScheduler& scheduler, std::wstring_view path, TAutorunList& list) {
  std::vector<platform::RegisteredTask> tasks;
  scheduler.GetTasks(path, tasks); // a failed walk still gives the tasks read before it failed
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
  if (scheduler.ConnectTaskService()) scheduler.SetTaskEnabled(target, enabled);
  scheduler.ReleaseTaskService();
}
