#pragma once
// Every platform service of the real system, built once where a program (or a test) wires its
// parts together.
#include "platform/win32/file_info_win.h"
#include "platform/win32/files_win.h"
#include "platform/win32/locale_win.h"
#include "platform/win32/registry_win.h"
#include "platform/win32/resources_win.h"
#include "platform/win32/services_win.h"
#include "platform/win32/shell_win.h"
#include "platform/win32/system_win.h"
#include "platform/win32/tasks_win.h"

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
