#pragma once
// The autorun catalogue: the four sources read in a fixed order, and one switch that goes to
// the source an entry came from.
#include <string_view>

#include "autorun/autorun_info.h"
#include "platform/platform.h"
#include "support/path.h"

// The catalogue's two operations, as the list and the console companion use them.
class AutorunCatalogue {
 public:
  virtual ~AutorunCatalogue() = default;
  // Clears `list` and fills it again from every source.
  virtual void GetAutorunList(TAutorunList& list) = 0;
  // Switches the entry (`target`, `from`); the outcome shows at the next reading.
  virtual void SetAutorunEnabled(std::wstring_view target, std::wstring_view from, bool enabled) = 0;
};

class TAutorunCatalogue final : public AutorunCatalogue {
 public:
  TAutorunCatalogue(platform::Platform& platform, const TFolderTokens& folderTokens)
      : platform_(platform), folderTokens_(folderTokens) {}

  // Clears `list`, then appends the Startup folders, the Run keys, the scheduled tasks and the
  // services, each in its own order. Lets no error escape.
  void GetAutorunList(TAutorunList& list) override;
  // Only a failed deletion of a Startup file (below version 10) escapes, as EStartupFileError.
  void SetAutorunEnabled(std::wstring_view target, std::wstring_view from, bool enabled) override;

 private:
  platform::Platform& platform_;
  const TFolderTokens& folderTokens_;
};
