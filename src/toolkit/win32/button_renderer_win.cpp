#include "toolkit/win32/button_renderer_win.h"

#include <algorithm>

#include "toolkit/win32/gdiplus_win.h"
#include "windows/gdi_win.h"

namespace {

Gdiplus::Color ToGdiplus(Color c) { return Gdiplus::Color(255, c.r, c.g, c.b); }

// A rounded rectangle whose edge runs through the middle of the outermost pixels.
void RoundedRect(Gdiplus::GraphicsPath& path, float x, float y, float width, float height, float radius) {
  const float d = std::min({radius * 2, width, height});
  if (d <= 0) {
    path.AddRectangle(Gdiplus::RectF(x, y, width, height));
    return;
  }
  path.AddArc(x, y, d, d, 180, 90);
  path.AddArc(x + width - d, y, d, d, 270, 90);
  path.AddArc(x + width - d, y + height - d, d, d, 0, 90);
  path.AddArc(x, y + height - d, d, d, 90, 90);
  path.CloseFigure();
}

} // namespace

void DrawStyledButton(HDC dc, const RECT& rect, const ButtonPaint& paint) {
  StartGdiplus();
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  const platform::MemoryDc memory(CreateCompatibleDC(dc));
  const platform::GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, width, height));
  const HGDIOBJ oldBitmap = SelectObject(memory.get(), bitmap.get());
  const TStyledButtonAttributes& a = *paint.attributes;
  {
    Gdiplus::Graphics graphics(memory.get());
    graphics.Clear(ToGdiplus(paint.background));
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    // Pixel centres lie on whole coordinates: a 1-pixel edge along 0 covers exactly the outer
    // pixels, so the straight edges stay crisp and only the corners are smoothed.
    const float border = static_cast<float>(std::max(paint.borderWidth, 1));
    const float inset = (border - 1) / 2;
    Gdiplus::GraphicsPath path;
    RoundedRect(path, inset, inset, width - 1 - 2 * inset, height - 1 - 2 * inset,
                static_cast<float>(paint.cornerRadius));
    if (a.ButtonDrawStyle == btnSolid) {
      Gdiplus::SolidBrush fill(ToGdiplus(a.ButtonColor));
      graphics.FillPath(&fill, &path);
    }
    if (a.BorderDrawStyle == brdSolid) {
      Gdiplus::Pen pen(ToGdiplus(a.BorderColor), border);
      graphics.DrawPath(&pen, &path);
    }
  }
  RECT text{0, 0, width, height};
  const HGDIOBJ oldFont = SelectObject(memory.get(), paint.font);
  SetBkMode(memory.get(), TRANSPARENT);
  SetTextColor(memory.get(), ColorRef(a.FontColor));
  DrawTextW(memory.get(), paint.caption.c_str(), static_cast<int>(paint.caption.size()), &text,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (paint.focusCue) {
    RECT focus{3, 3, width - 3, height - 3};
    SetTextColor(memory.get(), ColorRef(a.FontColor));
    DrawFocusRect(memory.get(), &focus);
  }
  SelectObject(memory.get(), oldFont);
  BitBlt(dc, rect.left, rect.top, width, height, memory.get(), 0, 0, SRCCOPY);
  SelectObject(memory.get(), oldBitmap);
}
