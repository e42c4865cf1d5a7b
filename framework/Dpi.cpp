#include "Dpi.h"
#include <shellscalingapi.h>

namespace fw {

UINT WindowDpi(HWND wnd) {
    const UINT dpi = wnd ? ::GetDpiForWindow(wnd) : 0;
    return dpi ? dpi : kBaseDpi;
}

UINT MonitorDpi(HMONITOR monitor) {
    UINT x = 0, y = 0;
    if (!monitor || FAILED(::GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y)) || x == 0) return kBaseDpi;
    return x;
}

} // namespace fw
