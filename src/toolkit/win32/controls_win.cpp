#include "toolkit/win32/controls_win.h"

#include <commctrl.h>

#include <algorithm>

#include "toolkit/win32/dpi_win.h"

namespace {

constexpr wchar_t kSurfaceClass[] = L"TarnwickSurface";
constexpr UINT_PTR kSubclassId = 1;

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

void RegisterClasses() {
  static const bool registered = [] {
    WNDCLASSEXW form{};
    form.cbSize = sizeof(form);
    form.style = CS_HREDRAW | CS_VREDRAW;
    form.lpfnWndProc = DefWindowProcW; // replaced per window at creation
    form.hInstance = Instance();
    form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form.lpszClassName = kFormClass;
    RegisterClassExW(&form);
    WNDCLASSEXW surface = form;
    surface.lpszClassName = kSurfaceClass;
    RegisterClassExW(&surface);
    return true;
  }();
  (void)registered;
}

void Fill(HDC dc, const RECT& rect, Color color) {
  const platform::GdiObject<HBRUSH> brush(CreateSolidBrush(ColorRef(color)));
  FillRect(dc, &rect, brush.get());
}

// The component of a window the toolkit made, or null.
Control* ComponentOf(HWND window) {
  return window ? reinterpret_cast<Control*>(GetPropW(window, L"TarnwickControl")) : nullptr;
}

} // namespace

// ---- Event handlers

namespace {
std::function<void(const std::exception&)>& UnexpectedErrorHandler() {
  static std::function<void(const std::exception&)> handler;
  return handler;
}
} // namespace

void SetUnexpectedErrorHandler(std::function<void(const std::exception&)> handler) {
  UnexpectedErrorHandler() = std::move(handler);
}

void RunHandler(const std::function<void()>& handler) {
  if (!handler) return;
  if (!UnexpectedErrorHandler()) return handler();
  try {
    handler();
  } catch (const std::exception& error) {
    UnexpectedErrorHandler()(error);
  }
}

// ---- Control

Control::Control(Form& form, Control* parent, std::wstring name, bool hasCaption)
    : form_(form), parent_(parent), name_(std::move(name)), hasCaption_(hasCaption) {
  if (parent_) parent_->children_.push_back(this);
}

Control::~Control() {
  if (parent_) std::erase(parent_->children_, this);
  if (window_) {
    RemovePropW(window_, L"TarnwickControl");
    if (!own_) RemoveWindowSubclass(window_, StandardProc, kSubclassId);
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

void Control::CreateWindowOf(LPCWSTR windowClass, DWORD style, DWORD exStyle, const std::wstring& text) {
  RegisterClasses();
  own_ = lstrcmpW(windowClass, kFormClass) == 0 || lstrcmpW(windowClass, kSurfaceClass) == 0;
  const HWND parentWindow = parent_ ? parent_->Handle() : nullptr;
  if (parentWindow) style |= WS_CHILD | WS_CLIPSIBLINGS;
  window_ = CreateWindowExW(exStyle, windowClass, text.c_str(), style, 0, 0, 0, 0, parentWindow, nullptr, Instance(),
                            nullptr);
  if (!window_) return;
  SetPropW(window_, L"TarnwickControl", this);
  if (own_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
  } else {
    SetWindowSubclass(window_, StandardProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  }
  if (parent_) SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(form_.Font()), FALSE);
}

LRESULT CALLBACK Control::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* control = reinterpret_cast<Control*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!control) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    control->window_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return control->OnMessage(message, wParam, lParam);
}

LRESULT CALLBACK Control::StandardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR data) {
  auto* control = reinterpret_cast<Control*>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, StandardProc, kSubclassId);
    control->window_ = nullptr;
    return DefSubclassProc(window, message, wParam, lParam);
  }
  LRESULT result = 0;
  if (control->OnStandardMessage(message, wParam, lParam, result)) return result;
  return DefSubclassProc(window, message, wParam, lParam);
}

bool Control::OnStandardMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
  if (message == WM_SETCURSOR && cursor != IDC_ARROW) {
    SetCursor(LoadCursorW(nullptr, cursor));
    result = TRUE;
    return true;
  }
  return false;
}

