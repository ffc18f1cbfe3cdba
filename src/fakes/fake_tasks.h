#pragma once
// An in-memory Task Scheduler with the connection rules of the real one and injectable faults.
#include <cstddef>
#include <optional>

#include "platform/tasks.h"

namespace platform {

class FakeTaskScheduler final : public TaskScheduler {
 public:
  struct Task {
    std::wstring Path; // "\Name" in the root folder, "\Folder\Name" below it
    bool Enabled = true;
    bool Hidden = false;
  };
  std::vector<Task> Tasks;

  bool FailConnect = false;
  std::optional<std::size_t> FailAtItem; // 1-based index of the task whose read fails

  std::size_t Connections = 0; // opened
  std::size_t Releases = 0;    // closed
  bool Connected() const { return connected_; }

  bool ConnectTaskService() override;
  void ReleaseTaskService() override;
  bool ListTasks(std::wstring_view path, std::vector<RegisteredTask>& tasks) override;
  bool WriteTaskEnabled(std::wstring_view path, bool enabled) override;

 private:
  bool connected_ = false;
};

} // namespace platform
