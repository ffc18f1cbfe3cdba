#pragma once
// One instance at a time: the first instance holds a named mutex until it ends. The name lives in
// a private namespace bounded by the Administrators group, which only an elevated administrator's
// process can create or open, so that no other program can keep this one from starting by
// holding the name first. Where the system has no private namespaces (Wine) it is the session's.
#include <windows.h>

#include <string>

#include "support/unique_resource.h"

// The kernel32 functions of private namespaces, each null where the system lacks it.
struct PrivateNamespaceApi {
  decltype(&CreateBoundaryDescriptorW) createBoundary = nullptr;
  decltype(&AddSIDToBoundaryDescriptor) addSid = nullptr;
  decltype(&DeleteBoundaryDescriptor) deleteBoundary = nullptr;
  decltype(&CreatePrivateNamespaceW) createNamespace = nullptr;
  decltype(&OpenPrivateNamespaceW) openNamespace = nullptr;
  decltype(&ClosePrivateNamespace) closeNamespace = nullptr;

  static PrivateNamespaceApi OfSystem();
};

class InstanceGuard {
 public:
  enum class Claim {
    First,   // this process holds the name until it ends
    Running, // another instance holds it
    Failed,  // the name could not be had: Error() tells why
  };

  // Claims `name` ("TarnwickMutex") with a single CreateMutexW, so that of two instances started
  // at the same moment exactly one is first.
  explicit InstanceGuard(const std::wstring& name, const PrivateNamespaceApi& api = PrivateNamespaceApi::OfSystem());

  Claim Result() const { return claim_; }
  DWORD Error() const { return error_; }
  // The name the mutex was created under.
  const std::wstring& MutexName() const { return mutexName_; }

 private:
  struct CloseNamespace {
    decltype(&ClosePrivateNamespace) close;
    void operator()(HANDLE space) const { close(space, 0); }
  };
  struct CloseMutex {
    void operator()(HANDLE mutex) const { CloseHandle(mutex); }
  };

  // The namespace, or the error that kept it: ERROR_CALL_NOT_IMPLEMENTED where the system has none.
  DWORD OpenNamespace(const PrivateNamespaceApi& api);

  UniqueResource<HANDLE, CloseNamespace> namespace_;
  UniqueResource<HANDLE, CloseMutex> mutex_;
  std::wstring mutexName_;
  Claim claim_ = Claim::Failed;
  DWORD error_ = ERROR_SUCCESS;
};
