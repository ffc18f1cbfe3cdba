#pragma once
// What the program builds once before its window, from the real system: the platform services,
// the translation and the current language, the folder tokens, the button style families, the
// catalogue. The entry wires the window from it, and so do the programs that show the window for
// pictures and measurements.
#include <string>

#include "app/main_window_win.h"
#include "windows/save_dialog_win.h"
#include "windows/win32_platform.h"

struct Program {
  Program();
  // The window's services, with the maker's web site and information site.
  MainWindowServices Services(std::wstring site, std::wstring infoSite);

  platform::Win32Platform win32;
  Translation translation;
  const FolderTokens folderTokens;
  ButtonFamilies families;
  SystemCatalogue catalogue;
  platform::Win32SaveDialog saveDialog;
};
