#include "windows/tasks_win.h"

namespace platform {
namespace {

const CLSID kClsidTaskScheduler = {0x0F87369F, 0xA4E5, 0x4CFC, {0xBD, 0x3E, 0x73, 0xE6, 0x15, 0x45, 0x72, 0xDD}};
const IID kIidTaskService = {0x2FABA4C7, 0x4DA9, 0x4013, {0x96, 0x97, 0x20, 0xCC, 0x3F, 0xD4, 0x0F, 0x85}};

Bstr MakeBstr(std::wstring_view text) { return Bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))); }

} // namespace

HRESULT Win32ComRuntime::Initialize() { return CoInitialize(nullptr); }

HRESULT Win32ComRuntime::InitializeSecurity() {
  return CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT, RPC_C_IMP_LEVEL_IMPERSONATE,
                              nullptr, EOAC_NONE, nullptr);
}

HRESULT Win32ComRuntime::CreateTaskService(ITaskService** service) {
  return CoCreateInstance(kClsidTaskScheduler, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, kIidTaskService,
                          reinterpret_cast<void**>(service));
}

void Win32ComRuntime::Uninitialize() { CoUninitialize(); }

bool Win32TaskScheduler::ConnectTaskService() {
  if (service_) return true;
  // S_FALSE: COM was initialised on this thread already, which serves as well.
  if (FAILED(com_.Initialize())) return false;
  // RPC_E_TOO_LATE: the process's security is set already.
  const HRESULT security = com_.InitializeSecurity();
  if (SUCCEEDED(security) || security == RPC_E_TOO_LATE) {
    VARIANT empty;
    VariantInit(&empty);
    if (SUCCEEDED(com_.CreateTaskService(service_.put())) && service_ &&
        SUCCEEDED(service_->Connect(empty, empty, empty, empty))) {
      return true;
    }
  }
  // Every successful CoInitialize is balanced, also when no connection came of it.
  service_.reset();
  com_.Uninitialize();
  return false;
}

void Win32TaskScheduler::ReleaseTaskService() {
  if (!service_) return;
  service_.reset();
  com_.Uninitialize();
}

bool Win32TaskScheduler::ListTasks(std::wstring_view path, std::vector<RegisteredTask>& tasks) {
  if (!service_) return false;
  ComPtr<ITaskFolder> folder;
  const Bstr folderPath = MakeBstr(path);
  if (FAILED(service_->GetFolder(folderPath.get(), folder.put())) || !folder) return false;
  // Flags 0: tasks registered as hidden are left out.
  ComPtr<IRegisteredTaskCollection> collection;
  if (FAILED(folder->GetTasks(0, collection.put())) || !collection) return false;
  LONG count = 0;
  if (FAILED(collection->get_Count(&count))) return false;
  for (LONG i = 1; i <= count; ++i) { // the collection counts from 1
    VARIANT index;
    VariantInit(&index);
    index.vt = VT_I4;
    index.lVal = i;
    ComPtr<IRegisteredTask> task;
    Bstr name;
    VARIANT_BOOL enabled = VARIANT_FALSE;
    if (FAILED(collection->get_Item(index, task.put())) || !task || FAILED(task->get_Name(name.put())) ||
        FAILED(task->get_Enabled(&enabled))) {
      return false;
    }
    tasks.push_back(RegisteredTask{name ? name.get() : L"", enabled != VARIANT_FALSE});
  }
  return true;
}

bool Win32TaskScheduler::WriteTaskEnabled(std::wstring_view path, bool enabled) {
  if (!service_) return false;
  ComPtr<ITaskFolder> root;
  ComPtr<IRegisteredTask> task;
  const Bstr rootPath = MakeBstr(L"\\");
  const Bstr taskPath = MakeBstr(path);
  return SUCCEEDED(service_->GetFolder(rootPath.get(), root.put())) && root &&
         SUCCEEDED(root->GetTask(taskPath.get(), task.put())) && task &&
         SUCCEEDED(task->put_Enabled(enabled ? VARIANT_TRUE : VARIANT_FALSE));
}

} // namespace platform
