#include "Placement.h"
#include "Dpi.h"
#include <algorithm>

namespace lhl {
namespace {

int Width(const RECT& rc) { return rc.right - rc.left; }
int Height(const RECT& rc) { return rc.bottom - rc.top; }

long long OverlapArea(const RECT& a, const RECT& b) {
    const long long w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const long long h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// Squared distance between two rectangles; 0 when they touch or overlap.
long long GapSquared(const RECT& a, const RECT& b) {
    const long long dx = std::max({0L, b.left - a.right, a.left - b.right});
    const long long dy = std::max({0L, b.top - a.bottom, a.top - b.bottom});
    return dx * dx + dy * dy;
}

// A start inside [low, high - size], or low when the size does not fit.
int KeepInside(int start, int size, int low, int high) {
    return std::max(low, std::min(start, high - size));
}

RECT AtCorner(POINT corner, SIZE size) { return RECT{corner.x, corner.y, corner.x + size.cx, corner.y + size.cy}; }

DockEdge EdgeOf(const MonitorArea& m) { return DockEdge{m.monitor.right, m.dpi, m.monitor.top, m.monitor.bottom}; }

} // namespace

const MonitorArea* MonitorOfRect(const MonitorList& monitors, const RECT& rc) {
    const MonitorArea* best = nullptr;
    long long bestOverlap = 0;
    for (const MonitorArea& m : monitors) {
        const long long overlap = OverlapArea(m.monitor, rc);
        if (overlap > bestOverlap) {
            best = &m;
            bestOverlap = overlap;
        }
    }
    if (best) return best;
    long long bestGap = 0;
    for (const MonitorArea& m : monitors) {
        const long long gap = GapSquared(m.monitor, rc);
        if (!best || gap < bestGap) {
            best = &m;
            bestGap = gap;
        }
    }
    return best;
}

const MonitorArea* MonitorOfPoint(const MonitorList& monitors, POINT pt) {
    return MonitorOfRect(monitors, RECT{pt.x, pt.y, pt.x + 1, pt.y + 1});
}

const MonitorArea* PrimaryMonitor(const MonitorList& monitors) {
    for (const MonitorArea& m : monitors)
        if (m.primary) return &m;
    return monitors.empty() ? nullptr : &monitors.front();
}

// Monitors never overlap each other, so the parts on each add up to the whole exactly when
// nothing of the rectangle is off them.
bool LiesOnMonitors(const MonitorList& monitors, const RECT& rc) {
    if (Width(rc) <= 0 || Height(rc) <= 0) return false;
    long long covered = 0;
    for (const MonitorArea& m : monitors) covered += OverlapArea(m.monitor, rc);
    return covered >= static_cast<long long>(Width(rc)) * Height(rc);
}

bool TouchesMonitors(const MonitorList& monitors, const RECT& rc) {
    return std::any_of(monitors.begin(), monitors.end(),
                       [&](const MonitorArea& m) { return OverlapArea(m.monitor, rc) > 0; });
}

SIZE ScaledTo(SIZE size96, UINT dpi) { return SIZE{fw::Scale(size96.cx, dpi), fw::Scale(size96.cy, dpi)}; }

SIZE ScaledTo(SIZE size96, const MonitorArea& m) { return ScaledTo(size96, m.dpi); }

// Flush with the top of a bottom taskbar and a little way in from the right.
POINT DefaultPlace(const MonitorList& monitors, SIZE panel96) {
    const MonitorArea* primary = PrimaryMonitor(monitors);
    if (!primary) return POINT{0, 0};
    const RECT& work = primary->work;
    const SIZE panel = ScaledTo(panel96, *primary);
    const int offset = fw::Scale(kDefaultOffset96, primary->dpi);
    return POINT{KeepInside(work.right - panel.cx - offset, panel.cx, work.left, work.right),
                 KeepInside(work.bottom - panel.cy, panel.cy, work.top, work.bottom)};
}

// The saved corner names the monitor, whose scaling gives the size the panel will have there.
POINT StartupPlace(const MonitorList& monitors, const RECT& saved, SIZE panel96) {
    const POINT corner{saved.left, saved.top};
    const MonitorArea* m = MonitorOfPoint(monitors, corner);
    if (m && Width(saved) > 0 && Height(saved) > 0 && LiesOnMonitors(monitors, AtCorner(corner, ScaledTo(panel96, *m))))
        return corner;
    return DefaultPlace(monitors, panel96);
}

POINT AtCursorPlace(const MonitorList& monitors, POINT cursor, SIZE panel96) {
    const MonitorArea* m = MonitorOfPoint(monitors, cursor);
    if (!m) return POINT{cursor.x - panel96.cx / 2, cursor.y - panel96.cy / 2};
    const SIZE panel = ScaledTo(panel96, *m);
    return POINT{KeepInside(cursor.x - panel.cx / 2, panel.cx, m->work.left, m->work.right),
                 KeepInside(cursor.y - panel.cy / 2, panel.cy, m->work.top, m->work.bottom)};
}

RECT InsideWorkArea(const MonitorList& monitors, const RECT& panel) {
    const MonitorArea* m = MonitorOfRect(monitors, panel);
    if (!m) return panel;
    const SIZE size{Width(panel), Height(panel)};
    return AtCorner(POINT{KeepInside(panel.left, size.cx, m->work.left, m->work.right),
                          KeepInside(panel.top, size.cy, m->work.top, m->work.bottom)}, size);
}

bool IsOuterRightEdge(const MonitorList& monitors, const MonitorArea& monitor, const RECT& parked) {
    return std::none_of(monitors.begin(), monitors.end(), [&](const MonitorArea& other) {
        return !::EqualRect(&other.monitor, &monitor.monitor) && OverlapArea(other.monitor, parked) > 0;
    });
}

RECT ParkedRect(const DockEdge& edge, int top, SIZE size, int edgeStrip96) {
    return AtCorner(POINT{ParkedLeft(edge, edgeStrip96), top}, size);
}

std::optional<DockEdge> DockEdgeNearCursor(const MonitorList& monitors, POINT cursor, const RECT& panel,
                                           int edgeStrip96) {
    const MonitorArea* m = MonitorOfPoint(monitors, cursor);
    if (!m || cursor.x < m->monitor.right - fw::Scale(kDockDistance96, m->dpi)) return std::nullopt;
    const DockEdge edge = EdgeOf(*m);
    if (!IsOuterRightEdge(monitors, *m, ParkedRect(edge, panel.top, SIZE{Width(panel), Height(panel)}, edgeStrip96)))
        return std::nullopt;
    return edge;
}

bool TouchesDockEdge(const DockEdge& edge, POINT pt) {
    return pt.x > edge.x - fw::Scale(kEdgeTouch96, edge.dpi) && pt.y >= edge.top && pt.y < edge.bottom;
}

int ParkedLeft(const DockEdge& edge, int edgeStrip96) { return edge.x - fw::Scale(edgeStrip96, edge.dpi); }

namespace {

// A docked panel on the monitor it belongs to now: kept at its height as far as the work area
// allows, on the right edge when that is still an outer one, else just inside it and free.
PanelPlace RedockedOn(const MonitorList& monitors, const MonitorArea& m, const RECT& panel, bool parked,
                      int edgeStrip96, SIZE panel96) {
    const SIZE size = ScaledTo(panel96, m);
    const int top = KeepInside(panel.top, size.cy, m.work.top, m.work.bottom);
    const DockEdge edge = EdgeOf(m);
    if (IsOuterRightEdge(monitors, m, ParkedRect(edge, top, size, edgeStrip96))) {
        const int left = parked ? ParkedLeft(edge, edgeStrip96) : edge.x - size.cx;
        return PanelPlace{AtCorner(POINT{left, top}, size), edge};
    }
    const int left = KeepInside(m.monitor.right - size.cx, size.cx, m.work.left, m.work.right);
    return PanelPlace{AtCorner(POINT{left, top}, size), std::nullopt};
}

} // namespace

PanelPlace PlaceAfterChange(const MonitorList& monitors, const RECT& panel, const std::optional<DockEdge>& dock,
                            bool parked, int edgeStrip96, SIZE panel96) {
    // A parked panel lies mostly beyond its edge, so the edge names its monitor, not the overlap.
    if (dock) {
        if (const MonitorArea* m = MonitorOfPoint(monitors, POINT{dock->x - 1, (panel.top + panel.bottom) / 2}))
            return RedockedOn(monitors, *m, panel, parked, edgeStrip96, panel96);
    }
    if (TouchesMonitors(monitors, panel)) return PanelPlace{panel, std::nullopt};
    const MonitorArea* primary = PrimaryMonitor(monitors);
    const SIZE size = primary ? ScaledTo(panel96, *primary) : SIZE{Width(panel), Height(panel)};
    return PanelPlace{AtCorner(DefaultPlace(monitors, panel96), size), std::nullopt};
}

DimensionRange DimensionRangeOn(const MonitorArea& monitor) {
    const int side = fw::Unscale(std::min(Width(monitor.monitor), Height(monitor.monitor)), monitor.dpi);
    return DimensionRange{side / 3, side};
}

} // namespace lhl
