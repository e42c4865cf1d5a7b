// The data cleaner as a real process against a real data folder.
#include "Program.h"
#include "TestSupport.h"

using lhltest::DataFolder;
using lhltest::FileExists;

namespace {

class Cleaner : public lhltest::CleanLauncherState {
protected:
    void SetUp() override {
        CleanLauncherState::SetUp();
        ::CreateDirectoryW(DataFolder().c_str(), nullptr);
    }
    static void RunCleaner() {
        lhltest::Program cleaner;
        ASSERT_TRUE(cleaner.Start(lhltest::kCleanerExe));
        ASSERT_TRUE(cleaner.WaitForExit(30000)) << "the cleaner did not end by itself";
        EXPECT_EQ(cleaner.ExitCode(), 0u);
    }
    static void MakeFile(const std::wstring& path) { lhltest::WriteBytes(path, {1, 2, 3}); }
};

} // namespace

TEST_F(Cleaner, DeletesTheFilesAndLeavesSubFoldersWithTheirContents) {
    MakeFile(DataFolder() + L"pages_info.dat");
    MakeFile(DataFolder() + L"Lanternhop_LauncherConfig.dat");
    MakeFile(DataFolder() + L"Lanternhop_LauncherConfig.dat_bak");
    ::CreateDirectoryW((DataFolder() + L"Shortcut").c_str(), nullptr);
    MakeFile(DataFolder() + L"Shortcut\\tool.lnk");

    RunCleaner();
    EXPECT_FALSE(FileExists(DataFolder() + L"pages_info.dat"));
    EXPECT_FALSE(FileExists(DataFolder() + L"Lanternhop_LauncherConfig.dat"));
    EXPECT_FALSE(FileExists(DataFolder() + L"Lanternhop_LauncherConfig.dat_bak"));
    EXPECT_TRUE(FileExists(DataFolder() + L"Shortcut\\tool.lnk")) << "the cleaner went into a sub-folder";
    EXPECT_TRUE(lhltest::FolderExists(DataFolder())) << "the data folder itself was removed";
}

TEST_F(Cleaner, AReadOnlyFileStaysAndTheOthersStillGo) {
    MakeFile(DataFolder() + L"a.dat");
    MakeFile(DataFolder() + L"locked.dat");
    MakeFile(DataFolder() + L"z.dat");
    ::SetFileAttributesW((DataFolder() + L"locked.dat").c_str(), FILE_ATTRIBUTE_READONLY);
    RunCleaner();
    EXPECT_TRUE(FileExists(DataFolder() + L"locked.dat"));
    EXPECT_FALSE(FileExists(DataFolder() + L"a.dat"));
    EXPECT_FALSE(FileExists(DataFolder() + L"z.dat")) << "the cleaner stopped at the read-only file";
}

TEST_F(Cleaner, WithoutADataFolderItEndsAndChangesNothing) {
    lhltest::RemoveFolder(DataFolder());
    RunCleaner();
    EXPECT_FALSE(lhltest::FolderExists(DataFolder())) << "the cleaner created the data folder";
}

TEST_F(Cleaner, RunningTwiceInARowIsHarmless) {
    MakeFile(DataFolder() + L"pages_info.dat");
    RunCleaner();
    RunCleaner();
    EXPECT_FALSE(FileExists(DataFolder() + L"pages_info.dat"));
    EXPECT_TRUE(lhltest::FolderExists(DataFolder()));
}
