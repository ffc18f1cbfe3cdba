#include "toolkit/win32/styled_button_win.h"

#include "toolkit/win32/button_renderer_win.h"

StyledButton::StyledButton(Form& form, Control& parent, std::wstring name, const std::wstring& caption,
                           const ButtonFamilies& families, std::wstring appearance, std::wstring family,
                           std::wstring buttonClass)
    : Control(form, &parent, std::move(name), true),
      families_(families),
      family_(std::move(family)),
      buttonClass_(std::move(buttonClass)),
      appearance_(std::move(appearance)) {
  CreateWindowOf(L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, caption);
  Restyle();
}

void StyledButton::Restyle() {
  families_.Resolve(family_, buttonClass_, appearance_, states_);
  InvalidateRect(window_, nullptr, FALSE);
}

void StyledButton::SetAppearance(std::wstring appearance) {
  appearance_ = std::move(appearance);
  Restyle();
}

void StyledButton::SetDown(bool down) {
  down_ = down;
  InvalidateRect(window_, nullptr, FALSE);
}

ButtonState StyledButton::State() const {
  if (!Enabled()) return ButtonState::Disabled;
  if (down_ || (SendMessageW(window_, BM_GETSTATE, 0, 0) & BST_PUSHED)) return ButtonState::Pressed;
  if (hot_) return ButtonState::Hot;
  if (GetFocus() == window_) return ButtonState::Selected;
  return ButtonState::Normal;
}

void StyledButton::OnCommand(WORD code) {
  if (code == BN_CLICKED) RunHandler(OnClick);
}

void StyledButton::OnDrawItem(const DRAWITEMSTRUCT& item) {
  // The attributes of each state, in the order of ButtonState.
  const TStyledButtonAttributes* const byState[] = {&states_.Normal, &states_.Pressed, &states_.Selected, &states_.Hot,
                                                    &states_.Disabled};
  const TStyledButtonAttributes* attributes = byState[static_cast<int>(State())];
  // The focus cue shows only when the keyboard is in use, as Windows' own buttons do.
  const bool keyboardFocus = (item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT);
  DrawStyledButton(item.hDC, item.rcItem,
                   ButtonPaint{attributes, Parent()->BackColor(), Scale(cornerRadius, Dpi()),
                               Scale(attributes->BorderWidth, Dpi()), OwnerForm().Font(), Caption(), keyboardFocus});
}

bool StyledButton::OnStandardMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_MOUSEMOVE:
      if (!hot_) {
        hot_ = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
        TrackMouseEvent(&track);
        InvalidateRect(window_, nullptr, FALSE);
      }
      break;
    case WM_MOUSELEAVE:
      hot_ = false;
      InvalidateRect(window_, nullptr, FALSE);
      break;
    case WM_ERASEBKGND: // the whole button is drawn at once: nothing to erase
      result = TRUE;
      return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(window_, nullptr, FALSE);
      break;
    case WM_GETDLGCODE: // Enter presses the focused button, as it does a push button in a dialog
      if (lParam && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN && wParam == VK_RETURN) {
        result = DLGC_WANTMESSAGE | DLGC_BUTTON;
        return true;
      }
      break;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        SendMessageW(window_, BM_CLICK, 0, 0);
        result = 0;
        return true;
      }
      break;
    default:
      break;
  }
  return Control::OnStandardMessage(message, wParam, lParam, result);
}

StyledToolbar::StyledToolbar(Form& form, Control& parent, std::wstring name, const ButtonFamilies& families)
    : Control(form, &parent, std::move(name), false), families_(families) {
  CreateWindowOf(L"TarnwickSurface", WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

StyledButton& StyledToolbar::AddButton(std::wstring name, const std::wstring& caption, int width) {
  StyledButton& button = OwnerForm().Make<StyledButton>(*this, std::move(name), caption, families_, L"Header");
  button.align = Align::Left;
  button.bounds.width = width;
  button.cornerRadius = cornerRadius;
  Relayout();
  return button;
}
