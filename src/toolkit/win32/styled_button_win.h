#pragma once
// Styled buttons: owner-drawn BUTTON windows that keep their caption as window text and act as
// push buttons for the keyboard, drawn in five states from the attributes of their style family.
#include "theme/button_styles.h"
#include "toolkit/win32/controls_win.h"

enum class ButtonState { Normal, Pressed, Selected, Hot, Disabled }; // the order of ButtonStates' members

class StyledButton : public Control {
 public:
  StyledButton(Form& form, Control& parent, std::wstring name, const std::wstring& caption,
               const ButtonFamilies& families, std::wstring appearance = L"Normal", std::wstring family = L"Veltrano",
               std::wstring buttonClass = L"Primary");

  int cornerRadius = 6; // design pixels
  // A speed button stays down once it is set down, and shows the pressed look while it is.
  void SetDown(bool down);
  bool Down() const { return down_; }
  void SetAppearance(std::wstring appearance);
  // The state the button draws now.
  ButtonState State() const;
  const ButtonStates& States() const { return states_; }

  void OnCommand(WORD code) override;
  void OnDrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  bool OnStandardMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Restyle();

  const ButtonFamilies& families_;
  std::wstring family_, buttonClass_, appearance_;
  ButtonStates states_;
  bool down_ = false;
  bool hot_ = false;
};

// A bar of tool buttons side by side from the left, drawn as the family's "Header" tabs.
class StyledToolbar : public Control {
 public:
  StyledToolbar(Form& form, Control& parent, std::wstring name, const ButtonFamilies& families);
  // A tool button `width` design pixels wide.
  StyledButton& AddButton(std::wstring name, const std::wstring& caption, int width);
  int cornerRadius = 4; // design pixels, for the buttons added after

 private:
  const ButtonFamilies& families_;
};
