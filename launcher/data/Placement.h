#pragma once
// Where the panel goes on the monitors there are: its first place, docking at a right edge,
// parking beyond it, showing at the cursor, and what a change of the monitors does to it. These
// are pure functions of a list of monitors, so every layout of screens can be tried without
// owning them; PlacementMonitors.cpp reads the real list.
#include <windows.h>
#include <climits>
#include <optional>
#include <vector>

namespace lhl {

struct MonitorArea {
    RECT monitor{}; // virtual-screen coordinates: left of the primary is negative
    RECT work{};    // the monitor less the taskbar and other bars docked on it
    UINT dpi = 96;
    bool primary = false;
};
using MonitorList = std::vector<MonitorArea>;

// The right edge a panel is docked at, and the DPI of the monitor it belongs to, which scales
// the touch width and the strip left showing when parked; top and bottom are that monitor's, so
// a point beside the edge on another monitor does not touch it (left wide, any height does).
struct DockEdge {
    int x = 0;
    UINT dpi = 96;
    int top = INT_MIN;
    int bottom = INT_MAX;
};

// 96-DPI sizes of the rules below.
constexpr int kDockDistance96 = 20;
constexpr int kEdgeTouch96 = 10;
constexpr int kDefaultOffset96 = 5;

// The monitors as Windows reports them now; when none can be read, one from the system metrics.
MonitorList CurrentMonitors();
// The monitor that shows a window, the primary when the window is gone.
MonitorArea MonitorOfWindow(HWND wnd);

// The monitor a rectangle overlaps most, else the nearest; null only for an empty list.
const MonitorArea* MonitorOfRect(const MonitorList& monitors, const RECT& rc);
// The monitor holding the point, else the nearest; null only for an empty list.
const MonitorArea* MonitorOfPoint(const MonitorList& monitors, POINT pt);
// The primary monitor, else the first; null only for an empty list.
const MonitorArea* PrimaryMonitor(const MonitorList& monitors);

// Whether every pixel of the rectangle is on some monitor.
bool LiesOnMonitors(const MonitorList& monitors, const RECT& rc);
// Whether any pixel of the rectangle is on some monitor.
bool TouchesMonitors(const MonitorList& monitors, const RECT& rc);

// The panel's sizes here are its 96-DPI ones (the dimension): each monitor scales them by its own
// DPI, so a panel going onto a monitor of other scaling is fitted at the size it will have there.
// A 96-DPI size in pixels at a DPI: the one answer for the panel's size at a scaling, which its
// layout, its placement and its answer to Windows' question before a DPI change all take.
SIZE ScaledTo(SIZE size96, UINT dpi);
// A 96-DPI size at that monitor's DPI.
SIZE ScaledTo(SIZE size96, const MonitorArea& m);
// Top-left corner of the panel at the bottom right of the primary monitor's work area.
POINT DefaultPlace(const MonitorList& monitors, SIZE panel96);
// Top-left corner at start-up: the saved one when today's panel lies on the monitors there, else
// the default place. An empty saved rectangle means none.
POINT StartupPlace(const MonitorList& monitors, const RECT& saved, SIZE panel96);
// Top-left corner of the panel centred on the cursor, moved inside the cursor's monitor's work area.
POINT AtCursorPlace(const MonitorList& monitors, POINT cursor, SIZE panel96);
// The rectangle, in pixels, moved inside the work area of the monitor it overlaps most.
RECT InsideWorkArea(const MonitorList& monitors, const RECT& panel);

// Whether the right edge of that monitor is an outer one for the panel parked there (`parked`, in
// pixels): the rectangle touches no other monitor. A panel parked at an inner edge, or beyond an
// edge where a staggered neighbour starts a little further right, would sit in view there.
bool IsOuterRightEdge(const MonitorList& monitors, const MonitorArea& monitor, const RECT& parked);
// The rectangle of a panel of that size parked at the edge, at its top.
RECT ParkedRect(const DockEdge& edge, int top, SIZE size, int edgeStrip96);
// The edge a panel (its rectangle in pixels) dragged with the cursor there docks at: the cursor's
// monitor's right edge, when the cursor is within the docking distance of it and the panel parked
// there would be out of sight.
std::optional<DockEdge> DockEdgeNearCursor(const MonitorList& monitors, POINT cursor, const RECT& panel,
                                           int edgeStrip96);
// Whether a hit-test point touches the docked edge: near it in x and within its monitor's height.
bool TouchesDockEdge(const DockEdge& edge, POINT pt);
// The left edge of a panel parked at the edge, edgeStrip96 pixels of it left showing.
int ParkedLeft(const DockEdge& edge, int edgeStrip96);

// A panel after the monitors changed. A docked one is docked again on the right edge of the
// monitor now nearest its old edge (parked or shown as it was), or freed inside that monitor when
// the edge is now an inner one;
// a free one that is on no monitor any more goes to the default place at the primary's scaling
// of panel96; any other stays.
struct PanelPlace {
    RECT rect{};
    std::optional<DockEdge> dock;
};
PanelPlace PlaceAfterChange(const MonitorList& monitors, const RECT& panel, const std::optional<DockEdge>& dock,
                            bool parked, int edgeStrip96, SIZE panel96);

// The dimension slider's range in 96-DPI units: a third of the monitor's shorter side to all of it.
struct DimensionRange {
    int low = 0;
    int high = 0;
};
DimensionRange DimensionRangeOn(const MonitorArea& monitor);

} // namespace lhl
