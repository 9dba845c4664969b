#pragma once
// The DPI a window is shown at. Layout numbers are written at 96 DPI (100 %) and pass through
// DpiScale where they are used, never stored scaled; pictures are drawn at 96 DPI and scaled
// smooth for the others.
#include <windows.h>

namespace zarvane {

constexpr int kBaseDpi = 96;

// The DPI the window is laid out at: the system's (the programs are system aware).
int DpiOf(HWND window);
inline int DpiScale(int dpi, int value) { return MulDiv(value, dpi, kBaseDpi); }

// A smooth copy of `picture` at width x height (a 32-bit DIB section), null when it cannot be
// made. `picture` stays the caller's.
HBITMAP ScalePicture(HBITMAP picture, int width, int height);

}  // namespace zarvane
