#pragma once
// Layout by alignment, as the window's layout tables read: inside its parent's padding, the
// controls aligned to the top take the top edge in creation order, then those aligned to the
// bottom take the bottom edge, then left, then right, and the control aligned to the client
// takes what is left; each keeps its margins free around it. All sizes are design sizes at
// 96 DPI, scaled to the window's DPI.
#include <span>

enum class Align { None, Top, Bottom, Left, Right, Client };

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

struct Margins {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Margins&) const = default;
};

// A design size at 96 DPI in pixels at `dpi`, halves rounded away from zero as MulDiv does.
int Scale(int designValue, int dpi);
Rect Scale(Rect design, int dpi);
Margins Scale(Margins design, int dpi);

// One control to place: its alignment, its design bounds (left and top count for Align::None
// only; width counts for Left and Right, height for Top and Bottom) and margins. `placed` is
// the result, in pixels at the layout's DPI, relative to the parent's client area.
struct LayoutItem {
  Align align = Align::None;
  Rect design;
  Margins margins;
  bool visible = true;
  Rect placed;
};

// Places `items`, in creation order, in a client area of `clientWidth` x `clientHeight`
// pixels with the parent's design `padding`, at `dpi`. Hidden items take no room. A size that
// would be negative is 0.
void ArrangeByAlignment(int clientWidth, int clientHeight, Margins padding, int dpi, std::span<LayoutItem> items);
