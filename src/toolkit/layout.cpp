#include "toolkit/layout.h"

#include <algorithm>
#include <cstdint>

int Scale(int designValue, int dpi) {
  const std::int64_t product = static_cast<std::int64_t>(designValue) * dpi;
  return static_cast<int>(product >= 0 ? (product + 48) / 96 : -((-product + 48) / 96));
}

Rect Scale(Rect design, int dpi) {
  return {Scale(design.left, dpi), Scale(design.top, dpi), Scale(design.width, dpi), Scale(design.height, dpi)};
}

Margins Scale(Margins design, int dpi) {
  return {Scale(design.left, dpi), Scale(design.top, dpi), Scale(design.right, dpi), Scale(design.bottom, dpi)};
}

void ArrangeByAlignment(int clientWidth, int clientHeight, Margins padding, int dpi, std::span<LayoutItem> items) {
  const Margins pad = Scale(padding, dpi);
  // The room still free, shrinking as controls take their edges.
  int left = pad.left, top = pad.top;
  int right = clientWidth - pad.right, bottom = clientHeight - pad.bottom;
  auto place = [](LayoutItem& item, int x, int y, int width, int height) {
    item.placed = {x, y, std::max(width, 0), std::max(height, 0)};
  };

  for (const Align pass : {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client, Align::None}) {
    for (LayoutItem& item : items) {
      if (item.align != pass) continue;
      if (!item.visible) {
        item.placed = {};
        continue;
      }
      const Rect size = Scale(item.design, dpi);
      const Margins m = Scale(item.margins, dpi);
      switch (pass) {
        case Align::Top:
          place(item, left + m.left, top + m.top, right - left - m.left - m.right, size.height);
          top += m.top + size.height + m.bottom;
          break;
        case Align::Bottom:
          place(item, left + m.left, bottom - m.bottom - size.height, right - left - m.left - m.right, size.height);
          bottom -= m.top + size.height + m.bottom;
          break;
        case Align::Left:
          place(item, left + m.left, top + m.top, size.width, bottom - top - m.top - m.bottom);
          left += m.left + size.width + m.right;
          break;
        case Align::Right:
          place(item, right - m.right - size.width, top + m.top, size.width, bottom - top - m.top - m.bottom);
          right -= m.left + size.width + m.right;
          break;
        case Align::Client:
          place(item, left + m.left, top + m.top, right - left - m.left - m.right, bottom - top - m.top - m.bottom);
          break;
        case Align::None:
          place(item, size.left, size.top, size.width, size.height);
          break;
      }
    }
  }
}
