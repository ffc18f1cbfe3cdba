#pragma once
// The question whether to download an offered update: the system's warning icon, the question,
// Yes (the default) and No, and below them what the reply's "info" asks for: a "hold" check box
// or a "note" link, after a grey separator line.
#include <windows.h>

#include <functional>
#include <string>

#include "platform/shell.h"

struct UpdateDialogSetting {
  HWND owner;            // the main window
  std::wstring language; // of the fixed texts
  std::wstring title;    // the application's title, translated
  platform::Shell& shell;
};

// True when the user chose Yes. A ticked "hold" box runs `hold` after the dialog closed,
// whichever button closed it. `data` is the whole reply; `dialogOffset` shifts the extras.
bool UpdateDialog(const UpdateDialogSetting& setting, const std::wstring& data, int dialogOffset,
                  const std::function<void()>& hold);

// The control identifiers of the dialog's extras, for those who drive it.
inline constexpr int kUpdateHoldBox = 100;
inline constexpr int kUpdateNoteLink = 101;
inline constexpr int kUpdateSeparator = 102;
