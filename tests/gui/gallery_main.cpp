// The gallery as a program: `gallery.exe` shows it until it is closed; `gallery.exe FILE.png`
// shows it with the Outline row's selected and hot buttons in those states, saves a picture of
// the window, frame included, and ends.
#include "gallery.h"
#include "windows/system_dll.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  platform::RestrictDllSearchToSystem32();
  ButtonFamilies families;
  families.Register(std::make_unique<TVeltranoButtonStyles>());
  Gallery gallery(families, true);
  gallery.form.OnDestroy = [] { PostQuitMessage(0); };
  gallery.form.Show();
  int code = 0;
  if (__argc > 1) {
    Focus(*gallery.buttons[2][2]);
    Hover(*gallery.buttons[2][3]);
    Pump(700);
    code = SaveWindowPicture(gallery.form.Handle(), __wargv[1]) ? 0 : 1;
  } else {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return code;
}
