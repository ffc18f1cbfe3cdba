#pragma once
#include <windows.h>

// Whether the tests run under Wine, whose known deviations from Windows the suites mark.
inline bool OnWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }
