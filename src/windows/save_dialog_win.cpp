#include "windows/save_dialog_win.h"

#include <commdlg.h>

namespace platform {

bool Win32SaveDialog::ChooseFile(const SaveDialogOptions& options, std::wstring& path) {
  // Filters as the dialog takes them: description and patterns, each ended by NUL, then a NUL.
  std::wstring filter;
  for (const auto& [description, patterns] : options.filters) {
    filter += description + L'\0' + patterns + L'\0';
  }
  filter += L'\0';
  std::wstring file(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner_;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = options.title.c_str();
  dialog.lpstrDefExt = options.defaultExtension.empty() ? nullptr : options.defaultExtension.c_str();
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&dialog)) return false;
  path.assign(file.c_str());
  return true;
}

} // namespace platform
