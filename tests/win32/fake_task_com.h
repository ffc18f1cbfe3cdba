#pragma once
// In-process Task Scheduler objects behind the real COM interfaces, for the walk that Wine's
// own Task Scheduler cannot do (its task collection answers E_NOTIMPL). Every object counts
// itself, so a test can prove that all were released.
#include <windows.h>

#include <taskschd.h>

#include <optional>
#include <string>
#include <vector>

#include "windows/tasks_win.h"

namespace fakecom {

inline int liveObjects = 0;

struct Task {
  std::wstring Name;
  bool Enabled = true;
  bool Hidden = false;
};

// What the fake service holds and what was asked of it.
struct Scheduler {
  std::vector<Task> RootTasks;
  std::optional<LONG> FailAtItem; // get_Item of this 1-based index fails
  bool ConnectArgumentsWereEmpty = false;
  HRESULT ConnectResult = S_OK;
  std::vector<std::wstring> FoldersAsked;
  std::vector<LONG> GetTasksFlags;
  std::vector<std::wstring> TasksAsked; // GetTask paths
};

template <typename I>
class Dispatch : public I {
 public:
  Dispatch() { ++liveObjects; }
  Dispatch(const Dispatch&) = delete;
  Dispatch& operator=(const Dispatch&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(I)) {
      *out = static_cast<I*>(this);
      this->AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG refs = --refs_;
    if (refs == 0) delete this;
    return refs;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

 protected:
  virtual ~Dispatch() { --liveObjects; }

 private:
  ULONG refs_ = 1;
};

class RegisteredTask final : public Dispatch<IRegisteredTask> {
 public:
  explicit RegisteredTask(Task& task) : task_(task) {}
  HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) override {
    *name = SysAllocString(task_.Name.c_str());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* enabled) override {
    *enabled = task_.Enabled ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL enabled) override {
    if (enabled != VARIANT_TRUE && enabled != VARIANT_FALSE) return E_INVALIDARG;
    task_.Enabled = enabled == VARIANT_TRUE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Path(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_State(TASK_STATE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Run(VARIANT, IRunningTask**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RunEx(VARIANT, LONG, LONG, BSTR, IRunningTask**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetInstances(LONG, IRunningTaskCollection**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_LastRunTime(DATE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_LastTaskResult(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_NumberOfMissedRuns(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_NextRunTime(DATE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Definition(ITaskDefinition**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Xml(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSecurityDescriptor(LONG, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetSecurityDescriptor(BSTR, LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Stop(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRunTimes(const LPSYSTEMTIME, const LPSYSTEMTIME, DWORD*, LPSYSTEMTIME*) override {
    return E_NOTIMPL;
  }

 private:
  Task& task_;
};

class TaskCollection final : public Dispatch<IRegisteredTaskCollection> {
 public:
  TaskCollection(Scheduler& scheduler, std::vector<Task*> tasks) : scheduler_(scheduler), tasks_(std::move(tasks)) {}
  HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
    *count = static_cast<LONG>(tasks_.size());
    return S_OK;
  }
  // Only 1-based VT_I4 indexes are taken, as a real collection would want them.
  HRESULT STDMETHODCALLTYPE get_Item(VARIANT index, IRegisteredTask** task) override {
    *task = nullptr;
    if (index.vt != VT_I4 || index.lVal < 1 || index.lVal > static_cast<LONG>(tasks_.size())) return E_INVALIDARG;
    if (scheduler_.FailAtItem == index.lVal) return E_ACCESSDENIED;
    *task = new RegisteredTask(*tasks_[index.lVal - 1]);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown**) override { return E_NOTIMPL; }

 private:
  Scheduler& scheduler_;
  std::vector<Task*> tasks_;
};

class TaskFolder final : public Dispatch<ITaskFolder> {
 public:
  explicit TaskFolder(Scheduler& scheduler) : scheduler_(scheduler) {}
  HRESULT STDMETHODCALLTYPE GetTasks(LONG flags, IRegisteredTaskCollection** tasks) override {
    scheduler_.GetTasksFlags.push_back(flags);
    std::vector<Task*> visible;
    for (Task& task : scheduler_.RootTasks) {
      if (!task.Hidden || (flags & TASK_ENUM_HIDDEN)) visible.push_back(&task);
    }
    *tasks = new TaskCollection(scheduler_, std::move(visible));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTask(BSTR path, IRegisteredTask** task) override {
    scheduler_.TasksAsked.push_back(path);
    *task = nullptr;
    for (Task& candidate : scheduler_.RootTasks) {
      if (_wcsicmp((L"\\" + candidate.Name).c_str(), path) == 0) { // names compare without case
        *task = new RegisteredTask(candidate);
        return S_OK;
      }
    }
    return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  }
  HRESULT STDMETHODCALLTYPE get_Name(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Path(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetFolder(BSTR, ITaskFolder**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetFolders(LONG, ITaskFolderCollection**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CreateFolder(BSTR, VARIANT, ITaskFolder**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DeleteFolder(BSTR, LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DeleteTask(BSTR, LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RegisterTask(BSTR, BSTR, LONG, VARIANT, VARIANT, TASK_LOGON_TYPE, VARIANT,
                                         IRegisteredTask**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE RegisterTaskDefinition(BSTR, ITaskDefinition*, LONG, VARIANT, VARIANT, TASK_LOGON_TYPE,
                                                   VARIANT, IRegisteredTask**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetSecurityDescriptor(LONG, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetSecurityDescriptor(BSTR, LONG) override { return E_NOTIMPL; }

 private:
  Scheduler& scheduler_;
};

class TaskService final : public Dispatch<ITaskService> {
 public:
  explicit TaskService(Scheduler& scheduler) : scheduler_(scheduler) {}
  HRESULT STDMETHODCALLTYPE GetFolder(BSTR path, ITaskFolder** folder) override {
    scheduler_.FoldersAsked.push_back(path ? path : L"");
    *folder = nullptr;
    if (!path || std::wstring_view(path) != L"\\") return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    *folder = new TaskFolder(scheduler_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Connect(VARIANT server, VARIANT user, VARIANT domain, VARIANT password) override {
    scheduler_.ConnectArgumentsWereEmpty =
        server.vt == VT_EMPTY && user.vt == VT_EMPTY && domain.vt == VT_EMPTY && password.vt == VT_EMPTY;
    return scheduler_.ConnectResult;
  }
  HRESULT STDMETHODCALLTYPE GetRunningTasks(LONG, IRunningTaskCollection**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE NewTask(DWORD, ITaskDefinition**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Connected(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_TargetServer(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_ConnectedUser(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_ConnectedDomain(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_HighestVersion(DWORD*) override { return E_NOTIMPL; }

 private:
  Scheduler& scheduler_;
};

// COM runtime calls answered as a test sets them, counting initialisations.
class Runtime final : public platform::ComRuntime {
 public:
  explicit Runtime(Scheduler& scheduler) : scheduler_(scheduler) {}
  HRESULT InitializeResult = S_OK;
  HRESULT SecurityResult = S_OK;
  HRESULT CreateResult = S_OK;
  int Initialized = 0; // successful initialisations not yet balanced

  HRESULT Initialize() override {
    if (SUCCEEDED(InitializeResult)) ++Initialized;
    return InitializeResult;
  }
  HRESULT InitializeSecurity() override { return SecurityResult; }
  HRESULT CreateTaskService(ITaskService** service) override {
    *service = SUCCEEDED(CreateResult) ? new TaskService(scheduler_) : nullptr;
    return CreateResult;
  }
  void Uninitialize() override { --Initialized; }

 private:
  Scheduler& scheduler_;
};

} // namespace fakecom
