#pragma once
// Every platform service in memory, bundled as one run would have them.
#include "platform/fake/fake_file_info.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_services.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/fake_tasks.h"
#include "platform/platform.h"

namespace platform {

struct FakePlatform {
  FakeRegistry registry;
  FakeFileSystem files;
  FakeServiceManager services;
  FakeSystem system;
  FakeTaskScheduler tasks;
  FakeFileInfo fileInfo;
  FakeLocale locale;
  FakeResources resources;
  FakeShell shell;
  Platform platform{registry, files, services, system, tasks, fileInfo, locale, resources, shell};
};

} // namespace platform
