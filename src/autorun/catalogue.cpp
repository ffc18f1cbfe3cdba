#include "autorun/catalogue.h"

#include <exception>

#include "autorun/run_keys.h"
#include "autorun/service_source.h"
#include "autorun/startup_folders.h"
#include "autorun/task_source.h"

namespace {

// Appends what `add` reads, or nothing when it throws: memory that this 32-bit process cannot
// allocate, say, costs that source only (a registry value too large for it costs only itself).
template <typename Add>
void AddSource(AutorunList& list, Add add) {
  const std::size_t before = list.size();
  try {
    add(list);
  } catch (const std::exception&) {
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(before), list.end());
  }
}

} // namespace

void SystemCatalogue::GetAutorunList(AutorunList& list) {
  list.clear();
  AddSource(list, [&](AutorunList& l) { AddStartupFolders(files_, registry_, l); });
  AddSource(list, [&](AutorunList& l) { AddRunKeys(registry_, folderTokens_, l); });
  AddSource(list, [&](AutorunList& l) { AddScheduledTasks(tasks_, l); });
  AddSource(list, [&](AutorunList& l) { AddServices(services_, registry_, l); });
}

void SystemCatalogue::SetAutorunEnabled(std::wstring_view target, std::wstring_view from, bool enabled) {
  switch (SourceOfTag(from)) {
    case AutorunSource::File:
      SetStartupFolderEnabled(files_, registry_, system_, target, enabled);
      break;
    case AutorunSource::Task:
      SetTaskEnabled(tasks_, target, enabled);
      break;
    case AutorunSource::Service:
      SetServiceEnabled(services_, target, enabled);
      break;
    case AutorunSource::Registry:
      SetRunKeyEnabled(registry_, system_, target, enabled);
      break;
  }
}
