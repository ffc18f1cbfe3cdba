#pragma once
// The common and the user's Startup folders: one entry per startable file directly inside.
#include <stdexcept>
#include <string>
#include <string_view>

#include "autorun/autorun_info.h"
#include "platform/platform.h"

// A Startup file that could not be deleted; the message is the system's text for the failure.
// The one error the catalogue lets through.
class EStartupFileError : public std::runtime_error {
 public:
  explicit EStartupFileError(std::wstring message)
      : std::runtime_error("a Startup folder file could not be deleted"), message_(std::move(message)) {}
  const std::wstring& Message() const { return message_; }

 private:
  std::wstring message_;
};

// The common folder (states under HKLM), then the user's (states under HKCU).
void AddStartupFolders(platform::Platform& platform, TAutorunList& list);
void AddStartupFolder(platform::Platform& platform, std::wstring_view folder, TAutorunList& list);
// `target` is the file's full path. Below version 10 disabling deletes the file and throws
// EStartupFileError when that fails.
void SetStartupFolderEnabled(platform::Platform& platform, std::wstring_view target, bool enabled);
