#pragma once
// Every platform service in memory, built once where a test wires its parts together.
#include "fakes/fake_file_info.h"
#include "fakes/fake_files.h"
#include "fakes/fake_locale.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_resources.h"
#include "fakes/fake_services.h"
#include "fakes/fake_shell.h"
#include "fakes/fake_system.h"
#include "fakes/fake_tasks.h"

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
};

} // namespace platform
