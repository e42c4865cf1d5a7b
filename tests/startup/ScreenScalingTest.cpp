// The launcher started as a user's would, on a screen scaled to 100, 125, 150 and 200 %: the
// scaling is the prefix's LogPixels, which Wine reads when a process starts. The panel, its grid,
// its icons, its captions and its docking distance grow with the scaling, from one settings file
// written at 96 DPI.
#include "Dpi.h"
#include "LauncherConfig.h"
#include "Program.h"
#include "Snapshot.h"
#include "TestSupport.h"
#include "resource.h"
#include <cstdlib>

using lhltest::Program;

namespace {

constexpr DWORD kStartTimeout = 30000;
constexpr int kDimension = 300;
constexpr POINT kSavedAt{200, 150};
constexpr int kFirstButton = 500; // cell 1 of page 1
constexpr int kDockDistance = 20;
constexpr const wchar_t* kDesktopKey = L"Control Panel\\Desktop";

// The screen's scaling for the processes started while it lives; the value the prefix had
// before is put back (or taken away again) however the test ends.
class ScreenScaling {
public:
    explicit ScreenScaling(DWORD dpi) {
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                          &m_key, nullptr);
        DWORD size = sizeof(m_before);
        m_had = ::RegQueryValueExW(m_key, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&m_before), &size) ==
                ERROR_SUCCESS;
        ::RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
    }
    ~ScreenScaling() {
        if (m_had)
            ::RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_before), sizeof(m_before));
        else
            ::RegDeleteValueW(m_key, L"LogPixels");
        ::RegCloseKey(m_key);
    }
    ScreenScaling(const ScreenScaling&) = delete;
    ScreenScaling& operator=(const ScreenScaling&) = delete;

private:
    HKEY m_key = nullptr;
    DWORD m_before = 0;
    bool m_had = false;
};

// What the test reads off the running panel, in screen pixels.
struct PanelLook {
    RECT panel{}, tab{}, cell1{}, cell2{};
    int iconWidth = 0, captionRows = 0;
    bool docksNear = false, docksFar = false;
};

RECT WindowRectOf(HWND window) {
    RECT rc{};
    ::GetWindowRect(window, &rc);
    return rc;
}

// What the panel makes of a drag with the cursor this far from the screen's right edge: true
// when it snaps to the edge.
bool DocksWithCursorAt(HWND panel, int fromRightEdge) {
    const int screenRight = ::GetSystemMetrics(SM_CXSCREEN);
    ::SetCursorPos(screenRight - fromRightEdge, 300);
    RECT moving = WindowRectOf(panel);
    ::OffsetRect(&moving, 100 - moving.left, 0);
    ::SendMessageW(panel, WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&moving));
    return moving.right == screenRight;
}

class ScaledScreen : public lhltest::CleanLauncherState {
protected:
    void SetUp() override {
        CleanLauncherState::SetUp();
        // A file as a 96-DPI screen left it: the size and the grid in 96-DPI units.
        lhl::LauncherConfig config;
        lhl::ConfigSettings& s = config.Settings();
        s.unitsPerRow = 4;
        s.dimension = kDimension;
        s.rememberLocation = 1;
        s.windowRect = RECT{kSavedAt.x, kSavedAt.y, kSavedAt.x + kDimension, kSavedAt.y + kDimension + 15};
        s.dockSide = 1;
        s.animate = 1; // no translucency: the screen shows the panel's own colours
        s.useBackgroundImage = 0;
        s.soundEnabled = 0;
        s.useHotKey = 0;
        s.ctrlTwice = 0;
        ASSERT_EQ(config.SaveConfig(lhl::kConfigFileName), 0);
        m_items = lhltest::DataFolder() + L"items\\";
        ::CreateDirectoryW(m_items.c_str(), nullptr);
        for (const wchar_t* name : {L"Hg one.txt", L"Hg two.txt"}) lhltest::WriteBytes(m_items + name, {'x'});
    }

