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

UINT SystemDpi() {
    const UINT dpi = ::GetDpiForSystem();
    return dpi ? dpi : kBaseDpi;
}

void KeepOwnLayoutOnDpiChange(HWND dialog) {
    // Windows 10 1703 and later only; looked up so the program still starts where it is missing.
    using SetBehaviourFn = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    auto set = user32 ? reinterpret_cast<SetBehaviourFn>(
                            reinterpret_cast<void*>(::GetProcAddress(user32, "SetDialogDpiChangeBehavior")))
                      : nullptr;
    if (set && dialog) set(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
}

} // namespace fw
