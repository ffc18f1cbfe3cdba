#pragma once
// The tasks of the Task Scheduler's root folder: one entry per visible task.
#include <string_view>

#include "autorun/autorun_info.h"
#include "platform/tasks.h"

// Connects, appends the root folder's tasks, and closes the connection whatever happened.
void AddScheduledTasks(platform::TaskScheduler& scheduler, AutorunList& list);
// Appends the tasks of the folder `path` of the open connection; a failure ends the walk and
// keeps the entries appended before it.
void AddTaskFolder(platform::TaskScheduler& scheduler, std::wstring_view path, AutorunList& list);
// `target` is the task's path, as AddTaskFolder made it.
void SetTaskEnabled(platform::TaskScheduler& scheduler, std::wstring_view target, bool enabled);
