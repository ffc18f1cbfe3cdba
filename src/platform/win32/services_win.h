#pragma once
#include "platform/services.h"

namespace platform {

// The service control manager through advapi32.
class Win32ServiceManager final : public ServiceManager {
 public:
  ScHandle OpenSCManager(std::uint32_t access) override;
  bool EnumServicesStatus(ScHandle manager, std::uint32_t serviceType, std::uint32_t serviceState,
                          std::span<std::byte> buffer, std::uint32_t& bytesNeeded, std::uint32_t& servicesReturned,
                          std::uint32_t& resumeHandle, std::vector<EnumServiceStatus>& services) override;
  ScHandle OpenService(ScHandle manager, std::wstring_view serviceName, std::uint32_t access) override;
  bool QueryServiceConfig(ScHandle service, std::span<std::byte> buffer, std::uint32_t& bytesNeeded,
                          ServiceConfig& config) override;
  bool ChangeServiceConfig(ScHandle service, std::uint32_t serviceType, std::uint32_t startType,
                           std::uint32_t errorControl) override;
  bool CloseServiceHandle(ScHandle handle) override;
  win::Error GetLastError() override;
};

} // namespace platform
