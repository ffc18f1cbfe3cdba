#pragma once
// The console companion: the catalogue for administrators and scripts.
#include <functional>
#include <string>
#include <vector>

#include "autorun/catalogue.h"
#include "platform/file_info.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/resources.h"
#include "platform/system.h"
#include "support/path.h"
#include "support/personal_names.h"

// What the commands work with: the catalogue, and what the rows of the window are made from.
struct CliServices {
  AutorunCatalogue& catalogue;
  platform::FileSystem& files;
  platform::FileInfo& fileInfo;
  platform::Locale& locale;
  platform::Resources& resources;
  const FolderTokens& folderTokens;
  platform::System& system;
  // The names a startup profile must not hold, read when a profile is made or applied.
  std::function<PersonalNames()> personalNames;
};

// Runs one command line (the arguments after the program name). `out` and `err` receive
// UTF-8 text. Returns the exit code: 0 done, 1 not done, 2 usage error.
int RunCli(const std::vector<std::wstring>& args, const CliServices& services, std::string& out, std::string& err);
