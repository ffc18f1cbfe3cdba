#pragma once
#include <windows.h>

#include <taskschd.h>

#include "platform/tasks.h"
#include "windows/com_ptr.h"

namespace platform {

// The COM runtime calls that open a Task Scheduler connection, so that tests can put
// in-process objects behind them.
class ComRuntime {
 public:
  virtual ~ComRuntime() = default;
  virtual HRESULT Initialize() = 0;         // CoInitialize(nullptr)
  virtual HRESULT InitializeSecurity() = 0; // CoInitializeSecurity for packet integrity, impersonation
  virtual HRESULT CreateTaskService(ITaskService** service) = 0; // CoCreateInstance, in-process or local
  virtual void Uninitialize() = 0;                               // CoUninitialize
};

class Win32ComRuntime final : public ComRuntime {
 public:
  HRESULT Initialize() override;
  HRESULT InitializeSecurity() override;
  HRESULT CreateTaskService(ITaskService** service) override;
  void Uninitialize() override;
};

// The Task Scheduler 2.0 interfaces.
class Win32TaskScheduler final : public TaskScheduler {
 public:
  explicit Win32TaskScheduler(ComRuntime& com) : com_(com) {}
  ~Win32TaskScheduler() override { ReleaseTaskService(); }

  bool ConnectTaskService() override;
  void ReleaseTaskService() override;
  bool ListTasks(std::wstring_view path, std::vector<RegisteredTask>& tasks) override;
  bool WriteTaskEnabled(std::wstring_view path, bool enabled) override;

 private:
  ComRuntime& com_;
  ComPtr<ITaskService> service_;
};

} // namespace platform
