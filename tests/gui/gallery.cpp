#include "gallery.h"

#include <vector>

#include "toolkit/win32/gdiplus_win.h"

Gallery::Gallery(const ButtonFamilies& families, bool border)
    : form(L"FrmGallery", L"Tarnwick toolkit gallery", 520, 330, border),
      theme(CreateThemeHelper(form)),
      head(form.Make<Panel>(form, L"PnlHead")),
      toolbar(form.Make<StyledToolbar>(head, L"BtnHead", families)),
      home(toolbar.AddButton(L"BtnHome", L"Home", 80)),
      body(form.Make<Panel>(form, L"PnlBody")),
      check(form.Make<CheckBox>(body, L"ChkAllList", L"All Programs")),
      logo(form.Make<Image>(head, L"ImgLogo",
                            [](HDC dc, const RECT& rect) {
                              SetDCBrushColor(dc, ColorRef(kAccent));
                              FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
                            })),
      cards(form.Make<CardPanel>(body, L"PnlCards")),
      firstCard(cards.AddCard(L"PnlFirst")),
      secondCard(cards.AddCard(L"PnlSecond")),
      menu(form.Make<PopupMenu>(body, L"Menu")),
      status(form.Make<StatusBar>(form, L"StatusBar")) {
  head.align = Align::Top;
  head.bounds.height = 50;
  head.padding = {8, 8, 8, 8};
  toolbar.align = Align::Left;
  toolbar.bounds.width = 170;
  toolbar.AddButton(L"BtnTools", L"Tools", 80);
  home.SetDown(true);
  body.align = Align::Client;
  for (std::size_t row = 0; row < kAppearances.size(); ++row) {
    for (std::size_t column = 0; column < kStates.size(); ++column) {
      StyledButton& button = form.Make<StyledButton>(body, L"Btn", kAppearances[row], families, kAppearances[row]);
      button.bounds = {12 + static_cast<int>(column) * 98, 12 + static_cast<int>(row) * 50, 84, 33};
      if (kStates[column] == ButtonState::Pressed) button.SetDown(true);
      if (kStates[column] == ButtonState::Disabled) button.SetEnabled(false);
      buttons[row][column] = &button;
    }
  }
  check.bounds = {14, 170, 135, 17};
  logo.align = Align::Right;
  logo.bounds.width = 112;
  logo.cursor = IDC_HAND;
  cards.bounds = {300, 165, 180, 30};
  firstCard.parentColor = secondCard.parentColor = false;
  firstCard.color = kSilver;
  secondCard.color = kAccent;
  menu.AddItem(L"BtnSave", L"목록 저장", nullptr);
  status.SetText(L"Ready");
  form.Relayout();
}

void Focus(StyledButton& button) { SetFocus(button.Handle()); }

void Hover(StyledButton& button) {
  RECT rect;
  GetWindowRect(button.Handle(), &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  PostMessageW(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
}

void Pump(int milliseconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(10);
  } while (GetTickCount64() < end);
}

bool PumpUntil(const std::function<bool()>& done, int milliseconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
  while (!done()) {
    if (GetTickCount64() >= end) return false;
    Pump(10);
  }
  return true;
}

bool SaveWindowPicture(HWND window, const wchar_t* path) {
  StartGdiplus();
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  const HDC screen = GetDC(nullptr);
  const platform::MemoryDc memory(CreateCompatibleDC(screen));
  const platform::GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, width, height));
  const HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
  BitBlt(memory.get(), 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory.get(), old);
  ReleaseDC(nullptr, screen);
  bool saved = false;
  {
    Gdiplus::Bitmap picture(bitmap.get(), nullptr);
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
  return saved;
}
