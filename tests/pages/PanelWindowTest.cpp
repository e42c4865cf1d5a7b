// The panel as a window: showing and hiding, docking, sliding, placement and its background.
#include "Dpi.h"
#include "FindView.h"
#include "PanelHarness.h"
#include "PanelMessages.h"
#include <vector>

using namespace lhl;

namespace {

// Every place a window of this thread was put, as its window procedure is told.
std::vector<std::pair<HWND, RECT>> g_placed;
LRESULT CALLBACK RecordPlaces(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_WINDOWPOSCHANGED) {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(sent->lParam);
        if (!(pos->flags & SWP_NOMOVE)) g_placed.emplace_back(sent->hwnd, RECT{pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy});
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class PanelAsWindow : public lhltest::PanelTest {
protected:
    RECT Rect() { return m_panel->GetWindowRect(); }
    int Width() { return Rect().right - Rect().left; }
    static int ScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }
    // What a drag does: the cursor somewhere, and the moving rectangle handed to the panel.
    RECT DragWithCursorAt(int cursorX) {
        ::SetCursorPos(cursorX, 300);
        RECT moving = Rect();
        ::OffsetRect(&moving, -moving.left + 100, 0);
        m_panel->SendMessage(WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&moving));
        return moving;
    }
    // Lets the panel's timers run until it is parked beyond the edge, or back.
    bool WaitParked(bool parked) {
        const int parkedLeft = ScreenWidth() - ::GetSystemMetrics(SM_CXFRAME);
        return lhltest::PumpUntil(
            [&] { return parked ? m_panel->IsParked() && Rect().left == parkedLeft : Rect().right == ScreenWidth(); }, 5000);
    }
    static RECT WorkArea() {
        RECT work{};
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        return work;
    }
    void MoveTo(int left, int top) {
        ::SetWindowPos(PanelWindow(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // What Windows sends when a monitor or a taskbar changed, and what the panel posts itself then.
    void MonitorsChanged(UINT msg) {
        if (msg == WM_SETTINGCHANGE) m_panel->SendMessage(WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
        else m_panel->SendMessage(WM_DISPLAYCHANGE, 32, MAKELPARAM(ScreenWidth(), ::GetSystemMetrics(SM_CYSCREEN)));
        Settle();
    }
    // Docked by a drag and slid out beyond the edge.
    RECT DockAndPark() {
        const RECT docked = DragWithCursorAt(ScreenWidth() - 5);
        ::MoveWindow(PanelWindow(), docked.left, docked.top, docked.right - docked.left, docked.bottom - docked.top, TRUE);
        ::SetCursorPos(10, 10); // far away: the leave check slides it out
        m_panel->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ScreenWidth() - 5, docked.top + 5));
        EXPECT_TRUE(WaitParked(true)) << "the panel did not slide out";
        return docked;
    }
};

} // namespace

TEST_F(PanelAsWindow, TheToggleHidesAShownPanelAndShowsAHiddenOne) {
    ASSERT_TRUE(m_panel->IsWindowVisible());
    m_panel->ToggleVisible(false);
    EXPECT_FALSE(m_panel->IsWindowVisible());
    EXPECT_FALSE(m_panel->IsShown());
    ::SetCursorPos(400, 300);
    m_panel->ToggleVisible(true);
    EXPECT_TRUE(m_panel->IsWindowVisible());
    const RECT rc = Rect();
    EXPECT_EQ(rc.left, 400 - (rc.right - rc.left) / 2) << "a hidden panel shown at the cursor is centred on it";
    EXPECT_EQ(rc.top, 300 - (rc.bottom - rc.top) / 2);

    // In a corner, centred on the cursor it would hang off the monitor.
    m_panel->ToggleVisible(false);
    const RECT work = WorkArea();
    ::SetCursorPos(work.right - 2, work.bottom - 2);
    m_panel->ToggleVisible(true);
    EXPECT_EQ(Rect().right, work.right) << "shown at the cursor, the panel went off the work area";
    EXPECT_EQ(Rect().bottom, work.bottom);
    m_panel->ToggleVisible(false);
    ::SetCursorPos(3, 3);
    m_panel->ToggleVisible(true);
    EXPECT_EQ(Rect().left, work.left);
    EXPECT_EQ(Rect().top, work.top);
}

TEST_F(PanelAsWindow, APanelLeftOffTheMonitorsByAChangeComesBackToTheDefaultPlace) {
    const RECT work = WorkArea();
    const int height = Rect().bottom - Rect().top;
    MoveTo(200, 150);
    MonitorsChanged(WM_SETTINGCHANGE);
    EXPECT_EQ(Rect().left, 200) << "a panel on its monitor must stay where the user put it";
    MoveTo(-40, 150);
    MonitorsChanged(WM_DISPLAYCHANGE);
    EXPECT_EQ(Rect().left, -40) << "a panel partly in view can still be reached and stays";

    // As after a second monitor it stood on was unplugged.
    MoveTo(ScreenWidth() + 300, 150);
    MonitorsChanged(WM_DISPLAYCHANGE);
    EXPECT_EQ(Rect().right, work.right - 5) << "a panel on no monitor was not brought back";
    EXPECT_EQ(Rect().top, work.bottom - height);
    MoveTo(100, -2000);
    MonitorsChanged(WM_SETTINGCHANGE);
    EXPECT_EQ(Rect().right, work.right - 5);
}

TEST_F(PanelAsWindow, ADockedPanelIsDockedAgainAtTheEdgeAfterAChange) {
    // Shown at the edge, then a larger resolution leaves it inside the monitor.
    const RECT docked = DragWithCursorAt(ScreenWidth() - 5);
    MoveTo(docked.left - 300, docked.top);
    MonitorsChanged(WM_SETTINGCHANGE);
    EXPECT_EQ(Rect().right, ScreenWidth()) << "a docked panel must stay on its edge";
    EXPECT_EQ(Rect().top, docked.top);

    // Parked, its edge further right before, as on a monitor whose resolution then dropped.
    DockAndPark();
    MoveTo(ScreenWidth() + 200, docked.top);
    MonitorsChanged(WM_DISPLAYCHANGE);
    EXPECT_EQ(Rect().left, ScreenWidth() - ::GetSystemMetrics(SM_CXFRAME)) << "not parked at the edge again";
    EXPECT_TRUE(m_panel->IsParked());
    EXPECT_EQ(m_panel->DockSide(), 4);
    ::SetCursorPos(ScreenWidth() - 3, docked.top + 5);
    m_panel->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ScreenWidth() - 3, docked.top + 5));
    EXPECT_TRUE(WaitParked(false)) << "the re-docked panel no longer slides in at the edge";
}

