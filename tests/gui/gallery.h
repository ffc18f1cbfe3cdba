#pragma once
// The toolkit's gallery, a window that is no part of the program: a themed form with a header
// toolbar whose "Home" tab is down, a row of styled buttons per appearance with one button per
// state, a check box and a status bar.
#include <array>
#include <functional>

#include "toolkit/win32/controls_win.h"
#include "toolkit/win32/styled_button_win.h"
#include "toolkit/win32/theme_helper_win.h"

inline constexpr std::array<const wchar_t*, 3> kAppearances = {L"Normal", L"Header", L"Outline"};
inline constexpr std::array<ButtonState, 5> kStates = {ButtonState::Normal, ButtonState::Pressed, ButtonState::Selected,
                                                       ButtonState::Hot, ButtonState::Disabled};

struct Gallery {
  Gallery(const ButtonFamilies& families, bool border);

  Form form;
  TThemeHelper& theme;
  Panel& head;
  StyledToolbar& toolbar;
  StyledButton& home;
  Panel& body;
  std::array<std::array<StyledButton*, kStates.size()>, kAppearances.size()> buttons{};
  CheckBox& check;
  Image& logo;
  CardPanel& cards;
  Panel& firstCard;
  Panel& secondCard;
  PopupMenu& menu;
  StatusBar& status;
};

// Shows a state that a button takes from the user: the keyboard's focus, or the mouse over it.
void Focus(StyledButton& button);
void Hover(StyledButton& button);
// Lets the window's messages run for `milliseconds`.
void Pump(int milliseconds);
// Lets them run until `done` holds, for at most `milliseconds`; whether it held. For what another
// thread brings, whose time a loaded machine cannot promise.
bool PumpUntil(const std::function<bool()>& done, int milliseconds = 10000);
// Saves what the screen shows of `window`, frame included, as a PNG.
bool SaveWindowPicture(HWND window, const wchar_t* path);
