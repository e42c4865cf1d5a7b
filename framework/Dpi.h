#pragma once
// Sizes in this program are written as they look at 96 DPI (100 % scaling), which is also what the
// settings store: files written on any screen keep one meaning. They become pixels where they are
// used, for the DPI of the window or monitor that shows them.
#include <windows.h>

namespace fw {

constexpr UINT kBaseDpi = 96;

// A 96-DPI size in pixels at dpi, rounded to the nearest pixel; negative sizes (font heights)
// keep their sign.
inline int Scale(int size96, UINT dpi) { return ::MulDiv(size96, static_cast<int>(dpi ? dpi : kBaseDpi), kBaseDpi); }
// Pixels at dpi back in 96-DPI units, for storing a size measured on a scaled screen.
inline int Unscale(int pixels, UINT dpi) { return ::MulDiv(pixels, kBaseDpi, static_cast<int>(dpi ? dpi : kBaseDpi)); }

// The DPI the window is shown at (its monitor's, for this per-monitor aware program); 96 when the
// window is gone.
UINT WindowDpi(HWND wnd);
// The DPI of a monitor as this program sees it; 96 when it cannot be read.
UINT MonitorDpi(HMONITOR monitor);

} // namespace fw
