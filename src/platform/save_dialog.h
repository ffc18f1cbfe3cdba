#pragma once
// The system's dialog that asks the user where to save a file.
#include <string>
#include <utility>
#include <vector>

namespace platform {

struct SaveDialogOptions {
  std::wstring title;
  // Pairs of a description and its patterns ("Text (*.txt)", "*.txt"); the first is chosen.
  std::vector<std::pair<std::wstring, std::wstring>> filters;
  std::wstring defaultExtension; // added to a name typed without one
};

class SaveDialog {
 public:
  virtual ~SaveDialog() = default;
  // Shows the dialog, which asks before an existing file is overwritten; false when the user
  // cancels. On true `path` is the chosen file.
  virtual bool ChooseFile(const SaveDialogOptions& options, std::wstring& path) = 0;
};

} // namespace platform
