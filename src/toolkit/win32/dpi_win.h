#pragma once
// The DPI of a window and the desktop's fonts at a DPI, on every Windows the program runs on:
// the per-monitor calls of Windows 10 are looked up, with the system-wide ones as fallback.
#include <windows.h>

// The window's DPI; the system's when the window has none of its own.
int DpiOf(HWND window);

// The font the desktop uses for messages (the form's default) or for icon titles, at `dpi`.
LOGFONTW DesktopFont(int dpi, bool iconTitle);
