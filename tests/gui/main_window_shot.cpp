// The program's window on the prefix it runs in, for a picture: `main_window_shot.exe FILE.png`
// builds the window as the program does, ticks "All Programs", clicks the first disabled row (so
// the button shows pressed), saves a picture of the window and ends.
#include "app/program_win.h"
#include "gallery.h"
#include "windows/system_dll.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  platform::RestrictDllSearchToSystem32();
  if (__argc < 2) return 2;
  Program program;
  TFrmTarnwick window(program.Services(L"https://www.tarnwick.example", L"https://info.tarnwick.example"),
                      program.translation);
  window.Show();
  Pump(500);
  TFrmAutorun& frame = *window.FrmAutorun;
  frame.ChkAllList.SetChecked(true);
  frame.ChkAllListClick();
  const auto& rows = frame.Model().Rows();
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    if (!rows[i].Enabled) {
      frame.ListAutorun.SelectRow(i);
      break;
    }
  }
  Pump(700);
  return SaveWindowPicture(window.Handle(), __wargv[1]) ? 0 : 1;
}
