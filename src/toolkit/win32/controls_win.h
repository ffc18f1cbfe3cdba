#pragma once
// A thin layer of components over Win32 child windows. Each component has the name the window's
// layout tables give it, the form that owns and destroys it, a parent, and the tables'
// settings: alignment, design bounds and margins at 96 DPI, padding, colour, caption,
// visibility, enabled state and cursor. Standard window classes are used wherever one fits, so
// that the keyboard, screen readers and UI Automation work as with any Windows program.
#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "theme/button_styles.h"
#include "toolkit/layout.h"
#include "translate/translate.h"
#include "windows/gdi_win.h"

class Form;

// The window class of every form.
inline constexpr wchar_t kFormClass[] = L"TarnwickForm";

// Runs an event handler. An error that escapes it goes to the handler set here (the program's
// error box), and the program goes on; without one set it goes on to the caller.
void RunHandler(const std::function<void()>& handler);
void SetUnexpectedErrorHandler(std::function<void(const std::exception&)> handler);

class Control : public Component {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  ~Control() override;

  const std::wstring& Name() const { return name_; }
  HWND Handle() const { return window_; }
  Control* Parent() const { return parent_; }
  Form& OwnerForm() const { return form_; }
  const std::vector<Control*>& Children() const { return children_; }

  // The layout settings, design sizes at 96 DPI. Changing them takes effect at the parent's
  // next layout (Relayout).
  Align align = Align::None;
  Rect bounds;
  Margins margins;
  Margins padding;
  bool parentColor = true; // draws with its parent's colour, not its own
  Color color = kWhite;
  LPCWSTR cursor = IDC_ARROW;

  Color BackColor() const;
  int Dpi() const;
  void SetVisible(bool visible);
  bool Visible() const { return visible_; }
  void SetEnabled(bool enabled);
  bool Enabled() const { return IsWindowEnabled(window_) != FALSE; }
  // Lays out the aligned children again inside the padding, and theirs.
  void Relayout();
  // Called on a click of the control (a button, a check box, an image).
  std::function<void()> OnClick;

  // What translation walks.
  MenuItem* PopupMenuRoot() const override { return nullptr; }
  bool HasCaption() const override { return hasCaption_; }
  std::wstring Caption() const override;
  void SetCaption(const std::wstring& caption) override;
  bool IsForm() const override { return false; }
  std::vector<Component*> Components() const override { return {}; }

  // Messages the parent receives for this child (WM_COMMAND, WM_DRAWITEM, WM_CTLCOLOR*).
  virtual void OnCommand(WORD) {}
  virtual void OnDrawItem(const DRAWITEMSTRUCT&) {}
  // WM_NOTIFY from this child; true when handled, with `result`.
  virtual bool OnNotify(const NMHDR&, LRESULT&) { return false; }
  // The font and the scaled sizes changed; standard windows take the form's font here.
  virtual void OnDpiChanged();

 protected:
  Control(Form& form, Control* parent, std::wstring name, bool hasCaption);
  // Creates the window of class `windowClass`; the toolkit's own classes route their messages
  // to OnMessage, standard ones keep their own procedure.
  void CreateWindowOf(LPCWSTR windowClass, DWORD style, DWORD exStyle = 0, const std::wstring& text = {});
  // Messages of the toolkit's own window classes; the default paints the background, lays out
  // on WM_SIZE and hands child notifications to the child's component.
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const;
  // Scaled placement of this control by its parent, in pixels.
  void Place(const Rect& placed);
  // What a standard window of this component sees before its own procedure; true when handled
  // (with `result`), false to pass the message on.
  virtual bool OnStandardMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  HWND window_ = nullptr;

 private:
  friend class Form;
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK StandardProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  bool own_ = false; // a window of the toolkit's own classes
  Form& form_;
  Control* parent_;
  std::wstring name_;
  bool hasCaption_;
  bool visible_ = true;
  std::vector<Control*> children_;
};

// A plain surface that lays out its children.
class Panel : public Control {
 public:
  Panel(Form& form, Control& parent, std::wstring name);
};