// Its monitor's scaling changed while the panel is parked: Windows suggests a rectangle grown from
// where the panel is, which the panel would stand in for a moment; it stays parked throughout.
TEST_F(PanelAsWindow, AParkedPanelStaysOutOfSightThroughAChangeOfScaling) {
    DockAndPark();
    const RECT parked = Rect();
    g_placed.clear();
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, RecordPlaces, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    ChangeDpi(144, ScreenWidth() - 600, parked.top);
    ::UnhookWindowsHookEx(hook);
    for (const auto& [window, rc] : g_placed) {
        if (window != PanelWindow()) continue;
        EXPECT_GE(rc.left, ScreenWidth() - 2 * ::GetSystemMetrics(SM_CXFRAME)) << "the parked panel came into view at x = " << rc.left;
    }
    EXPECT_TRUE(m_panel->IsParked());
    EXPECT_EQ(m_panel->DockSide(), 4);
}

TEST_F(PanelAsWindow, DraggingNearTheRightEdgeDocksAndAwayFreesIt) {
    // The docking distance of the monitor the cursor is on, at that monitor's scaling.
    const int distance = fw::Scale(kDockDistance96, MonitorOfWindow(PanelWindow()).dpi);
    RECT snapped = DragWithCursorAt(ScreenWidth() - distance);
    EXPECT_EQ(snapped.right, ScreenWidth()) << "at the docking distance from the edge it must snap";
    EXPECT_EQ(snapped.right - snapped.left, Width());
    EXPECT_EQ(m_panel->DockSide(), 4);
    RECT free = DragWithCursorAt(ScreenWidth() - distance - 1);
    EXPECT_EQ(free.left, 100) << "a pixel further it must not snap";
    EXPECT_EQ(m_panel->DockSide(), 0);
    Config().Settings().dockSide = 0;
    free = DragWithCursorAt(ScreenWidth() - 5);
    EXPECT_EQ(free.left, 100) << "no snapping with the dock flag off";
    EXPECT_EQ(m_panel->DockSide(), 0);
}