LRESULT Control::Default(UINT message, WPARAM wParam, LPARAM lParam) const {
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT Control::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window_, &client);
      Fill(reinterpret_cast<HDC>(wParam), client, BackColor());
      return TRUE;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window_, &paint);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_SIZE:
      Relayout();
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == window_) {
        SetCursor(LoadCursorW(nullptr, cursor));
        return TRUE;
      }
      break;
    case WM_COMMAND:
      if (Control* child = ComponentOf(reinterpret_cast<HWND>(lParam))) {
        child->OnCommand(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      LRESULT result = 0;
      if (Control* child = ComponentOf(header.hwndFrom); child && child->OnNotify(header, result)) return result;
      break;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (Control* child = ComponentOf(item.hwndItem)) {
        child->OnDrawItem(item);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (Control* child = ComponentOf(reinterpret_cast<HWND>(lParam))) {
        // A check box's text stands on its parent's colour.
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, ColorRef(child->BackColor()));
        SetDCBrushColor(dc, ColorRef(child->BackColor()));
        return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
      }
      break;
    default:
      break;
  }
  return Default(message, wParam, lParam);
}

Color Control::BackColor() const { return parentColor && parent_ ? parent_->BackColor() : color; }

int Control::Dpi() const { return form_.dpi_; }

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE);
  if (parent_) parent_->Relayout();
}

void Control::SetEnabled(bool enabled) { EnableWindow(window_, enabled); }

std::wstring Control::Caption() const {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window_)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Control::SetCaption(const std::wstring& caption) {
  SetWindowTextW(window_, caption.c_str());
  InvalidateRect(window_, nullptr, TRUE);
}

void Control::Place(const Rect& placed) {
  RECT now;
  GetWindowRect(window_, &now);
  const bool resized = now.right - now.left != placed.width || now.bottom - now.top != placed.height;
  SetWindowPos(window_, nullptr, placed.left, placed.top, placed.width, placed.height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  // A resized window lays out its children on WM_SIZE; one that keeps its size does it here.
  if (!resized) Relayout();
}

void Control::Relayout() {
  if (!window_) return;
  RECT client;
  GetClientRect(window_, &client);
  std::vector<LayoutItem> items;
  items.reserve(children_.size());
  for (const Control* child : children_) {
    items.push_back(LayoutItem{child->align, child->bounds, child->margins, child->visible_, {}});
  }
  ArrangeByAlignment(client.right, client.bottom, padding, Dpi(), items);
  for (std::size_t i = 0; i < children_.size(); ++i) {
    if (children_[i]->visible_ && children_[i]->window_) children_[i]->Place(items[i].placed);
  }
}

void Control::OnDpiChanged() {
  if (window_ && parent_) SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(form_.Font()), TRUE);
}

// ---- Panel, CardPanel, Shape

