#pragma once
// The Win32 services of the local computer: one entry per service, switched between
// automatic start and disabled. Services are never started or stopped here.
#include <string_view>

#include "autorun/autorun_info.h"
#include "platform/registry.h"
#include "platform/services.h"

// Appends one "SERV" entry per Win32 service the manager lists, in its order and with its
// display names. The start type and image path come from the service's registry key, else from
// the manager; a service that neither answers for is left out.
void AddServices(platform::ServiceManager& manager, platform::Registry& registry, AutorunList& list);
// Sets the start type of the service named `target`: automatic when enabled, disabled when not.
void SetServiceEnabled(platform::ServiceManager& manager, std::wstring_view target, bool enabled);
