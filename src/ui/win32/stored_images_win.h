#pragma once
// The four images every autorun list holds before the icons of files, drawn as vector shapes so
// that they are crisp at any size: 0 a blank page, 1 blue cubes, 2 a clock, 3 gear wheels.
#include <windows.h>

inline constexpr int kStoredImages = 4;

// The stored image `index` as an icon of `size` x `size` pixels; the caller destroys it.
HICON MakeStoredImage(int index, int size);
