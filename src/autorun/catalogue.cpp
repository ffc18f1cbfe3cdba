#include "autorun/catalogue.h"

#include "autorun/run_keys.h"
#include "autorun/services.h"
#include "autorun/startup_folders.h"
#include "autorun/tasks.h"

void TAutorunCatalogue::GetAutorunList(TAutorunList& list) {
  list.clear();
  AddStartupFolders(platform_, list);
  AddRunKeys(platform_, folderTokens_, list);
  AddScheduledTasks(platform_.tasks, list);
  AddServices(platform_.services, list);
}

void TAutorunCatalogue::SetAutorunEnabled(std::wstring_view target, std::wstring_view from, bool enabled) {
  switch (SourceOfTag(from)) {
    case TAutorunSource::File:
      SetStartupFolderEnabled(platform_, target, enabled);
      break;
    case TAutorunSource::Task:
      SetTaskEnabled(platform_.tasks, target, enabled);
      break;
    case TAutorunSource::Service:
      SetServiceEnabled(platform_.services, target, enabled);
      break;
    case TAutorunSource::Registry:
      SetRunKeyEnabled(platform_, target, enabled);
      break;
  }
}
