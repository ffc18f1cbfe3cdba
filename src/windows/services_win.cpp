#include "windows/services_win.h"

#include <windows.h>

namespace platform {
namespace {

SC_HANDLE Native(ScHandle handle) { return reinterpret_cast<SC_HANDLE>(handle); }
std::wstring Text(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }

} // namespace

ScHandle Win32ServiceManager::OpenManager(std::uint32_t access) {
  return reinterpret_cast<ScHandle>(::OpenSCManagerW(nullptr, nullptr, access));
}

bool Win32ServiceManager::ListServices(ScHandle manager, std::uint32_t serviceType, std::uint32_t serviceState,
                                       std::span<std::byte> buffer, std::uint32_t& bytesNeeded,
                                       std::uint32_t& servicesReturned, std::uint32_t& resumeHandle,
                                       std::vector<EnumServiceStatus>& services) {
  DWORD needed = 0;
  DWORD returned = 0;
  DWORD resume = resumeHandle;
  auto* records = reinterpret_cast<ENUM_SERVICE_STATUSW*>(buffer.empty() ? nullptr : buffer.data());
  const BOOL ok = ::EnumServicesStatusW(Native(manager), serviceType, serviceState, records,
                                        static_cast<DWORD>(buffer.size()), &needed, &returned, &resume);
  bytesNeeded = needed;
  servicesReturned = returned;
  resumeHandle = resume;
  if (!ok) return false;
  services.clear();
  for (DWORD i = 0; i < returned; ++i) {
    services.push_back(EnumServiceStatus{Text(records[i].lpServiceName), Text(records[i].lpDisplayName)});
  }
  return true;
}

ScHandle Win32ServiceManager::OpenByName(ScHandle manager, std::wstring_view serviceName, std::uint32_t access) {
  return reinterpret_cast<ScHandle>(::OpenServiceW(Native(manager), std::wstring(serviceName).c_str(), access));
}

bool Win32ServiceManager::ReadConfig(ScHandle service, std::span<std::byte> buffer, std::uint32_t& bytesNeeded,
                                     ServiceConfig& config) {
  DWORD needed = 0;
  auto* record = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.empty() ? nullptr : buffer.data());
  const BOOL ok = ::QueryServiceConfigW(Native(service), record, static_cast<DWORD>(buffer.size()), &needed);
  bytesNeeded = needed;
  if (!ok) return false;
  config = ServiceConfig{record->dwStartType, Text(record->lpBinaryPathName)};
  return true;
}

bool Win32ServiceManager::ChangeConfig(ScHandle service, std::uint32_t serviceType, std::uint32_t startType,
                                       std::uint32_t errorControl) {
  return ::ChangeServiceConfigW(Native(service), serviceType, startType, errorControl, nullptr, nullptr, nullptr,
                                nullptr, nullptr, nullptr, nullptr) != FALSE;
}

bool Win32ServiceManager::Close(ScHandle handle) { return ::CloseServiceHandle(Native(handle)) != FALSE; }

win::Error Win32ServiceManager::LastError() { return ::GetLastError(); }

} // namespace platform
