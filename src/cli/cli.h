#pragma once
// The console companion: the catalogue for administrators and scripts.
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/path.h"

// Runs one command line (the arguments after the program name). `out` and `err` receive
// UTF-8 text. Returns the exit code: 0 done, 1 not done, 2 usage error.
int RunCli(const std::vector<std::wstring>& args, platform::Platform& platform, const TFolderTokens& folderTokens,
           std::string& out, std::string& err);
