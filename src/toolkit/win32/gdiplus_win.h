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
