// Where the panel goes on layouts of one, two and three monitors: the first place, the saved
// place, docking at outer edges only, the edge touch and parked strip, showing at the cursor, and
// what a change of the monitors does to a free and to a docked panel.
#include "Placement.h"
#include <gtest/gtest.h>
#include <sstream>

using namespace lhl;

namespace {

MonitorArea Monitor(RECT monitor, RECT work, UINT dpi = 96, bool primary = false) {
    return MonitorArea{monitor, work, dpi, primary};
}

// 1920 x 1080 at 100 %, a 40-pixel taskbar along the bottom.
const MonitorArea kPrimary = Monitor({0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96, true);
// A taller 2560 x 1440 monitor at 150 % to the right of the primary, its top 180 px higher.
const MonitorArea kTallRight = Monitor({1920, -180, 4480, 1260}, {1920, -180, 4480, 1260}, 144);
// A 1280 x 1024 monitor at 125 % to the left, all in negative x.
const MonitorArea kLeft = Monitor({-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}, 120);

const SIZE kPanel{300, 330};

RECT At(int left, int top, SIZE size = kPanel) { return RECT{left, top, left + size.cx, top + size.cy}; }

constexpr int kStrip = 4;
// A 300-pixel-wide panel between top and bottom, somewhere left of the edge it is dragged to.
RECT Panel(int top, int bottom) { return RECT{100, top, 400, bottom}; }
// That panel parked at the monitor's right edge.
RECT ParkedAt(const MonitorArea& m, int top, int bottom) {
    return ParkedRect(DockEdge{static_cast<int>(m.monitor.right), m.dpi}, top, SIZE{300, bottom - top}, kStrip);
}

std::string Text(const RECT& rc) {
    std::ostringstream text;
    text << '{' << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << '}';
    return text.str();
}

void ExpectRect(const RECT& actual, const RECT& expected, const char* what) {
    EXPECT_TRUE(::EqualRect(&actual, &expected)) << what << ": " << Text(actual) << " instead of " << Text(expected);
}

} // namespace

TEST(Placement, TheDefaultPlaceIsTheBottomRightOfThePrimaryWorkArea) {
    POINT p = DefaultPlace({kPrimary}, kPanel);
    EXPECT_EQ(p.x, 1920 - 300 - 5);
    EXPECT_EQ(p.y, 1040 - 330) << "the panel must sit on the taskbar, not under it";

    // Found among others wherever it is listed; a taskbar at the top leaves the bottom free.
    MonitorArea topBar = kPrimary;
    topBar.work = RECT{0, 48, 1920, 1080};
    p = DefaultPlace({kLeft, kTallRight, topBar}, kPanel);
    EXPECT_EQ(p.x, 1920 - 300 - 5);
    EXPECT_EQ(p.y, 1080 - 330);

    // A primary at 150 %: the 300-pixel panel is 450 wide there and the 5-pixel offset 8.
    MonitorArea scaled = kPrimary;
    scaled.dpi = 144;
    EXPECT_EQ(DefaultPlace({scaled}, kPanel).x, 1920 - 450 - 8);
    EXPECT_EQ(DefaultPlace({scaled}, kPanel).y, 1040 - 495);

    // A panel taller than the work area starts at its top rather than above the monitor.
    EXPECT_EQ(DefaultPlace({kPrimary}, SIZE{300, 1200}).y, 0);
}

TEST(Placement, ASavedPlaceIsKeptOnlyWhereTheWholePanelIsOnMonitors) {
    const MonitorList three{kLeft, kPrimary, kTallRight};
    const POINT fallback = DefaultPlace(three, kPanel);
    const auto startAt = [&](const MonitorList& monitors, RECT saved) { return StartupPlace(monitors, saved, kPanel); };

    EXPECT_EQ(startAt(three, At(-1000, 200)).x, -1000) << "the left monitor's negative coordinates are a monitor too";
    EXPECT_EQ(startAt(three, At(4000, -150)).y, -150) << "the taller monitor reaches above the primary";
    EXPECT_EQ(startAt(three, At(1800, 100)).x, 1800) << "across two monitors side by side is still on them";

    // Beside the primary's bottom edge below the taller monitor's reach, part of it is off both.
    EXPECT_EQ(startAt(three, At(1800, 1000)).x, fallback.x);
    // Its monitor gone, the place is no place at all.
    EXPECT_EQ(startAt({kPrimary, kTallRight}, At(-1000, 200)).x, DefaultPlace({kPrimary, kTallRight}, kPanel).x);
    // The saved size does not count: today's larger panel must fit at the saved corner.
    EXPECT_EQ(StartupPlace({kPrimary}, At(1600, 100, SIZE{300, 300}), SIZE{500, 530}).x,
              DefaultPlace({kPrimary}, SIZE{500, 530}).x);
    EXPECT_EQ(startAt({kPrimary}, RECT{}).y, DefaultPlace({kPrimary}, kPanel).y) << "an empty rectangle is no place";
}

TEST(Placement, OnlyAnOuterRightEdgeDocksAndTheDistanceScalesWithItsMonitor) {
    const MonitorList three{kLeft, kPrimary, kTallRight};
    // The taller monitor's right edge at 150 %: 20 pixels are 30 there.
    auto edge = DockEdgeNearCursor(three, POINT{4480 - 30, 500}, Panel(400, 730), kStrip);
    ASSERT_TRUE(edge.has_value()) << "30 px from an outer edge at 150 % must dock";
    EXPECT_EQ(edge->x, 4480);
    EXPECT_EQ(edge->dpi, 144u);
    EXPECT_FALSE(DockEdgeNearCursor(three, POINT{4480 - 31, 500}, Panel(400, 730), kStrip)) << "31 px at 150 % is too far";

    // The primary's right edge has the taller monitor beside it at every height of the primary,
    // and the left monitor's right edge has the primary beside it.
    EXPECT_FALSE(DockEdgeNearCursor(three, POINT{1919, 500}, Panel(400, 730), kStrip)) << "a panel parked there would be in view";
    EXPECT_FALSE(DockEdgeNearCursor(three, POINT{-1, 500}, Panel(400, 730), kStrip));
    // With the right monitor unplugged the primary's edge is outer again, at 20 px for 100 %.
    edge = DockEdgeNearCursor({kLeft, kPrimary}, POINT{1900, 500}, Panel(400, 730), kStrip);
    ASSERT_TRUE(edge.has_value());
    EXPECT_EQ(edge->x, 1920);
    EXPECT_FALSE(DockEdgeNearCursor({kLeft, kPrimary}, POINT{1899, 500}, Panel(400, 730), kStrip));
}

TEST(Placement, AnEdgeIsInnerOnlyWhereTheNeighbourIsBesideThePanel) {
    // The taller monitor on the left this time: its right edge meets the primary from 0 to 1080.
    const MonitorArea tallLeft = Monitor({-2560, -180, 0, 1260}, {-2560, -180, 0, 1260}, 144);
    const MonitorList pair{tallLeft, kPrimary};
    EXPECT_FALSE(IsOuterRightEdge(pair, tallLeft, ParkedAt(tallLeft, 400, 730)));
    EXPECT_FALSE(IsOuterRightEdge(pair, tallLeft, ParkedAt(tallLeft, 1000, 1200))) << "partly beside the primary is beside it";
    EXPECT_TRUE(IsOuterRightEdge(pair, tallLeft, ParkedAt(tallLeft, 1080, 1260))) << "below the primary nothing is beside it";
    EXPECT_TRUE(IsOuterRightEdge(pair, tallLeft, ParkedAt(tallLeft, -180, 0)));
    EXPECT_TRUE(DockEdgeNearCursor(pair, POINT{-10, 1200}, Panel(1100, 1250), kStrip).has_value());
    EXPECT_TRUE(IsOuterRightEdge(pair, kPrimary, ParkedAt(kPrimary, 0, 330)));
}

// Staggered monitors need not meet edge to edge: this one starts a little right of the primary's
// edge and lower down. Nothing of it is beside the edge, yet a panel parked there at its height
// would reach onto it and stand in view; above it the parked panel touches nothing.
TEST(Placement, APanelDocksOnlyWhereItsParkedRectangleTouchesNoOtherMonitor) {
    const MonitorArea staggered = Monitor({1925, 300, 3205, 1324}, {1925, 300, 3205, 1324}, 120);
    const MonitorList pair{kPrimary, staggered};
    EXPECT_FALSE(DockEdgeNearCursor(pair, POINT{1915, 500}, Panel(400, 730), kStrip))
        << "parked there the panel would be in view on the staggered monitor";
    EXPECT_TRUE(DockEdgeNearCursor(pair, POINT{1915, 100}, Panel(0, 290), kStrip).has_value());
    EXPECT_FALSE(DockEdgeNearCursor(pair, POINT{1915, 100}, Panel(0, 301), kStrip)) << "one row onto it is onto it";
    // A docked panel moved there by a change of the monitors stands free instead.
    const PanelPlace place = PlaceAfterChange(pair, At(1916, 400), DockEdge{1920, 96}, true, kStrip, kPanel);
    EXPECT_FALSE(place.dock.has_value());
    ExpectRect(place.rect, At(1920 - 300, 400), "whole on its own monitor");
}

TEST(Placement, TheEdgeTouchAndTheParkedStripScaleWithTheDockedMonitor) {
    const DockEdge normal{1920, 96};
    EXPECT_TRUE(TouchesDockEdge(normal, POINT{1911, 10})) << "the outermost 9 pixels touch";
    EXPECT_FALSE(TouchesDockEdge(normal, POINT{1910, 10}));
    const DockEdge doubled{4480, 192};
    EXPECT_TRUE(TouchesDockEdge(doubled, POINT{4461, 10}));
    EXPECT_FALSE(TouchesDockEdge(doubled, POINT{4460, 10}));
    EXPECT_EQ(ParkedLeft(normal, 4), 1916);
    EXPECT_EQ(ParkedLeft(DockEdge{4480, 144}, 4), 4474);
    // Docked at the left monitor, an edge at x = 0 is touched by x = -9.
    EXPECT_TRUE(TouchesDockEdge(DockEdge{0, 96}, POINT{-9, 10}));
}

TEST(Placement, AnEdgeIsTouchedOnlyWithinItsMonitorsHeight) {
    // The primary's edge with the taller monitor unplugged, then a point there at a height the
    // primary does not have: the cursor is on the other monitor, not at this edge.
    const MonitorList pair{kLeft, kPrimary};
    const auto edge = DockEdgeNearCursor(pair, POINT{1915, 500}, Panel(400, 730), kStrip);
    ASSERT_TRUE(edge.has_value());
    EXPECT_TRUE(TouchesDockEdge(*edge, POINT{1915, 0}));
    EXPECT_TRUE(TouchesDockEdge(*edge, POINT{1915, 1079}));
    EXPECT_FALSE(TouchesDockEdge(*edge, POINT{1915, -1})) << "above the monitor";
    EXPECT_FALSE(TouchesDockEdge(*edge, POINT{1915, 1080})) << "below the monitor";
    // An edge found again after a change keeps its monitor's height too.
    const PanelPlace place = PlaceAfterChange({kPrimary, kTallRight}, At(4476, 100), DockEdge{4480, 144}, true, 4, kPanel);
    ASSERT_TRUE(place.dock.has_value());
    EXPECT_TRUE(TouchesDockEdge(*place.dock, POINT{4479, -180}));
    EXPECT_FALSE(TouchesDockEdge(*place.dock, POINT{4479, 1260}));
}

TEST(Placement, AtTheCursorThePanelIsCentredAndKeptInsideThatMonitorsWorkArea) {
    const MonitorList three{kLeft, kPrimary, kTallRight};
    // On the 150 % monitor the panel is 450 x 495, and centred at that size.
    POINT p = AtCursorPlace(three, POINT{3000, 600}, kPanel);
    EXPECT_EQ(p.x, 3000 - 225);
    EXPECT_EQ(p.y, 600 - 495 / 2);
    p = AtCursorPlace(three, POINT{1910, 1070}, kPanel);
    EXPECT_EQ(p.x, 1920 - 300) << "near the inner edge it stays on the cursor's monitor";
    EXPECT_EQ(p.y, 1040 - 330) << "and above its taskbar";
    p = AtCursorPlace(three, POINT{-1270, 5}, kPanel);
    EXPECT_EQ(p.x, -1280);
    EXPECT_EQ(p.y, 0);
    p = AtCursorPlace(three, POINT{4470, -175}, kPanel);
    EXPECT_EQ(p.x, 4480 - 450) << "kept inside at the size it has there, not at 100 %";
    EXPECT_EQ(p.y, -180);
    p = AtCursorPlace(three, POINT{4470, 1255}, kPanel);
    EXPECT_EQ(p.y, 1260 - 495);
}

TEST(Placement, APanelFromAMonitorOfOtherScalingIsFittedAtItsSizeThere) {
    // Saved on the 150 % monitor near its bottom: 330 pixels would fit there, 495 do not.
    const MonitorList pair{kPrimary, kTallRight};
    EXPECT_EQ(StartupPlace(pair, At(3000, 1260 - 400), kPanel).x, DefaultPlace(pair, kPanel).x);
    EXPECT_EQ(StartupPlace(pair, At(3000, 1260 - 500), kPanel).x, 3000);
    // The primary at 200 %: the default place is at the panel's 600 x 660 there.
    MonitorArea doubled = kPrimary;
    doubled.dpi = 192;
    const PanelPlace place = PlaceAfterChange({doubled}, At(-1000, 200), std::nullopt, false, 4, kPanel);
    ExpectRect(place.rect, RECT{1920 - 600 - 10, 1040 - 660, 1920 - 10, 1040}, "back home at 200 %");

    // Grown past the work area by a change of scaling, the panel is moved back inside it whole.
    ExpectRect(InsideWorkArea(pair, RECT{4100, 900, 4550, 1395}), RECT{4030, 765, 4480, 1260}, "past the corner");
    ExpectRect(InsideWorkArea(pair, RECT{1500, 800, 1800, 1130}), RECT{1500, 710, 1800, 1040}, "onto the taskbar");
    ExpectRect(InsideWorkArea(pair, At(100, 100)), At(100, 100), "already inside");
}

TEST(Placement, AFreePanelLeftOnNoMonitorGoesToTheDefaultPlace) {
    const MonitorList afterUnplug{kPrimary};
    const RECT onLeft = At(-1000, 200);
    PanelPlace place = PlaceAfterChange(afterUnplug, onLeft, std::nullopt, false, 4, kPanel);
    const POINT home = DefaultPlace(afterUnplug, kPanel);
    ExpectRect(place.rect, At(home.x, home.y), "a panel on an unplugged monitor");
    EXPECT_FALSE(place.dock.has_value());

    // Still partly on a monitor: the user can reach it, so it stays where it was put.
    const RECT partly = At(-100, 200);
    place = PlaceAfterChange(afterUnplug, partly, std::nullopt, false, 4, kPanel);
    ExpectRect(place.rect, partly, "a panel still partly in view");
}

TEST(Placement, ADockedPanelIsDockedAgainOnItsMonitorsEdge) {
    const int strip = 4;
    // Parked at the taller right monitor at 150 %, which is then unplugged: the primary's edge
    // is outer now and the panel parks there, its strip at 100 %.
    const DockEdge right{4480, 144};
    PanelPlace place = PlaceAfterChange({kLeft, kPrimary}, At(ParkedLeft(right, strip), 900), right, true, strip, kPanel);
    ASSERT_TRUE(place.dock.has_value());
    EXPECT_EQ(place.dock->x, 1920);
    EXPECT_EQ(place.dock->dpi, 96u);
    ExpectRect(place.rect, At(1916, 1040 - 330), "parked on the primary, above its taskbar");

    // Shown at the primary's edge when its resolution drops to 1280 x 1024.
    const MonitorArea smaller = Monitor({0, 0, 1280, 1024}, {0, 0, 1280, 984}, 96, true);
    place = PlaceAfterChange({smaller}, At(1920 - 300, 100), DockEdge{1920, 96}, false, strip, kPanel);
    ASSERT_TRUE(place.dock.has_value());
    ExpectRect(place.rect, At(1280 - 300, 100), "shown at the new edge");

    // Rescaled to 200 %: the strip left showing grows with it.
    MonitorArea rescaled = kPrimary;
    rescaled.dpi = 192;
    place = PlaceAfterChange({rescaled}, At(1916, 100), DockEdge{1920, 96}, true, strip, kPanel);
    ASSERT_TRUE(place.dock.has_value());
    EXPECT_EQ(place.rect.left, 1920 - 8);
}

TEST(Placement, ADockedPanelWhoseEdgeBecameInnerStandsFreeInsideItsMonitor) {
    // A monitor plugged in to the right of the primary the panel is parked at.
    PanelPlace place = PlaceAfterChange({kPrimary, kTallRight}, At(1916, 100), DockEdge{1920, 96}, true, 4, kPanel);
    EXPECT_FALSE(place.dock.has_value()) << "parked there it would sit in view on the new monitor";
    ExpectRect(place.rect, At(1920 - 300, 100), "whole on its own monitor");
}

TEST(Placement, TheDimensionRangeIsTheMonitorsShorterSideIn96DpiUnits) {
    const DimensionRange plain = DimensionRangeOn(Monitor({0, 0, 1280, 800}, {0, 0, 1280, 760}));
    EXPECT_EQ(plain.low, 266);
    EXPECT_EQ(plain.high, 800);
    const DimensionRange scaled = DimensionRangeOn(kTallRight);
    EXPECT_EQ(scaled.low, 320) << "1440 pixels at 150 % are 960 at 100 %";
    EXPECT_EQ(scaled.high, 960);
}

TEST(Placement, TheRealMonitorsIncludeThePrimaryAtTheOrigin) {
    const MonitorList monitors = CurrentMonitors();
    ASSERT_FALSE(monitors.empty());
    const MonitorArea* primary = PrimaryMonitor(monitors);
    ASSERT_NE(primary, nullptr);
    EXPECT_TRUE(primary->primary);
    EXPECT_EQ(primary->monitor.left, 0) << "the primary monitor starts the virtual screen's origin";
    EXPECT_EQ(primary->monitor.right, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_TRUE(::PtInRect(&primary->monitor, POINT{primary->work.left, primary->work.top}));
    EXPECT_TRUE(MonitorOfWindow(nullptr).primary);
}
