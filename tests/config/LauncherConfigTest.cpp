// The settings record with real files in the data folder: defaults, the "_bak" fallback,
// saving, and the clamping accessors.
#include "ByteCodec.h"
#include "LauncherConfig.h"
#include "TestSupport.h"

using namespace lhl;
using lhltest::DataFolder;

namespace {

class LauncherConfigTest : public lhltest::CleanLauncherState {
protected:
    std::wstring ConfigFile() const { return DataFolder() + kConfigFileName; }
    std::wstring BackupFile() const { return ConfigFile() + L"_bak"; }

    static std::vector<uint8_t> FileWith(int transparency) {
        ConfigSettings s;
        s.transparency = transparency;
        return EncodeConfig(s);
    }
    static int TransparencyIn(const std::vector<uint8_t>& bytes) {
        return static_cast<int>(ByteReader(bytes).U32At(0x4C));
    }
};

// A window of a given client width, for the computed grid side.
struct PanelStandIn {
    explicit PanelStandIn(int clientWidth) {
        RECT rc{0, 0, clientWidth, 200};
        ::AdjustWindowRectEx(&rc, WS_POPUP, FALSE, 0);
        hWnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                                 nullptr, nullptr, nullptr, nullptr);
    }
    ~PanelStandIn() { ::DestroyWindow(hWnd); }
    HWND hWnd;
};

} // namespace

TEST_F(LauncherConfigTest, ConstructionGivesTheDefaultsAndCreatesTheFolders) {
    lhltest::RemoveFolder(DataFolder());
    LauncherConfig config;
    const ConfigSettings& s = config.Settings();
    EXPECT_TRUE(lhltest::FolderExists(DataFolder() + L"Shortcut")) << "no Shortcut folder";
    EXPECT_TRUE(lhltest::FolderExists(DataFolder() + L"DesktopBackup")) << "no DesktopBackup folder";
    EXPECT_EQ(config.DataFolder(), DataFolder());
    EXPECT_EQ(config.ShortcutFolder(), DataFolder() + L"Shortcut\\");
    EXPECT_EQ(config.DesktopBackupFolder(), DataFolder() + L"DesktopBackup\\");
    EXPECT_EQ(config.ProgramFolder(), lhltest::BinFolder());
    EXPECT_EQ(config.ClickSound(), lhltest::BinFolder() + L"Sounds\\default_click.wav");
    EXPECT_EQ(config.SwitchSound(), lhltest::BinFolder() + L"Sounds\\default_switch.wav");
    EXPECT_EQ(config.ActiveSound(), lhltest::BinFolder() + L"Sounds\\default_active.wav");
    EXPECT_EQ(s.dimension, std::min(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)) / 3);
    EXPECT_EQ(s.hotKeyName, L"Alt + D");
    EXPECT_EQ(s.hotKeyVirtualKey, 'D');
    EXPECT_EQ(s.hotKeyModifiers, 4);
    EXPECT_EQ(s.transparency, 239);
    EXPECT_EQ(s.backgroundImage, L"default.bmp");
    EXPECT_TRUE(s.autoHide);
    EXPECT_EQ(s.dockSide, 1);
    EXPECT_EQ(config.m_page.focusBackColor, 0x808040u);
    EXPECT_EQ(config.m_page.focusTextColor, 0x0000C8u);
}

TEST_F(LauncherConfigTest, NoFileAtAllKeepsTheDefaults) {
    LauncherConfig config;
    EXPECT_EQ(config.LoadConfig(kConfigFileName), 1);
    EXPECT_EQ(config.Settings().transparency, 239);
}

TEST_F(LauncherConfigTest, SavedSettingsLoadBackInANewRecord) {
    {
        LauncherConfig config;
        config.LoadConfig(kConfigFileName);
        config.Settings().windowRect = RECT{10, 20, 310, 420};
        config.Settings().hotKeyName = L"Win + L";
        ASSERT_EQ(config.SaveConfig(kConfigFileName), 0);
    }
    LauncherConfig again;
    ASSERT_EQ(again.LoadConfig(kConfigFileName), 0);
    const RECT expected{10, 20, 310, 420};
    EXPECT_TRUE(::EqualRect(&again.Settings().windowRect, &expected));
    EXPECT_EQ(again.Settings().hotKeyName, L"Win + L");
}

