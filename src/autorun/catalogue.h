#pragma once
// The autorun catalogue: the four sources read in a fixed order, and one switch that goes to
// the source an entry came from.
#include <string_view>

#include "autorun/autorun_info.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/system.h"
#include "platform/tasks.h"
#include "support/path.h"

// The catalogue's two operations, as the list and the console companion use them.
class AutorunCatalogue {
 public:
  virtual ~AutorunCatalogue() = default;
  // Clears `list` and fills it again from every source.
  virtual void GetAutorunList(AutorunList& list) = 0;
  // Switches the entry (`target`, `from`); the outcome shows at the next reading.
  virtual void SetAutorunEnabled(std::wstring_view target, std::wstring_view from, bool enabled) = 0;
};

// The catalogue of the system the platform services reach.
class SystemCatalogue final : public AutorunCatalogue {
 public:
  SystemCatalogue(platform::Registry& registry, platform::FileSystem& files, platform::TaskScheduler& tasks,
                  platform::ServiceManager& services, platform::System& system, const FolderTokens& folderTokens)
      : registry_(registry),
        files_(files),
        tasks_(tasks),
        services_(services),
        system_(system),
        folderTokens_(folderTokens) {}

  // Clears `list`, then appends the Startup folders, the Run keys, the scheduled tasks and the
  // services, each in its own order. Lets no error escape: a source that fails, even by
  // throwing, contributes no entries, and the sources after it are still read.
  void GetAutorunList(AutorunList& list) override;
  // Only a failed deletion of a Startup file (below version 10) escapes, as StartupFileError.
  void SetAutorunEnabled(std::wstring_view target, std::wstring_view from, bool enabled) override;

 private:
  platform::Registry& registry_;
  platform::FileSystem& files_;
  platform::TaskScheduler& tasks_;
  platform::ServiceManager& services_;
  platform::System& system_;
  const FolderTokens& folderTokens_;
};
