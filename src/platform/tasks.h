#pragma once
// The Task Scheduler, reached through its COM interfaces over a connection that one operation
// opens and closes.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct RegisteredTask {
  std::wstring Name;
  bool Enabled = false;
};

class TaskScheduler {
 public:
  virtual ~TaskScheduler() = default;

  // Opens the connection unless one is open; false when none could be opened.
  virtual bool ConnectTaskService() = 0;
  // Closes the open connection, if any.
  virtual void ReleaseTaskService() = 0;
  // The visible tasks of the folder `path` of the open connection, in the collection's order.
  // False when a call failed; the tasks read before it are kept.
  virtual bool ListTasks(std::wstring_view path, std::vector<RegisteredTask>& tasks) = 0;
  // Sets the enabled flag of the task at `path` of the open connection; false when it failed.
  virtual bool WriteTaskEnabled(std::wstring_view path, bool enabled) = 0;
};

} // namespace platform
