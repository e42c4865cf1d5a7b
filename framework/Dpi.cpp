#include "Dpi.h"

namespace fw {

UINT WindowDpi(HWND wnd) {
    const UINT dpi = wnd ? ::GetDpiForWindow(wnd) : 0;
    return dpi ? dpi : kBaseDpi;
}

} // namespace fw
