#pragma once
// The program's window look on a form: a dark title bar, and a 2-pixel accent line along the top
// of the client area, blue while the form is active and grey while it is not, shown only when the
// form has a border.
#include "toolkit/win32/controls_win.h"

class TThemeHelper final : public Control {
 public:
  // Themes `form`, which owns the helper and its line.
  explicit TThemeHelper(Form& form);
  // Gives the form its message handling back; the line stays in its last colour.
  ~TThemeHelper() override;

  void UpdateShape();
  bool Active() const { return FIsActive; }
  Shape& Line() const { return *FShape; }

 private:
  static LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data);
  Form& FForm;
  const Color FActiveColor = kAccent;
  bool FIsActive = true;
  Shape* FShape = nullptr;
  bool hooked_ = false;
};

// Creates the helper for `owner`, which owns it. The owner must be a form: anything else
// raises std::invalid_argument "TThemeHelper Owner must be a TForm" and creates nothing.
TThemeHelper& CreateThemeHelper(Control& owner);
