#include "ui/win32/stored_images_win.h"

#include <cmath>
#include <vector>

#include "toolkit/win32/gdiplus_win.h"

namespace {

using Gdiplus::Color;
using Gdiplus::PointF;

void BlankPage(Gdiplus::Graphics& g, float s) {
  const float fold = s * 0.3f;
  const PointF page[] = {{s * 0.2f, s * 0.06f},
                         {s * 0.8f - fold, s * 0.06f},
                         {s * 0.8f, s * 0.06f + fold},
                         {s * 0.8f, s * 0.94f},
                         {s * 0.2f, s * 0.94f}};
  Gdiplus::SolidBrush white(Color(255, 255, 255, 255));
  Gdiplus::Pen edge(Color(255, 120, 120, 120), std::max(1.0f, s / 16));
  g.FillPolygon(&white, page, 5);
  g.DrawPolygon(&edge, page, 5);
  const PointF corner[] = {
      {s * 0.8f - fold, s * 0.06f}, {s * 0.8f - fold, s * 0.06f + fold}, {s * 0.8f, s * 0.06f + fold}};
  g.DrawLines(&edge, corner, 3);
}

void Cube(Gdiplus::Graphics& g, float x, float y, float e) {
  // An isometric cube of edge `e` whose top corner is at (x, y).
  const float h = e * 0.5f;
  const PointF top[] = {{x, y}, {x + e, y + h}, {x, y + 2 * h}, {x - e, y + h}};
  const PointF left[] = {{x - e, y + h}, {x, y + 2 * h}, {x, y + 2 * h + e}, {x - e, y + h + e}};
  const PointF right[] = {{x, y + 2 * h}, {x + e, y + h}, {x + e, y + h + e}, {x, y + 2 * h + e}};
  Gdiplus::SolidBrush light(Color(255, 120, 175, 240)), mid(Color(255, 61, 132, 221)), dark(Color(255, 35, 90, 170));
  g.FillPolygon(&light, top, 4);
  g.FillPolygon(&mid, left, 4);
  g.FillPolygon(&dark, right, 4);
}

void BlueCubes(Gdiplus::Graphics& g, float s) {
  const float e = s * 0.26f;
  Cube(g, s * 0.5f, s * 0.02f, e);
  Cube(g, s * 0.5f - e, s * 0.02f + e * 1.1f, e);
  Cube(g, s * 0.5f + e, s * 0.02f + e * 1.1f, e);
}

void Clock(Gdiplus::Graphics& g, float s) {
  const float w = std::max(1.0f, s / 12);
  Gdiplus::SolidBrush face(Color(255, 255, 255, 255));
  Gdiplus::Pen rim(Color(255, 61, 132, 221), w * 1.5f), hand(Color(255, 40, 40, 40), w);
  const float r = s * 0.42f, c = s * 0.5f;
  g.FillEllipse(&face, c - r, c - r, 2 * r, 2 * r);
  g.DrawEllipse(&rim, c - r, c - r, 2 * r, 2 * r);
  g.DrawLine(&hand, c, c, c, c - r * 0.7f);
  g.DrawLine(&hand, c, c, c + r * 0.5f, c + r * 0.1f);
}

void Gear(Gdiplus::Graphics& g, float cx, float cy, float r, Color color) {
  Gdiplus::GraphicsPath path;
  constexpr int kTeeth = 8;
  std::vector<PointF> points;
  for (int i = 0; i < kTeeth * 4; ++i) {
    const float angle = static_cast<float>(i) * 3.14159265f * 2 / (kTeeth * 4);
    const float radius = (i % 4 < 2) ? r : r * 0.72f;
    points.push_back({cx + radius * std::cos(angle), cy + radius * std::sin(angle)});
  }
  path.AddPolygon(points.data(), static_cast<INT>(points.size()));
  path.AddEllipse(cx - r * 0.3f, cy - r * 0.3f, r * 0.6f, r * 0.6f); // the hole, by the alternate fill
  Gdiplus::SolidBrush brush(color);
  g.FillPath(&brush, &path);
}

void Gears(Gdiplus::Graphics& g, float s) {
  Gear(g, s * 0.38f, s * 0.40f, s * 0.36f, Color(255, 110, 110, 110));
  Gear(g, s * 0.74f, s * 0.74f, s * 0.24f, Color(255, 61, 132, 221));
}

} // namespace

HICON MakeStoredImage(int index, int size) {
  StartGdiplus();
  Gdiplus::Bitmap bitmap(size, size, PixelFormat32bppARGB);
  {
    Gdiplus::Graphics g(&bitmap);
    g.Clear(Color(0, 0, 0, 0));
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    const float s = static_cast<float>(size);
    switch (index) {
      case 0:
        BlankPage(g, s);
        break;
      case 1:
        BlueCubes(g, s);
        break;
      case 2:
        Clock(g, s);
        break;
      default:
        Gears(g, s);
        break;
    }
  }
  HICON icon = nullptr;
  bitmap.GetHICON(&icon);
  return icon;
}
