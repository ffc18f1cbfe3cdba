#pragma once
// The autorun catalogue: the four sources read in a fixed order, and one switch that goes to
// the source an entry came from.
#include <string_view>

#include "autorun/autorun_info.h"
#include "platform/platform.h"
#include "support/path.h"

class TAutorunCatalogue {
 public:
  TAutorunCatalogue(platform::Platform& platform, const TFolderTokens& folderTokens)
      : platform_(platform), folderTokens_(folderTokens) {}

  // Clears `list`, then appends the Startup folders, the Run keys, the scheduled tasks and the
  // services, each in its own order. Lets no error escape.
  void GetAutorunList(TAutorunList& list);
  // Switches the entry (`target`, `from`); the outcome shows at the next reading. Only a failed
  // deletion of a Startup file (below version 10) escapes, as EStartupFileError.
  void SetAutorunEnabled(std::wstring_view target, std::wstring_view from, bool enabled);

 private:
  platform::Platform& platform_;
  const TFolderTokens& folderTokens_;
};