TEST_F(LauncherConfigTest, SavingTwiceKeepsThePreviousVersionAsBackup) {
    LauncherConfig config;
    config.LoadConfig(kConfigFileName);
    config.Settings().transparency = 100;
    ASSERT_EQ(config.SaveConfig(kConfigFileName), 0);
    config.Settings().transparency = 150;
    ASSERT_EQ(config.SaveConfig(kConfigFileName), 0);
    EXPECT_EQ(TransparencyIn(lhltest::ReadBytes(ConfigFile())), 150);
    EXPECT_EQ(TransparencyIn(lhltest::ReadBytes(BackupFile())), 100) << "the backup is not the previous save";
}

TEST_F(LauncherConfigTest, AnUnusableFileFallsBackToTheBackup) {
    std::vector<uint8_t> zeroFirstWord = FileWith(120);
    zeroFirstWord[0] = zeroFirstWord[1] = zeroFirstWord[2] = zeroFirstWord[3] = 0;
    const std::vector<uint8_t> whole = FileWith(120);
    const std::vector<uint8_t> truncated(whole.begin(), whole.begin() + 0x109 + 3);
    std::vector<uint8_t> wildLength = FileWith(120);
    wildLength[0x100] = 0xFF; wildLength[0x101] = 0xFF; wildLength[0x102] = 0xFF; wildLength[0x103] = 0x7F;
    const std::vector<std::vector<uint8_t>> damaged = {{}, {1, 2, 3}, zeroFirstWord, truncated, wildLength};
    for (const auto& bad : damaged) {
        lhltest::WriteBytes(ConfigFile(), bad);
        lhltest::WriteBytes(BackupFile(), FileWith(88));
        LauncherConfig config;
        EXPECT_EQ(config.LoadConfig(kConfigFileName), 0) << "a file of " << bad.size() << " bytes";
        EXPECT_EQ(config.Settings().transparency, 88) << "the backup was not used for " << bad.size() << " bytes";
    }
}

TEST_F(LauncherConfigTest, AMissingFileFallsBackToTheBackup) {
    lhltest::WriteBytes(BackupFile(), FileWith(99));
    LauncherConfig config;
    EXPECT_EQ(config.LoadConfig(kConfigFileName), 0);
    EXPECT_EQ(config.Settings().transparency, 99);
}

TEST_F(LauncherConfigTest, BothFilesDamagedLeavesTheDefaults) {
    lhltest::WriteBytes(ConfigFile(), std::vector<uint8_t>(300, 0));
    lhltest::WriteBytes(BackupFile(), std::vector<uint8_t>(10, 0xAB));
    LauncherConfig config;
    EXPECT_EQ(config.LoadConfig(kConfigFileName), 1);
    EXPECT_EQ(config.Settings().transparency, 239);
    EXPECT_EQ(config.Settings().backgroundImage, L"default.bmp");
}

