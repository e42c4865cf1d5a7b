// The setup as a user runs it, silently: what it installs, that the installed launcher starts,
// and what its uninstaller leaves behind (only the personal data, or nothing at all).
#include "PanelHarness.h"
#include "Program.h"
#include "RegKey.h"
#include "ShellFolder.h"
#include "TestSupport.h"
#include <shlobj.h>

using lhltest::FileExists;
using lhltest::FolderExists;
using lhltest::Program;

namespace {

constexpr const wchar_t* kClsidServer =
    L"Software\\Classes\\CLSID\\{10846745-3ECC-4DD9-BB13-73744926CA86}\\InprocServer32";
constexpr const wchar_t* kFileHandler = L"Software\\Classes\\*\\shellex\\ContextMenuHandlers\\1LHLauncher";
constexpr const wchar_t* kFolderHandler = L"Software\\Classes\\Directory\\shellex\\ContextMenuHandlers\\1LHLauncher";
constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\LanternhopLauncher";
constexpr const wchar_t* kDataKey = L"Software\\QuenvidWorks\\Lanternhop";

bool UserValue(const wchar_t* key, const wchar_t* name, std::wstring& value) {
    fw::CRegKey k;
    return k.Open(HKEY_CURRENT_USER, key, KEY_READ) == ERROR_SUCCESS && k.QueryStringValue(name, value) == ERROR_SUCCESS;
}

bool UserKeyExists(const wchar_t* key) {
    fw::CRegKey k;
    return k.Open(HKEY_CURRENT_USER, key, KEY_READ) == ERROR_SUCCESS;
}

class Installer : public lhltest::CleanLauncherState {
protected:
    void SetUp() override {
        CleanLauncherState::SetUp();
        m_setup = lhltest::BinFolder() + L"..\\..\\LanternhopSetup.exe";
        ASSERT_TRUE(FileExists(m_setup)) << "scripts/build did not make the setup (is NSIS installed?)";
        m_folder = fw::ShellFolderPath(CSIDL_LOCAL_APPDATA) + L"Programs\\Lanternhop Launcher\\";
        // Not a first start: the launcher would open its manual page in a browser.
        lhltest::WriteTestSettings();
    }
    void RunSetup(const std::wstring& options) {
        Program setup;
        ASSERT_TRUE(setup.StartCommand(L"\"" + m_setup + L"\" /S " + options));
        ASSERT_TRUE(setup.WaitForExit(60000));
        EXPECT_EQ(setup.ExitCode(), 0u);
    }
    // The uninstaller copies itself away and goes on from there: done once the folder is gone.
    void RunUninstaller(const std::wstring& options) {
        Program uninstall;
        ASSERT_TRUE(uninstall.StartCommand(L"\"" + m_folder + L"Uninstall.exe\" /S " + options));
        ASSERT_TRUE(uninstall.WaitForExit(60000));
        ASSERT_TRUE(lhltest::PumpUntil([&] { return !FolderExists(m_folder); }, 60000))
            << "the program folder is still there";
    }
    void ExpectNothingOfTheProgramLeft() {
        std::wstring value;
        EXPECT_FALSE(UserKeyExists(kClsidServer)) << "the extension is still registered";
        EXPECT_FALSE(UserKeyExists(kFileHandler));
        EXPECT_FALSE(UserKeyExists(kFolderHandler));
        EXPECT_FALSE(UserValue(kRunKey, L"Lanternhop Launcher", value)) << "the start-up value stayed";
        EXPECT_FALSE(UserKeyExists(kUninstallKey));
        EXPECT_FALSE(UserValue(kDataKey, L"Path", value));
        EXPECT_FALSE(FileExists(fw::ShellFolderPath(CSIDL_PROGRAMS) + L"Lanternhop Launcher.lnk"));
    }

    std::wstring m_setup;
    std::wstring m_folder;
};

} // namespace

TEST_F(Installer, InstallsStartsAndUninstallsKeepingThePersonalData) {
    RunSetup(L"");
    for (const wchar_t* file : {L"Lanternhop Launcher.exe", L"QuenvidTools.dll", L"QuenvidExtension.dll",
                                L"LHLConfigDelPersonalData.exe", L"helpstart.htm", L"Lang\\ChineseSimplified.ini",
                                L"Sounds\\default_active.wav", L"Images\\default.bmp", L"Uninstall.exe"})
        EXPECT_TRUE(FileExists(m_folder + file)) << "not installed: " << std::string(file, file + wcslen(file));
    std::wstring value;
    ASSERT_TRUE(UserValue(kDataKey, L"Path", value));
    EXPECT_EQ(value, m_folder);
    ASSERT_TRUE(UserValue(kClsidServer, L"", value)) << "the extension is not registered for the user";
    EXPECT_EQ(value, m_folder + L"QuenvidExtension.dll");
    ASSERT_TRUE(UserValue(kFileHandler, L"", value));
    EXPECT_EQ(value, L"{10846745-3ECC-4DD9-BB13-73744926CA86}");
    ASSERT_TRUE(UserValue(kRunKey, L"Lanternhop Launcher", value));
    EXPECT_EQ(value, m_folder + L"Lanternhop Launcher.exe");
    EXPECT_TRUE(UserKeyExists(kUninstallKey)) << "no entry in Apps & features";
    EXPECT_TRUE(FileExists(fw::ShellFolderPath(CSIDL_PROGRAMS) + L"Lanternhop Launcher.lnk"));

    Program launcher;
    ASSERT_TRUE(launcher.StartCommand(L"\"" + m_folder + L"Lanternhop Launcher.exe\""));
    HWND panel = launcher.WaitForWindow(L"#32770", L"Lanternhop Launcher", 20000);
    ASSERT_NE(panel, nullptr) << "the installed launcher showed no panel";
    EXPECT_TRUE(lhltest::PumpUntil([panel] { return ::IsWindowVisible(panel) != FALSE; }, 20000))
        << "the panel never became visible";

    // The uninstaller ends the running launcher itself.
    RunUninstaller(L"");
    EXPECT_TRUE(launcher.WaitForExit(10000)) << "the launcher was left running";
    ExpectNothingOfTheProgramLeft();
    EXPECT_TRUE(FileExists(lhltest::DataFolder() + L"Lanternhop_LauncherConfig.dat")) << "the data went without asking";
}

TEST_F(Installer, WithoutTheOptionsAndWithTheDataDeletedNothingIsLeft) {
    RunSetup(L"/NOSTARTUP /NOSHELLMENU");
    std::wstring value;
    EXPECT_FALSE(UserValue(kRunKey, L"Lanternhop Launcher", value)) << "start-up was not asked for";
    // The keys are there for the launcher's own option, but without the handler.
    EXPECT_TRUE(UserKeyExists(kFileHandler));
    EXPECT_TRUE(UserKeyExists(kFolderHandler));
    EXPECT_FALSE(UserValue(kFileHandler, L"", value) && !value.empty());

    RunUninstaller(L"/DELETEDATA");
    ExpectNothingOfTheProgramLeft();
    EXPECT_FALSE(FolderExists(lhltest::DataFolder())) << "personal data left after choosing to delete it";
    EXPECT_FALSE(UserKeyExists(kDataKey));
}