    // Starts the launcher at this scaling with two items, reads its panel and ends it.
    PanelLook LookAt(DWORD dpi) {
        PanelLook look;
        ScreenScaling scaling(dpi);
        Program launcher;
        EXPECT_TRUE(launcher.Start(lhltest::kLauncherExe, L"\"" + m_items + L"Hg one.txt\""));
        HWND panel = launcher.WaitForPanel(kStartTimeout);
        if (!panel) {
            ADD_FAILURE() << "no panel at " << dpi << " DPI";
            return look;
        }
        Program second; // the second item comes through a second instance, as from Explorer
        EXPECT_TRUE(second.Start(lhltest::kLauncherExe, L"\"" + m_items + L"Hg two.txt\""));
        EXPECT_TRUE(second.WaitForExit(kStartTimeout));
        HWND cell1 = nullptr, cell2 = nullptr;
        EXPECT_TRUE(lhltest::PumpUntil(
            [&] {
                cell1 = ::GetDlgItem(panel, kFirstButton);
                cell2 = ::GetDlgItem(panel, kFirstButton + 1);
                return cell1 && cell2 && ::IsWindowVisible(cell2);
            },
            10000))
            << "the two items did not reach their cells at " << dpi << " DPI";
        if (!cell1 || !cell2) return look;
        ::Sleep(300); // the last paint reaches the screen
        look.panel = WindowRectOf(panel);
        look.tab = WindowRectOf(::GetDlgItem(panel, IDC_INDEX_FIRST));
        look.cell1 = WindowRectOf(cell1);
        look.cell2 = WindowRectOf(cell2);
        const lhltest::Snapshot shown(look.cell1);
        const int height = look.cell1.bottom - look.cell1.top;
        look.iconWidth = shown.ColumnsUnlikeCorner(0, height / 2);
        look.captionRows = shown.DarkRows(height / 2, height);
        const int distance = fw::Scale(kDockDistance, dpi);
        look.docksFar = DocksWithCursorAt(panel, distance + 2);
        look.docksNear = DocksWithCursorAt(panel, distance - 1);
        ::PostMessageW(panel, WM_CLOSE, 0, 0);
        EXPECT_TRUE(launcher.WaitForExit(kStartTimeout));
        return look;
    }

    std::wstring m_items;
};

int Width(const RECT& rc) { return rc.right - rc.left; }
int Height(const RECT& rc) { return rc.bottom - rc.top; }

// Within rounding of the 96-DPI size scaled (sizes are rounded one by one, so a sum of them may
// be off by a pixel or two).
void ExpectScaled(int at96, int now, DWORD dpi, const char* what) {
    EXPECT_LE(std::abs(now - fw::Scale(at96, dpi)), 2)
        << what << ": " << at96 << " pixels at 96 DPI, " << now << " at " << dpi << " DPI";
}

} // namespace

TEST_F(ScaledScreen, TheSame96DpiSettingsGiveAPanelThatGrowsWithTheScaling) {
    const PanelLook at96 = LookAt(96);
    ASSERT_EQ(Width(at96.panel), kDimension) << "at 100 % the panel is the settings' dimension wide";
    EXPECT_EQ(at96.panel.left, kSavedAt.x) << "the saved place was not restored";
    EXPECT_EQ(at96.panel.top, kSavedAt.y);
    ASSERT_GT(at96.iconWidth, 0) << "no icon was drawn at 96 DPI";
    ASSERT_GT(at96.captionRows, 0) << "no caption was drawn at 96 DPI";
    EXPECT_FALSE(at96.docksFar) << "the panel docked from beyond the docking distance";
    EXPECT_TRUE(at96.docksNear) << "the panel did not dock within the docking distance";
    for (DWORD dpi : {120u, 144u, 192u}) {
        SCOPED_TRACE(testing::Message() << dpi << " DPI");
        const PanelLook look = LookAt(dpi);
        EXPECT_EQ(Width(look.panel), fw::Scale(kDimension, dpi)) << "the panel's width";
        ExpectScaled(Height(at96.panel), Height(look.panel), dpi, "the panel's height");
        EXPECT_EQ(look.panel.left, kSavedAt.x) << "the saved place moved with the scaling";
        ExpectScaled(Height(at96.tab), Height(look.tab), dpi, "the tab's height");
        ExpectScaled(Width(at96.tab), Width(look.tab), dpi, "the tab's width");
        ExpectScaled(Width(at96.cell1), Width(look.cell1), dpi, "the cell's width");
        ExpectScaled(Height(at96.cell1), Height(look.cell1), dpi, "the cell's height");
        ExpectScaled(at96.cell2.left - at96.cell1.left, look.cell2.left - look.cell1.left, dpi, "the cell step");
        ExpectScaled(at96.cell1.top - at96.panel.top, look.cell1.top - look.panel.top, dpi, "the grid's top");
        // Drawn pictures and text are measured by their ink, which rounds more coarsely.
        const double scale = dpi / 96.0;
        EXPECT_NEAR(look.iconWidth, at96.iconWidth * scale, at96.iconWidth * scale * 0.15 + 1) << "the icon drawn";
        EXPECT_NEAR(look.captionRows, at96.captionRows * scale, at96.captionRows * scale * 0.2 + 1)
            << "the caption's text";
        EXPECT_FALSE(look.docksFar) << "the panel docked from beyond the scaled docking distance";
        EXPECT_TRUE(look.docksNear) << "the docking distance did not grow with the scaling";
    }
}
