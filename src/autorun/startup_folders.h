#pragma once
// The common and the user's Startup folders: one entry per startable file directly inside.
#include <stdexcept>
#include <string>
#include <string_view>

#include "autorun/autorun_info.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/system.h"

// A Startup file that could not be deleted; the message is the system's text for the failure.
// The one error the catalogue lets through.
class StartupFileError : public std::runtime_error {
 public:
  explicit StartupFileError(std::wstring message)
      : std::runtime_error("a Startup folder file could not be deleted"), message_(std::move(message)) {}
  const std::wstring& Message() const { return message_; }

 private:
  std::wstring message_;
};

// The common folder (states under HKLM), then the user's (states under HKCU).
void AddStartupFolders(platform::FileSystem& files, platform::Registry& registry, AutorunList& list);
void AddStartupFolder(platform::FileSystem& files, platform::Registry& registry, std::wstring_view folder,
                      AutorunList& list);
// `target` is the file's full path. Below version 10 disabling deletes the file and throws
// StartupFileError when that fails.
void SetStartupFolderEnabled(platform::FileSystem& files, platform::Registry& registry, platform::System& system,
                             std::wstring_view target, bool enabled);