Panel::Panel(Form& form, Control& parent, std::wstring name) : Control(form, &parent, std::move(name), false) {
  CreateWindowOf(kSurfaceClass, WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

CardPanel::CardPanel(Form& form, Control& parent, std::wstring name) : Panel(form, parent, std::move(name)) {}

Panel& CardPanel::AddCard(std::wstring name) {
  Panel& card = OwnerForm().Make<Panel>(*this, std::move(name));
  card.align = Align::Client;
  SetActiveCard(active_ ? *active_ : card);
  return card;
}

void CardPanel::SetActiveCard(Panel& card) {
  active_ = &card;
  for (Control* child : Children()) child->SetVisible(child == &card);
}

Shape::Shape(Form& form, Control& parent, std::wstring name) : Control(form, &parent, std::move(name), false) {
  parentColor = false;
  CreateWindowOf(kSurfaceClass, WS_VISIBLE);
}

void Shape::SetFill(Color fill) {
  color = fill;
  InvalidateRect(window_, nullptr, TRUE);
}

// ---- CheckBox

CheckBox::CheckBox(Form& form, Control& parent, std::wstring name, const std::wstring& caption)
    : Control(form, &parent, std::move(name), true) {
  CreateWindowOf(L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, caption);
}

bool CheckBox::Checked() const { return SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
  SendMessageW(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::OnCommand(WORD code) {
  if (code == BN_CLICKED) RunHandler(OnClick);
}

// ---- Image

Image::Image(Form& form, Control& parent, std::wstring name, std::function<void(HDC, const RECT&)> draw)
    : Control(form, &parent, std::move(name), false), draw_(std::move(draw)) {
  CreateWindowOf(kSurfaceClass, WS_VISIBLE);
}

LRESULT Image::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window_, &paint);
      RECT client;
      GetClientRect(window_, &client);
      if (draw_) draw_(dc, client);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_LBUTTONUP:
      RunHandler(OnClick);
      return 0;
    default:
      return Control::OnMessage(message, wParam, lParam);
  }
}

// ---- StatusBar

StatusBar::StatusBar(Form& form, Control& parent, std::wstring name) : Control(form, &parent, std::move(name), false) {
  align = Align::Bottom;
  bounds.height = 19;
  CreateWindowOf(STATUSCLASSNAMEW, WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE);
}

void StatusBar::SetText(const std::wstring& text) {
  SendMessageW(window_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// ---- PopupMenu

PopupMenu::PopupMenu(Form& form, Control& parent, std::wstring name) : Control(form, &parent, std::move(name), false) {}

PopupMenu::Item& PopupMenu::AddItem(std::wstring name, std::wstring caption, std::function<void()> onClick) {
  items_.push_back(std::make_unique<Item>());
  items_.back()->name = std::move(name);
  items_.back()->caption = std::move(caption);
  items_.back()->onClick = std::move(onClick);
  return *items_.back();
}

std::vector<MenuItem*> PopupMenu::Items() const {
  std::vector<MenuItem*> items;
  for (const auto& item : items_) items.push_back(item.get());
  return items;
}

void PopupMenu::Popup(POINT screen) {
  const platform::OwnedMenu menu(CreatePopupMenu());
  for (std::size_t i = 0; i < items_.size(); ++i) {
    AppendMenuW(menu.get(), MF_STRING, i + 1, items_[i]->caption.c_str());
  }
  const HWND owner = OwnerForm().Handle();
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr));
  if (chosen > 0 && chosen <= items_.size()) RunHandler(items_[chosen - 1]->onClick);
}

// ---- Form

Form::Form(std::wstring name, const std::wstring& caption, int clientWidth, int clientHeight, bool border)
    : Control(*this, nullptr, std::move(name), true), border_(border) {
  const DWORD style = border ? WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN : WS_POPUP | WS_CLIPCHILDREN;
  CreateWindowOf(kFormClass, style, WS_EX_CONTROLPARENT, caption);
  dpi_ = DpiOf(window_);
  MakeFont();
  // Client size at the DPI, centred on the work area.
  RECT frame{0, 0, Scale(clientWidth, dpi_), Scale(clientHeight, dpi_)};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

Form::~Form() {
  while (!owned_.empty()) owned_.pop_back(); // in reverse order of making
}

void Form::MakeFont() {
  LOGFONTW font = DesktopFont(dpi_, iconTitleFont_);
  font_.reset(CreateFontIndirectW(&font));
}

void Form::UseIconTitleFont() {
  iconTitleFont_ = true;
  ApplyDpi(dpi_, nullptr);
}

void Form::ApplyDpi(int dpi, const RECT* suggested) {
  dpi_ = dpi;
  MakeFont();
  for (const auto& control : owned_) control->OnDpiChanged();
  if (suggested) {
    SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Relayout();
  InvalidateRect(window_, nullptr, TRUE);
}

void Form::Show(int how) {
  ShowWindow(window_, how);
  UpdateWindow(window_);
}

void Form::Free(Control& control) {
  std::erase_if(owned_, [&](const auto& owned) { return owned.get() == &control; });
}

Control* Form::FindComponent(std::wstring_view name) const {
  for (const auto& control : owned_) {
    if (control->Name() == name) return control.get();
  }
  return nullptr;
}

void Form::GrowClientHeight(int pixels) {
  if (IsIconic(window_) || IsZoomed(window_)) { // the size it is restored to grows
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(window_, &placement);
    placement.rcNormalPosition.bottom += pixels;
    SetWindowPlacement(window_, &placement);
    return;
  }
  RECT frame;
  GetWindowRect(window_, &frame);
  frame.bottom += pixels;
  // A window that grows past the bottom of its monitor's work area moves up, as far as its top.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const LONG up = std::min(frame.bottom - monitor.rcWork.bottom, frame.top - monitor.rcWork.top);
    if (up > 0) OffsetRect(&frame, 0, -up);
  }
  SetWindowPos(window_, nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

LOGFONTW Form::FontDescription() const { return DesktopFont(dpi_, iconTitleFont_); }

std::vector<Component*> Form::Components() const {
  std::vector<Component*> components;
  for (const auto& control : owned_) components.push_back(control.get());
  return components;
}

void Form::MoveToFront(Control& control) {
  auto& siblings = control.parent_->children_;
  std::erase(siblings, &control);
  siblings.insert(siblings.begin(), &control);
  control.parent_->Relayout();
}

LRESULT Form::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DPICHANGED:
      ApplyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      if (OnDestroy) OnDestroy();
      return 0;
    default:
      return Control::OnMessage(message, wParam, lParam);
  }
}
