#pragma once
#include "platform/services.h"

namespace platform {

// The service control manager through advapi32.
class Win32ServiceManager final : public ServiceManager {
 public:
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
  win::Error LastError() override;
};

} // namespace platform
