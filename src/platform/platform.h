#pragma once
#include "platform/file_info.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/services.h"
#include "platform/system.h"
#include "platform/tasks.h"

namespace platform {

// The platform services one run works with, built once by the program's entry (or a test)
// and handed by reference to what needs them.
struct Platform {
  Registry& registry;
  FileSystem& files;
  ServiceManager& services;
  System& system;
  TaskScheduler& tasks;
  FileInfo& fileInfo;
  Locale& locale;
  Resources& resources;
  Shell& shell;
};

} // namespace platform
