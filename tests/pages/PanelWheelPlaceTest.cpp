// The mouse wheel over a real panel, and where a panel with a remembered place comes back.
#include "PanelHarness.h"
#include "PanelMessages.h"
#include <functional>

using namespace lhl;

namespace {

class PanelWheelPlace : public lhltest::PanelTest {
protected:
    // One wheel message as the system sends it: over an item button, passed up to the panel.
    void Wheel(int delta) {
        POINT where = CellCentre(6);
        ::ClientToScreen(PanelWindow(), &where);
        HWND over = ::ChildWindowFromPoint(PanelWindow(), CellCentre(6));
        ::SendMessageW(over ? over : PanelWindow(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<short>(delta)),
                       MAKELPARAM(where.x, where.y));
        Settle();
    }
    uint32_t Page() { return Store().GetCurrentPage(); }
    RECT Rect() { return m_panel->GetWindowRect(); }
    void SaveSettings(const std::function<void(ConfigSettings&)>& change) {
        LauncherConfig config;
        config.LoadConfig(kConfigFileName);
        change(config.Settings());
    }
};

} // namespace

TEST_F(PanelWheelPlace, TheWheelSwitchesOncePerWholeNotchWhateverSizeItsStepsAre) {
    Store().AddPage();
    Store().AddPage();
    m_panel->SendMessage(UM_SWITCH_PAGE, 1, 0);
    Settle();
    ASSERT_EQ(Store().GetPageCount(), 3u);
    ASSERT_EQ(Page(), 0u);

    // A touchpad's smooth scrolling: 30 at a time, four to a notch.
    for (int step = 1; step <= 8; ++step) {
        Wheel(30);
        EXPECT_EQ(Page(), static_cast<uint32_t>(step / 4)) << "after " << step * 30 << " of the wheel";
    }
    for (int step = 0; step < 11; ++step) Wheel(-10);
    EXPECT_EQ(Page(), 2u) << "110 down is short of a notch";
    Wheel(-10);
    EXPECT_EQ(Page(), 1u);

    // A turn the other way starts afresh: half a notch up is forgotten once the wheel goes down.
    Wheel(60);
    Wheel(-60);
    Wheel(60);
    EXPECT_EQ(Page(), 1u) << "parts of turns in both directions added up to a notch";
    Wheel(60);
    EXPECT_EQ(Page(), 2u);

    // A mouse notch switches at once, round the ends; two notches in one message skip two pages.
    Wheel(WHEEL_DELTA);
    EXPECT_EQ(Page(), 0u);
    Wheel(-WHEEL_DELTA);
    EXPECT_EQ(Page(), 2u);
    Wheel(2 * WHEEL_DELTA);
    EXPECT_EQ(Page(), 1u);
}

TEST_F(PanelWheelPlace, ARememberedPlaceKeepsTheSizeOfANewDimension) {
    const RECT first = Rect();
    const int belowGrid = first.bottom - first.top - (first.right - first.left); // the strip and a gap
    ClosePanel();
    SaveSettings([](ConfigSettings& s) {
        s.rememberLocation = 1;
        s.windowRect = RECT{100, 80, 100 + 300, 80 + 300 + 20};
        s.dimension = 360;
    });
    OpenPanel();
    RECT rc = Rect();
    EXPECT_EQ(rc.left, 100);
    EXPECT_EQ(rc.top, 80);
    EXPECT_EQ(rc.right - rc.left, 360) << "the saved width overrode the new dimension";
    EXPECT_EQ(rc.bottom - rc.top, 360 + belowGrid);
    RECT strip{};
    ::GetWindowRect(m_panel->GetDlgItem(1078), &strip);
    EXPECT_LE(strip.bottom, rc.bottom) << "the strip lies outside the window";

    // A hide stores the panel as it is now, and the next start finds it the same.
    m_panel->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    const RECT saved = Config().Settings().windowRect;
    EXPECT_EQ(saved.right - saved.left, 360) << "the hide saved the old size again";
    Config().SaveConfig(kConfigFileName);
    Restart();
    rc = Rect();
    EXPECT_EQ(rc.left, 100);
    EXPECT_EQ(rc.right - rc.left, 360);

    // Grown so far that it would run off the screen at its old place: the usual corner instead.
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    ClosePanel();
    SaveSettings([&](ConfigSettings& s) {
        s.windowRect = RECT{screenWidth - 305, 80, screenWidth - 5, 80 + 320};
        s.dimension = 500;
    });
    OpenPanel();
    rc = Rect();
    EXPECT_EQ(rc.right - rc.left, 500);
    EXPECT_EQ(rc.left, screenWidth - 505) << "a panel that no longer fits its old place went off the screen";
}
