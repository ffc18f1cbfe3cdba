#pragma once
// Draws a styled button from the attributes of its state: a rounded rectangle, anti-aliased with
// GDI+, filled and outlined as the attributes say, with its caption centred. Drawn off screen
// and copied in one go, so it never flickers.
#include <windows.h>

#include <string>

#include "theme/button_styles.h"

struct ButtonPaint {
  const TStyledButtonAttributes* attributes;
  Color background; // what the corners show: the parent's colour
  int cornerRadius; // in device pixels
  int borderWidth;  // in device pixels; a solid border of width 0 is drawn one pixel wide
  HFONT font;
  std::wstring caption;
  bool focusCue; // the keyboard has the focus here
};

void DrawStyledButton(HDC dc, const RECT& rect, const ButtonPaint& paint);
