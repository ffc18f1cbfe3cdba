#pragma once
#include <windows.h>

#include "platform/save_dialog.h"

namespace platform {

// GetSaveFileNameW, owned by a window.
class Win32SaveDialog final : public SaveDialog {
 public:
  explicit Win32SaveDialog(HWND owner = nullptr) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }
  bool ChooseFile(const SaveDialogOptions& options, std::wstring& path) override;

 private:
  HWND owner_;
};

} // namespace platform
