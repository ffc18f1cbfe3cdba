#pragma once
// An in-memory service control manager with Windows' buffer rules and injectable faults. It
// counts every handle it gives out and every close, so leaks show.
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "platform/services.h"

namespace platform {

class FakeServiceManager final : public ServiceManager {
 public:
  struct Service {
    std::wstring Name;
    std::wstring DisplayName;
    std::wstring BinaryPathName;
    std::uint32_t StartType = win::kServiceDemandStart;
    std::uint32_t ServiceType = win::kServiceWin32OwnProcess;
    bool CanOpen = true;  // OpenServiceW succeeds
    bool CanQuery = true; // QueryServiceConfigW succeeds
  };

  std::vector<Service> Services; // in enumeration order

  // Faults.
  bool FailOpenManager = false;
  bool RefuseChange = false;
  // A service registered right after the first enumeration call, so the second finds the
  // buffer too small again.
  bool AddServiceBetweenCalls = false;

  // What the code above asked for.
  std::vector<std::uint32_t> ManagerAccess;
  std::vector<std::uint32_t> ServiceAccess;
  std::size_t EnumerationCalls = 0;
  struct Change {
    std::uint32_t ServiceType, StartType, ErrorControl;
    bool operator==(const Change&) const = default;
  };
  std::vector<Change> Changes; // every ChangeServiceConfigW that was let through

  const Service* Find(std::wstring_view name) const;
  std::size_t OpenHandles() const { return handles_.size(); }

  ScHandle OpenManager(std::uint32_t access) override;
  bool ListServices(ScHandle manager, std::uint32_t serviceType, std::uint32_t serviceState,
                    std::span<std::byte> buffer, std::uint32_t& bytesNeeded, std::uint32_t& servicesReturned,
                    std::uint32_t& resumeHandle, std::vector<EnumServiceStatus>& services) override;
  ScHandle OpenByName(ScHandle manager, std::wstring_view serviceName, std::uint32_t access) override;
  bool ReadConfig(ScHandle service, std::span<std::byte> buffer, std::uint32_t& bytesNeeded,
                  ServiceConfig& config) override;
  bool ChangeConfig(ScHandle service, std::uint32_t serviceType, std::uint32_t startType,
                    std::uint32_t errorControl) override;
  bool Close(ScHandle handle) override;
  win::Error LastError() override { return lastError_; }

 private:
  struct Handle {
    std::wstring service; // empty for the manager
    std::uint32_t access;
  };
  bool Fail(win::Error error);
  Service* Lookup(std::wstring_view name);
  ScHandle NewHandle(std::wstring service, std::uint32_t access);

  std::map<ScHandle, Handle> handles_;
  ScHandle next_ = 0x100;
  win::Error lastError_ = win::kErrorSuccess;
};

} // namespace platform
