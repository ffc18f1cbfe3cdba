#pragma once
// Every platform service in memory, built once where a test wires its parts together.
#include "platform/fake/fake_file_info.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_resources.h"
#include "platform/fake/fake_services.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/fake_tasks.h"

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
