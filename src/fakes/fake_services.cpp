#include "fakes/fake_services.h"

#include <algorithm>

#include "support/text.h"

namespace platform {
namespace {

using namespace win;

// The sizes of ENUM_SERVICE_STATUSW and QUERY_SERVICE_CONFIGW in a 32-bit process; the
// strings follow the records in the same buffer.
constexpr std::uint32_t kEnumRecordSize = 36;
constexpr std::uint32_t kConfigRecordSize = 36;

std::uint32_t TextBytes(const std::wstring& text) { return static_cast<std::uint32_t>(text.size() + 1) * 2; }

} // namespace

const FakeServiceManager::Service* FakeServiceManager::Find(std::wstring_view name) const {
  const auto it =
      std::find_if(Services.begin(), Services.end(), [&](const Service& s) { return EqualsAsciiNoCase(s.Name, name); });
  return it == Services.end() ? nullptr : &*it;
}

FakeServiceManager::Service* FakeServiceManager::Lookup(std::wstring_view name) {
  return const_cast<Service*>(Find(name));
}

bool FakeServiceManager::Fail(win::Error error) {
  lastError_ = error;
  return false;
}

ScHandle FakeServiceManager::NewHandle(std::wstring service, std::uint32_t access) {
  const ScHandle handle = next_;
  next_ += 4;
  handles_[handle] = Handle{std::move(service), access};
  return handle;
}

ScHandle FakeServiceManager::OpenManager(std::uint32_t access) {
  ManagerAccess.push_back(access);
  if (FailOpenManager) {
    lastError_ = kErrorAccessDenied;
    return 0;
  }
  return NewHandle(L"", access);
}

bool FakeServiceManager::ListServices(ScHandle manager, std::uint32_t serviceType, std::uint32_t serviceState,
                                      std::span<std::byte> buffer, std::uint32_t& bytesNeeded,
                                      std::uint32_t& servicesReturned, std::uint32_t& resumeHandle,
                                      std::vector<EnumServiceStatus>& services) {
  ++EnumerationCalls;
  const auto handle = handles_.find(manager);
  if (handle == handles_.end() || !handle->second.service.empty()) return Fail(kErrorInvalidHandle);
  if (!(handle->second.access & kScManagerEnumerateService)) return Fail(kErrorAccessDenied);
  if (serviceState != kServiceStateAll) return Fail(kErrorInvalidParameter); // every service here is stopped

  std::vector<EnumServiceStatus> records;
  std::uint32_t needed = 0;
  for (std::size_t i = resumeHandle; i < Services.size(); ++i) {
    const Service& s = Services[i];
    if (!(s.ServiceType & serviceType)) continue;
    records.push_back(EnumServiceStatus{s.Name, s.DisplayName});
    needed += kEnumRecordSize + TextBytes(s.Name) + TextBytes(s.DisplayName);
  }
  if (AddServiceBetweenCalls && EnumerationCalls == 1) {
    Services.push_back(Service{L"Late", L"Late service", L"C:\\late.exe"});
  }
  if (buffer.size() < needed) {
    bytesNeeded = needed;
    servicesReturned = 0;
    return Fail(kErrorMoreData);
  }
  bytesNeeded = 0;
  servicesReturned = static_cast<std::uint32_t>(records.size());
  services = std::move(records);
  return true;
}

ScHandle FakeServiceManager::OpenByName(ScHandle manager, std::wstring_view serviceName, std::uint32_t access) {
  ServiceAccess.push_back(access);
  const Service* service = Find(serviceName);
  lastError_ = !handles_.contains(manager) ? kErrorInvalidHandle
               : !service                  ? kErrorServiceDoesNotExist
               : !service->CanOpen         ? kErrorAccessDenied
                                           : kErrorSuccess;
  return lastError_ == kErrorSuccess ? NewHandle(service->Name, access) : 0;
}

bool FakeServiceManager::ReadConfig(ScHandle service, std::span<std::byte> buffer, std::uint32_t& bytesNeeded,
                                    ServiceConfig& config) {
  const auto handle = handles_.find(service);
  if (handle == handles_.end() || handle->second.service.empty()) return Fail(kErrorInvalidHandle);
  if (!(handle->second.access & kServiceQueryConfig)) return Fail(kErrorAccessDenied);
  const Service* s = Find(handle->second.service);
  if (!s->CanQuery) return Fail(kErrorAccessDenied);
  const std::uint32_t needed = kConfigRecordSize + TextBytes(s->BinaryPathName) + TextBytes(s->DisplayName) +
                               3 * TextBytes(L""); // load order group, dependencies, account
  if (buffer.size() < needed) {
    bytesNeeded = needed;
    return Fail(kErrorInsufficientBuffer);
  }
  config = ServiceConfig{s->StartType, s->BinaryPathName};
  return true;
}

bool FakeServiceManager::ChangeConfig(ScHandle service, std::uint32_t serviceType, std::uint32_t startType,
                                      std::uint32_t errorControl) {
  const auto handle = handles_.find(service);
  if (handle == handles_.end() || handle->second.service.empty()) return Fail(kErrorInvalidHandle);
  if (!(handle->second.access & kServiceChangeConfig) || RefuseChange) return Fail(kErrorAccessDenied);
  Changes.push_back({serviceType, startType, errorControl});
  Service* s = Lookup(handle->second.service);
  if (serviceType != kServiceNoChange) s->ServiceType = serviceType;
  if (startType != kServiceNoChange) s->StartType = startType;
  return true;
}

bool FakeServiceManager::Close(ScHandle handle) { return handles_.erase(handle) ? true : Fail(kErrorInvalidHandle); }

} // namespace platform