TEST_F(PanelAsWindow, ADockedPanelShownAtTheCursorAwayFromItsEdgeIsFree) {
    const RECT docked = DragWithCursorAt(ScreenWidth() - 5);
    ::MoveWindow(PanelWindow(), docked.left, docked.top, docked.right - docked.left, docked.bottom - docked.top, TRUE);
    ASSERT_EQ(m_panel->DockSide(), 4);
    m_panel->ToggleVisible(false);
    ::SetCursorPos(400, 300);
    m_panel->ToggleVisible(true);
    EXPECT_LT(Rect().right, ScreenWidth());
    EXPECT_EQ(m_panel->DockSide(), 0) << "the old dock would slide it back to the edge";
    const RECT shown = Rect();
    m_panel->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ScreenWidth() - 3, shown.top + 5));
    Settle();
    const RECT after = Rect();
    EXPECT_TRUE(::EqualRect(&shown, &after)) << "a free panel moved on a touch of the edge";
}

TEST_F(PanelAsWindow, ADockedPanelSlidesInAtTheEdgeAndOutWhenTheMouseLeaves) {
    const RECT docked = DockAndPark();
    ASSERT_TRUE(m_panel->IsParked());
    EXPECT_EQ(Rect().left, ScreenWidth() - ::GetSystemMetrics(SM_CXFRAME)) << "the edge strip stays on screen";
    ::SetCursorPos(ScreenWidth() - 3, docked.top + 5);
    m_panel->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ScreenWidth() - 3, docked.top + 5));
    EXPECT_TRUE(WaitParked(false));
    EXPECT_EQ(Rect().right, ScreenWidth()) << "the panel did not slide back in";
    EXPECT_FALSE(m_panel->IsParked());
}

TEST_F(PanelAsWindow, SlidingOutEndsAQuery) {
    const RECT docked = DockAndPark();
    ::SetCursorPos(ScreenWidth() - 3, docked.top + 5);
    m_panel->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ScreenWidth() - 3, docked.top + 5));
    ASSERT_TRUE(WaitParked(false));
    MSG letter{};
    letter.hwnd = PanelWindow();
    letter.message = WM_CHAR;
    letter.wParam = L'q';
    m_panel->HandleLoopMessage(letter);
    ASSERT_TRUE(m_panel->Find()->IsActive());
    ::SetCursorPos(10, 10);
    EXPECT_TRUE(WaitParked(true));
    EXPECT_FALSE(m_panel->Find()->IsActive()) << "the query goes on in a panel out of sight";
}

TEST_F(PanelAsWindow, AParkedPanelBroughtBackTakesTheKeysFromTheWindowThatHadThem) {
    DockAndPark();
    // The parked panel is moved back, not shown. Under Wine the move activates it too, so this
    // guards the outcome, not which call gives it the keys.
    HWND elsewhere = ::CreateWindowExW(0, L"STATIC", L"elsewhere", WS_POPUP | WS_VISIBLE, 0, 0, 60, 60, nullptr,
                                       nullptr, nullptr, nullptr);
    ::SetForegroundWindow(elsewhere);
    ASSERT_EQ(::GetForegroundWindow(), elsewhere);
    m_panel->SendMessage(WM_HOTKEY, 1, 0);
    EXPECT_EQ(::GetForegroundWindow(), PanelWindow()) << "the panel came back without the foreground";
    HWND focus = ::GetFocus();
    EXPECT_TRUE(focus == PanelWindow() || ::IsChild(PanelWindow(), focus)) << "the keys still go to the other window";
    ::DestroyWindow(elsewhere);
}

