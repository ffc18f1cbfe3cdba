// The catalogue's four sources timed one by one on the prefix it runs in, five times each in
// turns, so that a slower or faster spell of the machine falls on all alike: what each costs of
// `tarnwick-cli list`. Prints each source's median and its entries.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "autorun/run_keys.h"
#include "autorun/service_source.h"
#include "autorun/startup_folders.h"
#include "autorun/task_source.h"
#include "windows/win32_platform.h"

int wmain() {
  platform::Win32Platform win32;
  const FolderTokens tokens = MakeFolderTokens(win32.files, win32.system);
  const struct {
    const char* name;
    std::function<void(AutorunList&)> add;
  } sources[] = {
      {"Startup folders", [&](AutorunList& l) { AddStartupFolders(win32.files, win32.registry, l); }},
      {"Run keys", [&](AutorunList& l) { AddRunKeys(win32.registry, tokens, l); }},
      {"scheduled tasks", [&](AutorunList& l) { AddScheduledTasks(win32.tasks, l); }},
      {"services", [&](AutorunList& l) { AddServices(win32.services, win32.registry, l); }},
  };
  std::vector<double> times[std::size(sources)];
  std::size_t entries[std::size(sources)] = {};
  for (int run = 0; run < 5; ++run) {
    for (std::size_t s = 0; s < std::size(sources); ++s) {
      AutorunList list;
      const auto start = std::chrono::steady_clock::now();
      sources[s].add(list);
      times[s].push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
      entries[s] = list.size();
    }
  }
  for (std::size_t s = 0; s < std::size(sources); ++s) {
    std::sort(times[s].begin(), times[s].end());
    std::printf("%s: median %.1f ms of five, %zu entries\n", sources[s].name, times[s][2], entries[s]);
  }
  return 0;
}