// A panel that shows one of its child panels, the active card, filling it.
class CardPanel : public Panel {
 public:
  CardPanel(Form& form, Control& parent, std::wstring name);
  Panel& AddCard(std::wstring name);
  void SetActiveCard(Panel& card);
  Panel* ActiveCard() const { return active_; }

 private:
  Panel* active_ = nullptr;
};

// A filled rectangle, such as the accent line along a form's top.
class Shape : public Control {
 public:
  Shape(Form& form, Control& parent, std::wstring name);
  void SetFill(Color fill);
};

// A check box: the system's BUTTON.
class CheckBox : public Control {
 public:
  CheckBox(Form& form, Control& parent, std::wstring name, const std::wstring& caption);
  bool Checked() const;
  void SetChecked(bool checked);
  void OnCommand(WORD code) override;
};

// A picture drawn at the control's size, crisp at any DPI: `draw` paints it into the rectangle.
class Image : public Control {
 public:
  Image(Form& form, Control& parent, std::wstring name, std::function<void(HDC, const RECT&)> draw);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::function<void(HDC, const RECT&)> draw_;
};

// The system's status bar, along the bottom of its parent.
class StatusBar : public Control {
 public:
  StatusBar(Form& form, Control& parent, std::wstring name);
  void SetText(const std::wstring& text);
};

// A popup menu whose items translation walks through its root.
class PopupMenu : public Control, public MenuItem {
 public:
  struct Item final : MenuItem {
    std::wstring name;
    std::wstring caption;
    std::function<void()> onClick;
    std::wstring Caption() const override { return caption; }
    void SetCaption(const std::wstring& text) override { caption = text; }
    std::vector<MenuItem*> Items() const override { return {}; }
  };
  PopupMenu(Form& form, Control& parent, std::wstring name);
  Item& AddItem(std::wstring name, std::wstring caption, std::function<void()> onClick);
  // Shows the menu at a screen point and runs the chosen item's action.
  void Popup(POINT screen);

  MenuItem* PopupMenuRoot() const override { return const_cast<PopupMenu*>(this); }
  std::wstring Caption() const override { return {}; }
  void SetCaption(const std::wstring&) override {}
  std::vector<MenuItem*> Items() const override;

 private:
  std::vector<std::unique_ptr<Item>> items_;
};

// A top-level window that owns every component on it, lays them out by alignment at its DPI,
// and draws their text with its font.
class Form : public Control {
 public:
  // A form of `clientWidth` x `clientHeight` design pixels, centred on the screen; `border`
  // false makes a window without a frame.
  Form(std::wstring name, const std::wstring& caption, int clientWidth, int clientHeight, bool border = true);
  ~Form() override;

  // Makes a component owned by the form, in ownership order.
  template <typename T, typename... Args>
  T& Make(Args&&... args) {
    auto made = std::make_unique<T>(*this, std::forward<Args>(args)...);
    T& result = *made;
    owned_.push_back(std::move(made));
    return result;
  }

  bool HasBorder() const { return border_; }
  HFONT Font() const { return font_.get(); }
  // Draws text with the desktop's icon-title font instead of its message font.
  void UseIconTitleFont();
  // Lays out again for `dpi`, as WM_DPICHANGED does; `suggested` is the new window rectangle.
  void ApplyDpi(int dpi, const RECT* suggested);
  void Show(int how = SW_SHOWNORMAL);
  std::function<void()> OnDestroy;

  // Destroys an owned component before the form, as freeing it early does.
  void Free(Control& control);
  // The owned component named `name`, or null.
  Control* FindComponent(std::wstring_view name) const;
  // Makes the window taller by `pixels`, all of them client area, moved up when it would leave
  // the work area; a minimised or maximised window, once restored. The layout follows.
  void GrowClientHeight(int pixels);
  // The font the form draws its text with, as a description.
  LOGFONTW FontDescription() const;

  bool IsForm() const override { return true; }
  std::vector<Component*> Components() const override;
  // Places a control first among the top-aligned ones (the theme's accent line).
  void MoveToFront(Control& control);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  friend class Control;
  void MakeFont();
  std::vector<std::unique_ptr<Control>> owned_;
  platform::FontHandle font_;
  bool border_;
  bool iconTitleFont_ = false;
  int dpi_ = 96;
};
