#include "fakes/fake_tasks.h"

#include "support/text.h"

namespace platform {

bool FakeTaskScheduler::ConnectTaskService() {
  if (connected_) return true;
  if (FailConnect) return false;
  connected_ = true;
  ++Connections;
  return true;
}

void FakeTaskScheduler::ReleaseTaskService() {
  if (!connected_) return;
  connected_ = false;
  ++Releases;
}

bool FakeTaskScheduler::ListTasks(std::wstring_view path, std::vector<RegisteredTask>& tasks) {
  if (!connected_) return false;
  std::wstring folder(path);
  if (!folder.ends_with(L'\\')) folder += L'\\';
  std::size_t item = 0;
  for (const Task& task : Tasks) {
    const bool inFolder =
        StartsWithAsciiNoCase(task.Path, folder) && task.Path.find(L'\\', folder.size()) == std::wstring::npos;
    if (!inFolder || task.Hidden) continue;
    if (FailAtItem && ++item == *FailAtItem) return false;
    tasks.push_back(RegisteredTask{task.Path.substr(folder.size()), task.Enabled});
  }
  return true;
}

bool FakeTaskScheduler::WriteTaskEnabled(std::wstring_view path, bool enabled) {
  if (!connected_) return false;
  for (Task& task : Tasks) {
    if (EqualsAsciiNoCase(task.Path, path)) {
      task.Enabled = enabled;
      return true;
    }
  }
  return false;
}

} // namespace platform
