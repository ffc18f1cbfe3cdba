#include "autorun/service_source.h"

#include <cstdint>
#include <vector>

#include "support/unique_resource.h"

namespace {

using namespace win;

struct HandleCloser {
  platform::ServiceManager* manager;
  void operator()(platform::ScHandle handle) const { manager->Close(handle); }
};
using Handle = UniqueResource<platform::ScHandle, HandleCloser>;

// The records of all Win32 services, asked for size first; empty when either call fails.
std::vector<platform::EnumServiceStatus> EnumerateServices(platform::ServiceManager& manager, platform::ScHandle scm) {
  std::vector<platform::EnumServiceStatus> services;
  std::uint32_t needed = 0;
  std::uint32_t returned = 0;
  std::uint32_t resume = 0;
  if (manager.ListServices(scm, kServiceWin32, kServiceStateAll, {}, needed, returned, resume, services)) {
    return services; // a call without a buffer that succeeds has returned nothing
  }
  const Error error = manager.LastError();
  if (error != kErrorInsufficientBuffer && error != kErrorMoreData) return {};
  std::vector<std::byte> buffer(needed);
  // Services added since the first call make this one fail too: nothing is listed this time.
  if (!manager.ListServices(scm, kServiceWin32, kServiceStateAll, buffer, needed, returned, resume, services)) {
    return {};
  }
  return services;
}

} // namespace

void AddServices(platform::ServiceManager& manager, AutorunList& list) {
  const Handle scm(manager.OpenManager(kScManagerConnect | kScManagerEnumerateService), HandleCloser{&manager});
  if (!scm) return;
  for (const platform::EnumServiceStatus& status : EnumerateServices(manager, scm.get())) {
    const Handle service(manager.OpenByName(scm.get(), status.ServiceName, kServiceQueryConfig),
                         HandleCloser{&manager});
    if (!service) continue;
    std::uint32_t needed = 0;
    platform::ServiceConfig config;
    manager.ReadConfig(service.get(), {}, needed, config);
    std::vector<std::byte> buffer(needed);
    if (!manager.ReadConfig(service.get(), buffer, needed, config)) continue;

    auto entry = std::make_unique<TAutorunInfo>();
    entry->FileName = config.BinaryPathName;
    entry->Caption = status.DisplayName;
    entry->RawData = config.BinaryPathName;
    entry->Target = status.ServiceName;
    entry->From = kTagService;
    entry->Enabled = config.StartType == kServiceAutoStart;
    entry->StartType = config.StartType;
    list.push_back(std::move(entry));
  }
}

void SetServiceEnabled(platform::ServiceManager& manager, std::wstring_view target, bool enabled) {
  const Handle scm(manager.OpenManager(kScManagerConnect), HandleCloser{&manager});
  if (!scm) return;
  const Handle service(manager.OpenByName(scm.get(), target, kServiceChangeConfig | kServiceStop),
                       HandleCloser{&manager});
  if (!service) return;
  // A refused change shows itself at the next reading.
  manager.ChangeConfig(service.get(), kServiceNoChange, enabled ? kServiceAutoStart : kServiceDisabled,
                       kServiceNoChange);
}
