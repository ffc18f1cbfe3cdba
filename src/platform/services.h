#pragma once
// The service control manager as the Win32 service functions offer it. Buffers are sized and
// handed in by the caller, as with the real calls, so the two-call enumeration stays above
// this seam; what a filled buffer holds comes back decoded.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_constants.h"

namespace platform {

using ScHandle = std::uintptr_t; // an SC_HANDLE; 0 is none

// The members of an ENUM_SERVICE_STATUSW record that the program reads.
struct EnumServiceStatus {
  std::wstring ServiceName;
  std::wstring DisplayName;
};

// The members of QUERY_SERVICE_CONFIGW that the program reads.
struct ServiceConfig {
  std::uint32_t StartType = 0;
  std::wstring BinaryPathName;
};

class ServiceManager {
 public:
  virtual ~ServiceManager() = default;

  // OpenSCManagerW on the local computer's active database; 0 on failure.
  virtual ScHandle OpenManager(std::uint32_t access) = 0;
  // EnumServicesStatusW with `buffer` as the record buffer; on success the records it
  // holds are decoded into `services`.
  virtual bool ListServices(ScHandle manager, std::uint32_t serviceType, std::uint32_t serviceState,
                            std::span<std::byte> buffer, std::uint32_t& bytesNeeded, std::uint32_t& servicesReturned,
                            std::uint32_t& resumeHandle, std::vector<EnumServiceStatus>& services) = 0;
  // OpenServiceW; 0 on failure.
  virtual ScHandle OpenByName(ScHandle manager, std::wstring_view serviceName, std::uint32_t access) = 0;
  // QueryServiceConfigW with `buffer`; on success the configuration is decoded into `config`.
  virtual bool ReadConfig(ScHandle service, std::span<std::byte> buffer, std::uint32_t& bytesNeeded,
                          ServiceConfig& config) = 0;
  // ChangeServiceConfigW with binary path, load order group, tag, dependencies, account,
  // password and display name all absent.
  virtual bool ChangeConfig(ScHandle service, std::uint32_t serviceType, std::uint32_t startType,
                            std::uint32_t errorControl) = 0;
  // CloseServiceHandle.
  virtual bool Close(ScHandle handle) = 0;
  // The error of the last call that failed on this thread.
  virtual win::Error LastError() = 0;
};

} // namespace platform
