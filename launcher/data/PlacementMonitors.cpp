// The monitors the placement rules work on, read from the system.
#include "Dpi.h"
#include "Placement.h"

namespace lhl {
namespace {

bool ReadMonitor(HMONITOR handle, MonitorArea& area) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!handle || !::GetMonitorInfoW(handle, &info)) return false;
    area.monitor = info.rcMonitor;
    area.work = info.rcWork;
    area.dpi = fw::MonitorDpi(handle);
    area.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    return true;
}

BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, LPRECT, LPARAM list) {
    MonitorArea area;
    if (ReadMonitor(handle, area)) reinterpret_cast<MonitorList*>(list)->push_back(area);
    return TRUE;
}

// What the system metrics say of the primary screen, for when no monitor can be read.
MonitorArea PrimaryFromMetrics() {
    MonitorArea area;
    area.monitor = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area.work, 0)) area.work = area.monitor;
    area.primary = true;
    return area;
}

} // namespace

MonitorList CurrentMonitors() {
    MonitorList list;
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&list));
    if (list.empty()) list.push_back(PrimaryFromMetrics());
    return list;
}

MonitorArea MonitorOfWindow(HWND wnd) {
    MonitorArea area;
    const HMONITOR handle = wnd ? ::MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST)
                                : ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    return ReadMonitor(handle, area) ? area : PrimaryFromMetrics();
}

} // namespace lhl
