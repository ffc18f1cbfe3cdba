#include "update/win32/update_status_win.h"

#include <commctrl.h>

#include "toolkit/layout.h"
#include "update/web_address.h"

UpdateStatusBar::UpdateStatusBar(Form& form, Control& parent, std::wstring name, platform::Shell& shell)
    : StatusBar(form, parent, std::move(name)), shell_(shell) {
  bounds.height = kUpdateStatusHeight;
  cursor = IDC_HAND;
  int whole = -1; // one panel across the whole bar
  SendMessageW(window_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&whole));
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0,
                         form.Handle(), nullptr, nullptr, nullptr);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = form.Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(window_);
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  OnDpiChanged();
}

void UpdateStatusBar::OnDpiChanged() {
  LOGFONTW bold = OwnerForm().FontDescription();
  bold.lfWeight = FW_BOLD;
  font_.reset(CreateFontIndirectW(&bold));
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

void UpdateStatusBar::SetNotice(const std::wstring& text, const std::wstring& address) {
  address_ = address;
  SendMessageW(window_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = OwnerForm().Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(window_);
  tool.lpszText = address_.data();
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  InvalidateRect(window_, nullptr, TRUE);
}

bool UpdateStatusBar::OnNotify(const NMHDR& header, LRESULT&) {
  if (header.code != NM_CLICK) return false;
  if (IsWebAddress(address_)) shell_.ShellOpen(address_);
  return true;
}

void UpdateStatusBar::Paint(HDC dc) {
  RECT area;
  GetClientRect(window_, &area);
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  std::wstring text(LOWORD(SendMessageW(window_, SB_GETTEXTLENGTHW, 0, 0)) + 1, L'\0');
  SendMessageW(window_, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
  const HGDIOBJ old = SelectObject(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 0, 0));
  DrawTextW(dc, text.c_str(), -1, &area, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
  SelectObject(dc, old);
}

bool UpdateStatusBar::OnStandardMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND:
      result = TRUE;
      return true;
    case WM_PAINT: { // the one panel drawn whole, bold red and centred, through a buffer
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window_, &paint);
      RECT area;
      GetClientRect(window_, &area);
      const platform::MemoryDc buffer(CreateCompatibleDC(dc));
      const platform::GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, area.right, area.bottom));
      const HGDIOBJ old = SelectObject(buffer.get(), bitmap.get());
      Paint(buffer.get());
      BitBlt(dc, 0, 0, area.right, area.bottom, buffer.get(), 0, 0, SRCCOPY);
      SelectObject(buffer.get(), old);
      EndPaint(window_, &paint);
      result = 0;
      return true;
    }
    default:
      return StatusBar::OnStandardMessage(message, wParam, lParam, result);
  }
}

void ShowUpdateStatus(Form& form, const std::wstring& text, const std::wstring& address, platform::Shell& shell) {
  auto* bar = dynamic_cast<UpdateStatusBar*>(form.FindComponent(L"StatusBar"));
  if (!bar) {
    bar = &form.Make<UpdateStatusBar>(form, L"StatusBar", shell);
    form.GrowClientHeight(Scale(kUpdateStatusHeight, form.Dpi()));
    form.Relayout();
  }
  bar->SetNotice(text, address);
}