TEST_F(PanelAsWindow, ToggleBringsAParkedPanelBackByItsWidth) {
    DockAndPark();
    ASSERT_TRUE(m_panel->IsParked());
    const int parkedLeft = Rect().left;
    m_panel->ToggleVisible(false);
    EXPECT_EQ(Rect().left, parkedLeft - Width());
    EXPECT_FALSE(m_panel->IsParked());
}

TEST_F(PanelAsWindow, ASavedPositionOffTheScreenIsIgnored) {
    const int width = Width();
    ClosePanel();
    {
        LauncherConfig config;
        config.LoadConfig(kConfigFileName);
        config.Settings().rememberLocation = 1;
        config.Settings().windowRect = RECT{-20, 100, 300, 400};
    }
    OpenPanel();
    EXPECT_GE(Rect().left, 0) << "a negative left edge must give the default placement";
    EXPECT_EQ(Rect().right, WorkArea().right - 5);
    EXPECT_EQ(Rect().bottom, WorkArea().bottom) << "the default place is on the taskbar, not under it";
    ClosePanel();
    {
        LauncherConfig config;
        config.LoadConfig(kConfigFileName);
        config.Settings().windowRect = RECT{50, 60, 50 + width, 60 + 200};
    }
    OpenPanel();
    EXPECT_EQ(Rect().left, 50) << "a saved position on the screen is used";
    EXPECT_EQ(Rect().top, 60);
}

TEST_F(PanelAsWindow, OnlyExactlyDefaultBmpComesFromTheImagesFolder) {
    EXPECT_EQ(m_panel->BackgroundPath(), lhltest::BinFolder() + L"Images\\default.bmp");
    Config().Settings().backgroundImage = L"Default.bmp";
    EXPECT_EQ(m_panel->BackgroundPath(), L"Default.bmp") << "another case is a full path";
    const std::wstring picture = lhltest::DataFolder() + L"pic.bmp";
    // A 1 x 1 24-bit bitmap file.
    const std::vector<uint8_t> bmp = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0,
                                      1, 0, 24, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                      0, 0, 255, 0};
    lhltest::WriteBytes(picture, bmp);
    Config().Settings().backgroundImage = picture;
    m_panel->LoadBackground();
    EXPECT_NE(m_panel->Background(), nullptr) << "a full path was not loaded";
    Config().Settings().backgroundImage = lhltest::DataFolder() + L"missing.bmp";
    m_panel->LoadBackground();
    EXPECT_EQ(m_panel->Background(), nullptr);
}

TEST_F(PanelAsWindow, TheFirstStartLeavesAnEmptySettingsFileAndTheStripClickToggles) {
    m_panel->SendMessage(WM_COMMAND, MAKEWPARAM(1078, STN_CLICKED), reinterpret_cast<LPARAM>(m_panel->GetDlgItem(1078)));
    EXPECT_FALSE(m_panel->IsWindowVisible()) << "the strip must hide the panel";
    ClosePanel();
    EmptyData();
    ::DeleteFileW((lhltest::DataFolder() + kConfigFileName).c_str());
    OpenPanel();
    EXPECT_TRUE(lhltest::FileExists(lhltest::DataFolder() + kConfigFileName)) << "no settings file after the first start";
    EXPECT_TRUE(::GetWindowLongPtrW(PanelWindow(), GWL_EXSTYLE) & WS_EX_LAYERED) << "the panel was not made translucent";
}
