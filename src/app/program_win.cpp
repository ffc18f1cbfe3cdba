#include "app/program_win.h"

Program::Program()
    : translation(win32.resources, win32.locale),
      folderTokens(MakeFolderTokens(win32.files, win32.system)),
      catalogue(win32.registry, win32.files, win32.tasks, win32.services, win32.system, folderTokens) {
  families.Register(std::make_unique<TVeltranoButtonStyles>());
}

MainWindowServices Program::Services(std::wstring site, std::wstring infoSite) {
  return MainWindowServices{win32.resources, win32.locale,
                            FrameServices{catalogue, win32.files, win32.fileInfo, win32.shell, saveDialog, folderTokens,
                                          translation, families, std::move(infoSite)},
                            std::move(site)};
}
