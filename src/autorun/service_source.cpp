#include "autorun/service_source.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "autorun/registry_keys.h"
#include "support/reg.h"
#include "support/text.h"
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

// What the service manager answers for a service, three round trips to it; nothing when the
// service cannot be opened or queried.
std::optional<platform::ServiceConfig> AskManager(platform::ServiceManager& manager, platform::ScHandle scm,
                                                  const std::wstring& name) {
  const Handle service(manager.OpenByName(scm, name, kServiceQueryConfig), HandleCloser{&manager});
  if (!service) return std::nullopt;
  std::uint32_t needed = 0;
  platform::ServiceConfig config;
  manager.ReadConfig(service.get(), {}, needed, config);
  std::vector<std::byte> buffer(needed);
  if (!manager.ReadConfig(service.get(), buffer, needed, config)) return std::nullopt;
  return config;
}

// The start type and image path that the service's key holds, which the manager loaded at boot
// and writes back on every change: one enumeration of the key's values. Nothing when the key
// gives no answer the manager is sure to give too: no readable Start of four bytes within the
// start types, or no image path; an expandable path that names a variable is expanded by the
// manager with its own environment, which this process cannot see, so that is left to it too.
std::optional<platform::ServiceConfig> ReadKey(platform::Registry& registry, const std::wstring& name) {
  const RegReader key(registry, platform::kLocalMachine, std::wstring(kServicesKey) + L"\\" + name);
  std::vector<RegValue> values;
  key.ReadValues(values);
  const RegValue* start = nullptr;
  const RegValue* path = nullptr;
  for (const RegValue& value : values) {
    if (EqualsAsciiNoCase(value.name, L"Start")) start = &value;
    if (EqualsAsciiNoCase(value.name, L"ImagePath")) path = &value;
  }
  if (!start || start->type != kRegDword || start->data.size() != 4) return std::nullopt;
  if (!path || (path->type != kRegSz && path->type != kRegExpandSz)) return std::nullopt;
  platform::ServiceConfig config;
  for (std::size_t i = 4; i-- > 0;)
    config.StartType = config.StartType << 8 | std::to_integer<std::uint32_t>(start->data[i]);
  config.BinaryPathName = RegString(path->type, path->data, L"");
  if (config.StartType > kServiceDisabled || config.BinaryPathName.empty() ||
      (path->type == kRegExpandSz && config.BinaryPathName.find(L'%') != std::wstring::npos)) {
    return std::nullopt;
  }
  return config;
}

} // namespace

void AddServices(platform::ServiceManager& manager, platform::Registry& registry, AutorunList& list) {
  const Handle scm(manager.OpenManager(kScManagerConnect | kScManagerEnumerateService), HandleCloser{&manager});
  if (!scm) return;
  for (const platform::EnumServiceStatus& status : EnumerateServices(manager, scm.get())) {
    std::optional<platform::ServiceConfig> config = ReadKey(registry, status.ServiceName);
    if (!config) config = AskManager(manager, scm.get(), status.ServiceName);
    if (!config) continue;

    auto entry = std::make_unique<TAutorunInfo>();
    entry->FileName = config->BinaryPathName;
    entry->Caption = status.DisplayName;
    entry->RawData = std::move(config->BinaryPathName);
    entry->Target = status.ServiceName;
    entry->From = kTagService;
    entry->Enabled = config->StartType == kServiceAutoStart;
    entry->StartType = config->StartType;
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
