#pragma once
// Every platform service of the real system, built once where a program (or a test) wires its
// parts together.
#include "windows/file_info_win.h"
#include "windows/files_win.h"
#include "windows/locale_win.h"
#include "windows/registry_win.h"
#include "windows/resources_win.h"
#include "windows/services_win.h"
#include "windows/shell_win.h"
#include "windows/system_win.h"
#include "windows/tasks_win.h"

namespace platform {

struct Win32Platform {
  Win32Registry registry;
  Win32FileSystem files;
  Win32ServiceManager services;
  Win32System system;
  Win32ComRuntime com;
  Win32TaskScheduler tasks{com};
  Win32FileInfo fileInfo;
  Win32Locale locale;
  Win32Resources resources;
  Win32Shell shell;
};

} // namespace platform
