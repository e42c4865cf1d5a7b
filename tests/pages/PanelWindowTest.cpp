// The panel as a window: showing and hiding, docking, sliding, placement and its background.
#include "PanelHarness.h"
#include "PanelMessages.h"

using namespace lhl;

namespace {

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
}

TEST_F(PanelAsWindow, DraggingNearTheRightEdgeDocksAndAwayFreesIt) {
    RECT snapped = DragWithCursorAt(ScreenWidth() - 20);
    EXPECT_EQ(snapped.right, ScreenWidth()) << "20 px from the edge must snap";
    EXPECT_EQ(snapped.right - snapped.left, Width());
    EXPECT_EQ(m_panel->DockSide(), 4);
    RECT free = DragWithCursorAt(ScreenWidth() - 21);
    EXPECT_EQ(free.left, 100) << "21 px from the edge must not snap";
    EXPECT_EQ(m_panel->DockSide(), 0);
    Config().Settings().dockSide = 0;
    free = DragWithCursorAt(ScreenWidth() - 5);
    EXPECT_EQ(free.left, 100) << "no snapping with the dock flag off";
}

TEST_F(PanelAsWindow, ADockedPanelSlidesInAtTheEdgeAndOutWhenTheMouseLeaves) {
    const RECT docked = DragWithCursorAt(ScreenWidth() - 5);
    ::MoveWindow(PanelWindow(), docked.left, docked.top, docked.right - docked.left, docked.bottom - docked.top, TRUE);
    ::SetCursorPos(10, 10); // far away: the leave check slides it out
    m_panel->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ScreenWidth() - 5, docked.top + 5));
    ASSERT_TRUE(WaitParked(true)) << "the panel did not slide out";
    EXPECT_EQ(Rect().left, ScreenWidth() - ::GetSystemMetrics(SM_CXFRAME)) << "the edge strip stays on screen";
    ::SetCursorPos(ScreenWidth() - 3, docked.top + 5);
    m_panel->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ScreenWidth() - 3, docked.top + 5));
    EXPECT_TRUE(WaitParked(false));
    EXPECT_EQ(Rect().right, ScreenWidth()) << "the panel did not slide back in";
    EXPECT_FALSE(m_panel->IsParked());
}

TEST_F(PanelAsWindow, ToggleBringsAParkedPanelBackByItsWidth) {
    const RECT docked = DragWithCursorAt(ScreenWidth() - 5);
    ::MoveWindow(PanelWindow(), docked.left, docked.top, docked.right - docked.left, docked.bottom - docked.top, TRUE);
    ::SetCursorPos(10, 10);
    m_panel->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ScreenWidth() - 5, docked.top + 5));
    ASSERT_TRUE(WaitParked(true));
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
    EXPECT_EQ(Rect().right, ScreenWidth() - 5);
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
