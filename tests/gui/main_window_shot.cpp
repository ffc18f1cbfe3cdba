// The program's window on the prefix it runs in, for a picture: `main_window_shot.exe FILE.png`
// builds the window as the program does, ticks "All Programs", clicks the first disabled row (so
// the button shows pressed), saves a picture of the window and ends.
#include "app/main_window_win.h"
#include "gallery.h"
#include "platform/win32/save_dialog_win.h"
#include "platform/win32/system_dll.h"
#include "platform/win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  platform::RestrictDllSearchToSystem32();
  if (__argc < 2) return 2;
  platform::Win32Platform win32;
  Translation translation(win32.resources, win32.locale);
  const FolderTokens folderTokens = MakeFolderTokens(win32.files, win32.system);
  ButtonFamilies families;
  families.Register(std::make_unique<TVeltranoButtonStyles>());
  SystemCatalogue catalogue(win32.registry, win32.files, win32.tasks, win32.services, win32.system, folderTokens);
  platform::Win32SaveDialog saveDialog;
  TFrmTarnwick window({win32.resources, win32.locale,
                       FrameServices{catalogue, win32.files, win32.fileInfo, win32.shell, saveDialog, folderTokens,
                                     translation, families, L"https://info.tarnwick.example"},
                       L"https://www.tarnwick.example"},
                      translation);
  window.Show();
  Pump(500);
  TFrmAutorun& frame = *window.FrmAutorun;
  frame.ChkAllList.SetChecked(true);
  frame.ChkAllListClick();
  const auto& rows = frame.Model().Rows();
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    if (!rows[i].Enabled) {
      frame.ListAutorun.SelectRow(i);
      frame.ListAutorunClick();
      break;
    }
  }
  Pump(700);
  return SaveWindowPicture(window.Handle(), __wargv[1]) ? 0 : 1;
}
