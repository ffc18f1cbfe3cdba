#pragma once
// GDI+ as MinGW's headers give it: they want objidl.h, which WIN32_LEAN_AND_MEAN leaves out,
// and min and max, which NOMINMAX takes away.
#include <windows.h>

#include <objidl.h>

#include <algorithm>

namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>

// Starts GDI+ once, on first use, and leaves it running until the process ends: shutting it
// down from a static destructor is not allowed.
inline void StartGdiplus() {
  static const bool started = [] {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  }();
  (void)started;
}