TEST_F(LauncherConfigTest, AFailedSaveLeavesFileAndBackupAsTheyWere) {
    lhltest::WriteBytes(ConfigFile(), FileWith(111));
    lhltest::WriteBytes(BackupFile(), FileWith(55));
    {
        // Another program holds the file open (a backup tool, say): it cannot be replaced.
        HANDLE busy = ::CreateFileW(ConfigFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(busy, INVALID_HANDLE_VALUE);
        LauncherConfig config;
        config.Settings().transparency = 200;
        EXPECT_EQ(config.SaveConfig(kConfigFileName), 1) << "a failed save was reported as success";
        ::CloseHandle(busy);
    }
    EXPECT_EQ(TransparencyIn(lhltest::ReadBytes(ConfigFile())), 111);
    EXPECT_EQ(TransparencyIn(lhltest::ReadBytes(BackupFile())), 55) << "the backup was overwritten";
    LauncherConfig config;
    EXPECT_EQ(config.SaveConfig(L"no such folder\\x.dat"), 1);
}

TEST_F(LauncherConfigTest, TransparencyIsClampedAndTheClampStored) {
    const std::pair<int, int> cases[] = {{5, 10}, {0, 10}, {-3, 10}, {10, 10}, {255, 255}, {256, 226}, {300, 226}};
    for (auto [stored, expected] : cases) {
        LauncherConfig config;
        config.Settings().transparency = stored;
        EXPECT_EQ(config.GetTransparency(), expected) << "stored " << stored;
        EXPECT_EQ(config.Settings().transparency, expected) << "the corrected value was not kept for " << stored;
    }
}

TEST_F(LauncherConfigTest, GridSideOutsideThreeToSixteenIsComputedFromThePanelWidth) {
    PanelStandIn panel(296);
    for (int stored : {0, 17, 2, -1}) {
        LauncherConfig config;
        config.SetPanelWindow(panel.hWnd);
        config.Settings().unitsPerRow = stored;
        EXPECT_EQ(config.GetUnitsPerRow(), 4) << "stored " << stored;
        EXPECT_EQ(config.Settings().unitsPerRow, 4) << "the computed side was not stored";
    }
    LauncherConfig kept;
    kept.SetPanelWindow(panel.hWnd);
    for (int stored : {3, 16}) {
        kept.Settings().unitsPerRow = stored;
        EXPECT_EQ(kept.GetUnitsPerRow(), stored);
    }
}

TEST_F(LauncherConfigTest, ComputedGridSideNeverLeavesOneToSixteen) {
    PanelStandIn narrow(40), wide(2000);
    LauncherConfig config;
    config.SetPanelWindow(narrow.hWnd);
    EXPECT_EQ(config.GetUnitsPerRow(), 1) << "a zero grid side would divide by zero when the grid is built";
    config.Settings().unitsPerRow = 0;
    config.SetPanelWindow(wide.hWnd);
    EXPECT_EQ(config.GetUnitsPerRow(), 16);
}

TEST_F(LauncherConfigTest, ANewPageBlockIsSetAsideAndRestored) {
    LauncherConfig config;
    config.m_page = PageBlock{L"Games", L"my games", 1, 2, 3, 4};
    config.SaveCurrentPageAside();
    EXPECT_EQ(config.m_page.title, L"");
    EXPECT_EQ(config.m_page.tip, L"");
    EXPECT_EQ(config.m_page.focusBackColor, 0x808040u);
    EXPECT_EQ(config.m_page.normalBackColor, 0xC0C0C0u);
    EXPECT_EQ(config.m_page.focusTextColor, 0x0000FFu);
    EXPECT_EQ(config.m_page.normalTextColor, 0x000000u);
    config.m_page.title = L"typed in the wizard";
    config.RestoreCurrentPage();
    EXPECT_EQ(config.m_page.title, L"Games");
    EXPECT_EQ(config.m_page.tip, L"my games");
    EXPECT_EQ(config.m_page.focusBackColor, 1u);
    EXPECT_EQ(config.m_page.normalTextColor, 4u);
}

TEST_F(LauncherConfigTest, OnlyALoadedRecordWritesItselfWhenDestroyed) {
    { LauncherConfig neverLoaded; }
    EXPECT_FALSE(lhltest::FileExists(ConfigFile())) << "a record that was never loaded wrote the file";
    {
        LauncherConfig loaded;
        loaded.LoadConfig(kConfigFileName);
        loaded.Settings().languageIndex = 2;
    }
    LauncherConfig again;
    ASSERT_EQ(again.LoadConfig(kConfigFileName), 0) << "the destructor did not save";
    EXPECT_EQ(again.Settings().languageIndex, 2);
}
