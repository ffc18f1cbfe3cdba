#include "app/instance_guard_win.h"

#include <sddl.h>

namespace {

constexpr wchar_t kNamespace[] = L"Tarnwick";

template <typename F>
F* Kernel32(const char* name) {
  return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

struct FreeLocal {
  void operator()(PSECURITY_DESCRIPTOR descriptor) const { LocalFree(descriptor); }
};

} // namespace

PrivateNamespaceApi PrivateNamespaceApi::OfSystem() {
  // Looked up, not imported: a system without them still starts the program.
  return {Kernel32<decltype(CreateBoundaryDescriptorW)>("CreateBoundaryDescriptorW"),
          Kernel32<decltype(AddSIDToBoundaryDescriptor)>("AddSIDToBoundaryDescriptor"),
          Kernel32<decltype(DeleteBoundaryDescriptor)>("DeleteBoundaryDescriptor"),
          Kernel32<decltype(CreatePrivateNamespaceW)>("CreatePrivateNamespaceW"),
          Kernel32<decltype(OpenPrivateNamespaceW)>("OpenPrivateNamespaceW"),
          Kernel32<decltype(ClosePrivateNamespace)>("ClosePrivateNamespace")};
}

InstanceGuard::InstanceGuard(const std::wstring& name, const PrivateNamespaceApi& api)
    : namespace_(nullptr, CloseNamespace{api.closeNamespace}), mutexName_(name) {
  // Only where the system has no private namespaces is the session's name taken: any other
  // failure to have the namespace would hand the name to whoever holds it first.
  if (const DWORD error = OpenNamespace(api); error == ERROR_SUCCESS) {
    mutexName_ = std::wstring(kNamespace) + L"\\" + name;
  } else if (error != ERROR_CALL_NOT_IMPLEMENTED) {
    error_ = error;
    return;
  }
  // Created, never opened first: between an open that finds nothing and a create, another
  // instance could create it too.
  mutex_.reset(CreateMutexW(nullptr, TRUE, mutexName_.c_str()));
  const DWORD error = GetLastError();
  if (!mutex_) {
    error_ = error;
  } else {
    claim_ = error == ERROR_ALREADY_EXISTS ? Claim::Running : Claim::First;
  }
}

DWORD InstanceGuard::OpenNamespace(const PrivateNamespaceApi& api) {
  if (!api.createBoundary || !api.addSid || !api.deleteBoundary || !api.createNamespace || !api.openNamespace ||
      !api.closeNamespace) {
    return ERROR_CALL_NOT_IMPLEMENTED;
  }
  const auto deleteBoundary = [&api](HANDLE boundary) { api.deleteBoundary(boundary); };
  SetLastError(ERROR_SUCCESS);
  UniqueResource<HANDLE, decltype(deleteBoundary)> boundary(api.createBoundary(kNamespace, 0), deleteBoundary);
  // A stub that fails without telling why stands for a system without them.
  if (!boundary) return GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_CALL_NOT_IMPLEMENTED;
  BYTE administrators[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof(administrators);
  if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size)) return GetLastError();
  HANDLE scope = boundary.release(); // AddSIDToBoundaryDescriptor may move it
  const BOOL added = api.addSid(&scope, administrators);
  const DWORD addError = GetLastError();
  boundary.reset(scope);
  if (!added) return addError;
  PSECURITY_DESCRIPTOR raw = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;GA;;;BA)", SDDL_REVISION_1, &raw, nullptr)) {
    return GetLastError();
  }
  const UniqueResource<PSECURITY_DESCRIPTOR, FreeLocal> descriptor(raw);
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor.get(), FALSE};
  // The namespace of a running instance is opened. One that is ending may take its namespace
  // with it between the two calls: then it is created again.
  DWORD error = ERROR_SUCCESS;
  for (int attempt = 0; attempt < 3; ++attempt) {
    namespace_.reset(api.createNamespace(&attributes, boundary.get(), kNamespace));
    if (namespace_) return ERROR_SUCCESS;
    if (error = GetLastError(); error != ERROR_ALREADY_EXISTS) return error;
    namespace_.reset(api.openNamespace(boundary.get(), kNamespace));
    if (namespace_) return ERROR_SUCCESS;
    if (error = GetLastError(); error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return error;
  }
  return error;
}
