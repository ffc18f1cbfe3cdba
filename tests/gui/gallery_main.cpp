// The gallery as a program: `gallery.exe` shows it until it is closed; `gallery.exe FILE.png`
// shows it with the Outline row's selected and hot buttons in those states, saves a picture of
// the window, frame included, and ends.
#include <vector>

#include "gallery.h"
#include "platform/win32/system_dll.h"
#include "toolkit/win32/gdiplus_win.h"

namespace {

bool SavePng(HWND window, const wchar_t* path) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);
  bool saved = false;
  {
    Gdiplus::Bitmap picture(bitmap, nullptr);
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, encoders);
    for (UINT i = 0; i < count; ++i) {
      if (std::wstring_view(encoders[i].MimeType) == L"image/png") {
        saved = picture.Save(path, &encoders[i].Clsid, nullptr) == Gdiplus::Ok;
      }
    }
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  platform::RestrictDllSearchToSystem32();
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);

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
    code = SavePng(gallery.form.Handle(), __wargv[1]) ? 0 : 1;
  } else {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return code;
}
