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
// The LOGFONT height of a font of this many points at dpi (negative: the character height).
inline int FontHeight(int points, UINT dpi) { return -::MulDiv(points, static_cast<int>(dpi ? dpi : kBaseDpi), 72); }

// The DPI the window is shown at (its monitor's, for this per-monitor aware program); 96 when the
// window is gone.
UINT WindowDpi(HWND wnd);
// The DPI of a monitor as this program sees it; 96 when it cannot be read.
UINT MonitorDpi(HMONITOR monitor);

// The DPI of the primary monitor when the program started, which is what sizes measured before
// any window exists (the screen's, say) are given in.
UINT SystemDpi();

// A dialog that lays itself out again on WM_DPICHANGED asks the dialog manager not to resize it
// or its controls as well; without it, Windows 10 scales the template's positions over ours.
void KeepOwnLayoutOnDpiChange(HWND dialog);

} // namespace fw
