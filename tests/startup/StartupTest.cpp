// Start-up as the user meets it: real launcher processes, a real panel window, real files.
#include "ButtonEx.h"
#include "HandOff.h"
#include "MessageBoxAnswerer.h"
#include "PanelHarness.h"
#include "LanternhopApp.h"
#include "LanternhopDlg.h"
#include "PanelLookup.h"
#include "PageCodec.h"
#include "PanelMessages.h"
#include "Program.h"
#include "TestSupport.h"
#include "ShellFolder.h"
#include "resource.h"
#include <commctrl.h>
#include <algorithm>
#include <functional>
#include <set>
#include <thread>

using namespace lhl;
using lhltest::BinFolder;
using lhltest::DataFolder;
using lhltest::Program;

namespace {

constexpr DWORD kStartTimeout = 30000;

std::wstring ProgramFolderHandOff() { return BinFolder() + kHandOffFileName; }
std::wstring DataFolderHandOff() { return DataFolder() + kHandOffFileName; }

// A visible dialog of this process that the panel owns: one of its message boxes.
HWND WaitForBoxOf(HWND panel, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs) {
        HWND box = nullptr;
        while ((box = ::FindWindowExW(nullptr, box, kDialogClass, nullptr)) != nullptr)
            if (::GetWindow(box, GW_OWNER) == panel && ::IsWindowVisible(box)) return box;
        ::Sleep(20);
    }
    return nullptr;
}

// This test process plays the running launcher: it owns the single-instance mutex and shows a
// real panel, so a second instance started by the test hands its path to it.
class RunningPanel : public lhltest::CleanLauncherState {
protected:
    void SetUp() override {
        CleanLauncherState::SetUp();
        lhltest::WriteTestSettings(m_nUnitsPerRow);
        ::DeleteFileW(ProgramFolderHandOff().c_str());
        m_mutex = ::CreateMutexW(nullptr, TRUE, kProductTitle);
        ASSERT_NE(m_mutex, nullptr);
        ASSERT_NE(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << "a launcher is already running";
        if (!m_bPanelLater) CreatePanel();
    }
    void CreatePanel() {
        ASSERT_TRUE(m_panel.Create());
        ASSERT_EQ(FindLauncherPanel(), m_panel.m_hWnd);
    }
    void TearDown() override {
        m_panel.DestroyWindow();
        ::ReleaseMutex(m_mutex);
        ::CloseHandle(m_mutex);
        CleanLauncherState::TearDown();
    }

    // Starts a second instance with this command-line tail and waits for it to end.
    void StartSecondInstance(const std::wstring& tail) {
        Program second;
        ASSERT_TRUE(second.Start(lhltest::kLauncherExe, tail));
        ASSERT_TRUE(second.WaitForExit(kStartTimeout)) << "the second instance kept running";
        EXPECT_EQ(second.ExitCode(), 0u);
    }

    std::wstring TargetAt(uint32_t cell) {
        CButtonEx* button = m_panel.Store()->ButtonAtCell(cell);
        return button && !button->IsEmptyItem() ? button->GetTarget() : L"";
    }

    // `openBox` makes the panel show a message box and returns once it is closed. While the box
    // is open, a second instance is started for each path; then the box is answered. True when
    // the box was open all the while.
    bool HandOverWhileABoxIsOpen(const std::function<void()>& openBox, int answer,
                                 const std::vector<std::wstring>& paths) {
        bool openThroughout = false;
        std::thread user([&] {
            HWND box = WaitForBoxOf(m_panel.m_hWnd, 10000);
            if (!box) return;
            for (const std::wstring& path : paths) {
                Program second;
                if (second.Start(lhltest::kLauncherExe, path)) second.WaitForExit(kStartTimeout);
            }
            openThroughout = ::IsWindowVisible(box) != FALSE;
            ::PostMessageW(box, WM_COMMAND, answer, 0);
        });
        openBox();
        user.join();
        return openThroughout;
    }

    CLanternhopDlg m_panel;
    HANDLE m_mutex = nullptr;
    int m_nUnitsPerRow = 4;
    bool m_bPanelLater = false; // the instance runs, its panel is made by the test
};

// Room for forty items on the shown page; the running instance is still building its panel.
class ManySecondStarts : public RunningPanel {
protected:
    ManySecondStarts() {
        m_nUnitsPerRow = 7;
        m_bPanelLater = true;
    }
};

} // namespace

TEST_F(RunningPanel, ASecondInstanceHandsItsPathOverAndEnds) {
    StartSecondInstance(L"C:\\Users\\me\\My Documents\\report final.txt");
    EXPECT_EQ(m_panel.HandedOverPath(), L"C:\\Users\\me\\My Documents\\report final.txt")
        << "a path with blanks did not arrive whole";
    EXPECT_FALSE(lhltest::FileExists(ProgramFolderHandOff())) << "the hand-off file was left behind";
}

TEST_F(RunningPanel, AHandedOverPathBecomesAnItemOfTheShownPage) {
    StartSecondInstance(L"C:\\Tools\\editor.exe");
    ASSERT_NE(m_panel.Store()->ButtonAtCell(1), nullptr) << "the path did not become an item";
    EXPECT_EQ(m_panel.Store()->ButtonAtCell(1)->GetTarget(), L"C:\\Tools\\editor.exe");
}

TEST_F(RunningPanel, AFullPageRefusesAHandedOverPathWithAMessage) {
    for (int i = 0; i < 16; ++i) m_panel.Store()->AddFileItem(L"C:\\f" + std::to_wstring(i) + L".txt");
    lhltest::MessageBoxAnswerer user(IDOK);
    StartSecondInstance(L"C:\\one too many.txt");
    EXPECT_EQ(user.OnlyText(), L"Current Page is full, register fial.Sorry!");
    for (uint32_t cell = 1; cell <= 16; ++cell)
        EXPECT_NE(m_panel.Store()->ButtonAtCell(cell)->GetTarget(), L"C:\\one too many.txt");
}

TEST_F(RunningPanel, APathInQuotesArrivesWithoutThemAndAnyOtherTailWhole) {
    // As "Open with" and a drop on the program's icon give a path with blanks.
    StartSecondInstance(L"\"D:\\Tools\\My Tool.exe\"");
    EXPECT_EQ(m_panel.HandedOverPath(), L"D:\\Tools\\My Tool.exe") << "the quotes stayed on the path";
    EXPECT_EQ(TargetAt(1), L"D:\\Tools\\My Tool.exe");
    StartSecondInstance(L"\"D:\\a b\" \"D:\\c\"");
    EXPECT_EQ(m_panel.HandedOverPath(), L"\"D:\\a b\" \"D:\\c\"") << "two quoted strings are not one path to unwrap";
}

// A path deeper than MAX_PATH arrives whole and its item opens. Wine takes such a path in the
// shell as well; Windows' shell does not, so the item opens by the path's short form, which only
// Windows shows to be needed.
// Opening such an item is not tried here: under Wine the shell's open of a shortcut this deep
// fails and the "clear it?" box would wait for an answer; only Windows can show that it opens.
TEST_F(RunningPanel, ALongPathArrivesWhole) {
    const lhltest::LongPathFile file(DataFolder(), 320);
    const std::wstring link = lhltest::MakeShortcutToRecorder(file.Path() + L" to start.lnk", L"deep start");
    ASSERT_GE(link.size(), 320u);
    StartSecondInstance(link);
    EXPECT_EQ(m_panel.HandedOverPath(), link) << "the path was cut on its way";
    EXPECT_EQ(TargetAt(1), link);
    ::DeleteFileW(fw::FileSystemPath(link).c_str()); // the deep folders go with `file`
}

// Windows reads longPathAware from the program's own manifest; Wine ignores it. What Windows then
// allows (plain paths beyond MAX_PATH once LongPathsEnabled is set) only Windows can show.
TEST(ProgramManifest, TheProgramDeclaresItselfLongPathAware) {
    HMODULE program = ::LoadLibraryExW((BinFolder() + lhltest::kLauncherExe).c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    HRSRC found = ::FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    ASSERT_NE(found, nullptr) << "the program has no manifest";
    const char* text = static_cast<const char*>(::LockResource(::LoadResource(program, found)));
    const std::string manifest(text, ::SizeofResource(program, found));
    ::FreeLibrary(program);
    const size_t settings = manifest.find("<windowsSettings>");
    const size_t aware = manifest.find(
        "<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">true</longPathAware>");
    EXPECT_NE(aware, std::string::npos);
    EXPECT_LT(settings, aware) << "longPathAware is read only inside windowsSettings";
    EXPECT_LT(aware, manifest.find("</windowsSettings>"));
}

// The panel tells of a hot key held elsewhere in a box titled like itself. Two more starts
// hand their paths over while that box is open; both arrive, once each, when it is closed.
TEST_F(RunningPanel, PathsHandedOverWhileABoxTitledLikeThePanelIsOpenArriveOnceItCloses) {
    ASSERT_TRUE(::RegisterHotKey(nullptr, 0x0ACE, MOD_CONTROL | MOD_ALT, 'K'));
    m_panel.Config().Settings().useHotKey = 1;
    const bool boxOpen = HandOverWhileABoxIsOpen([&] { m_panel.ApplyHotKey(HOTKEYF_CONTROL | HOTKEYF_ALT, 'K'); },
                                                 IDOK, {L"C:\\while the box\\first.txt", L"C:\\while the box\\second.txt"});
    ::UnregisterHotKey(nullptr, 0x0ACE);
    ASSERT_TRUE(boxOpen) << "the box was not open while the paths were handed over";

    lhltest::PumpUntil([&] { return !TargetAt(2).empty(); }, 5000);
    EXPECT_EQ(TargetAt(1), L"C:\\while the box\\first.txt") << "a path handed over during the box was lost";
    EXPECT_EQ(TargetAt(2), L"C:\\while the box\\second.txt");
    lhltest::PumpUntil([] { return false; }, 300);
    EXPECT_EQ(TargetAt(3), L"") << "a path was added twice";
    EXPECT_FALSE(lhltest::FileExists(ProgramFolderHandOff())) << "the hand-off file was left behind";
}

// A path that arrives while the user is asked whether to clear the page is no part of what
// the answer clears.
TEST_F(RunningPanel, APathHandedOverDuringTheClearQuestionIsAddedAfterTheAnswer) {
    m_panel.Store()->AddFileItem(L"C:\\old item.txt");
    const bool boxOpen = HandOverWhileABoxIsOpen([&] { m_panel.SendMessage(WM_COMMAND, ID_PAGE_CLEAR_ALL); }, IDYES,
                                                 {L"C:\\arrived meanwhile.txt"});
    ASSERT_TRUE(boxOpen) << "the question was not open while the path was handed over";
    lhltest::PumpUntil([&] { return !TargetAt(1).empty(); }, 5000);
    EXPECT_EQ(TargetAt(1), L"C:\\arrived meanwhile.txt") << "the clear took the path that arrived meanwhile";
    EXPECT_EQ(TargetAt(2), L"");
}

TEST_F(RunningPanel, AHiddenPanelIsShownWhenAPathArrives) {
    m_panel.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    ASSERT_FALSE(m_panel.IsWindowVisible());
    StartSecondInstance(L"C:\\x.txt");
    EXPECT_TRUE(m_panel.IsWindowVisible()) << "the panel stayed hidden";
    EXPECT_TRUE(m_panel.IsShown());
}

TEST_F(RunningPanel, WithoutAPathNothingIsSentAndThePanelIsUnchanged) {
    m_panel.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    StartSecondInstance(L"");
    EXPECT_EQ(m_panel.HandedOverPath(), L"");
    EXPECT_FALSE(m_panel.IsWindowVisible()) << "a start without a path showed the panel";
    EXPECT_FALSE(lhltest::FileExists(ProgramFolderHandOff()));
}

TEST_F(RunningPanel, AnUnwritableProgramFolderHandsOverThroughTheDataFolder) {
    // A folder of the hand-off file's name makes the program folder's file impossible to create.
    ASSERT_TRUE(::CreateDirectoryW(ProgramFolderHandOff().c_str(), nullptr));
    StartSecondInstance(L"E:\\via data folder.doc");
    ::RemoveDirectoryW(ProgramFolderHandOff().c_str());
    EXPECT_EQ(m_panel.HandedOverPath(), L"E:\\via data folder.doc");
    EXPECT_FALSE(lhltest::FileExists(DataFolderHandOff())) << "the data folder's hand-off file was left behind";
}

TEST_F(RunningPanel, EnterAndEscDoNothingAndCloseOnlyHides) {
    m_panel.SendMessage(WM_COMMAND, IDOK);
    m_panel.SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_TRUE(m_panel.IsWindowVisible()) << "Enter or Esc closed the panel";
    m_panel.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_TRUE(::IsWindow(m_panel.m_hWnd)) << "Alt+F4 destroyed the panel";
    EXPECT_FALSE(m_panel.IsWindowVisible());
    EXPECT_FALSE(m_panel.IsShown());
}

TEST_F(RunningPanel, HidingRemembersThePositionWhenAsked) {
    m_panel.Config().Settings().rememberLocation = 1;
    ::SetWindowPos(m_panel.m_hWnd, nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const RECT shown = m_panel.GetWindowRect();
    m_panel.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(::EqualRect(&m_panel.Config().Settings().windowRect, &shown));
}

TEST_F(RunningPanel, ThePanelIsTitledSizedAndPlacedFromItsSettings) {
    EXPECT_EQ(m_panel.GetWindowText(), L"Lanternhop Launcher");
    const RECT rc = m_panel.GetWindowRect();
    const int size = m_panel.Config().Settings().dimension;
    RECT strip{};
    ::GetWindowRect(m_panel.GetDlgItem(1078), &strip);
    EXPECT_EQ(rc.right - rc.left, size);
    EXPECT_EQ(rc.bottom - rc.top, size + (strip.bottom - strip.top) + 2 + 2) << "strip height plus the gaps";
    EXPECT_EQ(strip.bottom, rc.bottom - 2);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(rc.right, work.right - 5) << "default placement is 5 px from the work area's right edge";
    EXPECT_EQ(rc.bottom, work.bottom) << "and on the work area's bottom";
}

class PendingPath : public lhltest::CleanLauncherState {};

TEST_F(PendingPath, TheCommandLinePathIsAddedOnceThePagesAreLoaded) {
    lhltest::WriteTestSettings();
    {
        CLanternhopDlg panel;
        panel.SetPendingPath(L"D:\\first start.txt");
        ASSERT_TRUE(panel.Create());
        ASSERT_NE(panel.Store()->ButtonAtCell(1), nullptr);
        EXPECT_EQ(panel.Store()->ButtonAtCell(1)->GetTarget(), L"D:\\first start.txt");
        for (int i = 0; i < 15; ++i) panel.Store()->AddFileItem(L"C:\\f" + std::to_wstring(i) + L".txt");
        panel.DestroyWindow();
    }
    CLanternhopDlg full;
    full.SetPendingPath(L"D:\\no room.txt");
    lhltest::MessageBoxAnswerer user(IDOK);
    ASSERT_TRUE(full.Create());
    EXPECT_EQ(user.OnlyText(), L"Current Page is full, add fail.");
    full.DestroyWindow();
}

// The panel runs modally in this process, as in the program, and owns the single-instance mutex.
class ModalPanel : public lhltest::CleanLauncherState {
protected:
    void SetUp() override {
        CleanLauncherState::SetUp();
        lhltest::WriteTestSettings();
        m_mutex = ::CreateMutexW(nullptr, TRUE, kProductTitle);
        ASSERT_NE(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << "a launcher is already running";
    }
    void TearDown() override {
        ::ReleaseMutex(m_mutex);
        ::CloseHandle(m_mutex);
        CleanLauncherState::TearDown();
    }
    // The items of the first page as its file holds them.
    static std::vector<std::wstring> SavedTargets() {
        IndexFile index;
        std::vector<PageItems> pages;
        if (!DecodeIndex(lhltest::ReadBytes(DataFolder() + kIndexFileName), index) || index.groups.empty() ||
            DecodePageFile(lhltest::ReadBytes(DataFolder() + index.groups[0].fileName), pages) != PageFileStatus::Read)
            return {};
        std::vector<std::wstring> targets;
        for (const LauncherItem& item : pages.empty() ? PageItems{} : pages[0]) targets.push_back(item.target);
        return targets;
    }

    HANDLE m_mutex = nullptr;
};

// A path arrives while the panel asks whether to clear the page; before the question is answered
// the panel is told to end: by the end of the session (the process ends when the message
// returns) or by another program's WM_CLOSE (the panel ends once the box is closed). Either way
// the path is an item when it ends, and only once.
TEST_F(ModalPanel, APathHandedOverDuringABoxIsAddedWhenThePanelEndsFirst) {
    for (const UINT end : {UINT{WM_ENDSESSION}, UINT{WM_CLOSE}}) {
        const std::wstring path = end == WM_CLOSE ? L"C:\\before close.txt" : L"C:\\before log-off.txt";
        std::vector<std::wstring> atSessionEnd;
        bool boxOpen = false;
        CLanternhopDlg panel;
        panel.SetPendingPath(L"C:\\old item.txt");
        std::thread user([&] {
            HWND shown = nullptr;
            lhltest::PumpUntil([&] { return (shown = FindLauncherPanel()) != nullptr && ::IsWindowVisible(shown); }, 10000);
            ::PostMessageW(shown, WM_COMMAND, ID_PAGE_CLEAR_ALL, 0);
            HWND box = WaitForBoxOf(shown, 10000);
            if (!box) {
                ::PostMessageW(shown, WM_CLOSE, 0, 0);
                return;
            }
            Program second;
            if (second.Start(lhltest::kLauncherExe, path)) second.WaitForExit(kStartTimeout);
            ::SendMessageW(shown, end, TRUE, 0);
            if (end == WM_ENDSESSION) atSessionEnd = SavedTargets();
            boxOpen = ::IsWindowVisible(box) != FALSE;
            ::PostMessageW(box, WM_COMMAND, IDNO, 0);
            if (end == WM_ENDSESSION) ::PostMessageW(shown, WM_CLOSE, 0, 0);
        });
        panel.DoModal();
        user.join();
        ASSERT_TRUE(boxOpen) << "the question was not open while the panel was told to end";
        if (end == WM_ENDSESSION) {
            EXPECT_EQ(atSessionEnd, (std::vector<std::wstring>{L"C:\\old item.txt", path}))
                << "the path waiting for the box was lost with the session";
        }
        EXPECT_EQ(SavedTargets(), (std::vector<std::wstring>{L"C:\\old item.txt", path}))
            << "the path waiting for the box was lost, or added twice, when the panel ended";
        lhltest::EmptyFolder(DataFolder());
        lhltest::WriteTestSettings();
    }
}

// Forty second starts at once, as a script or Explorer with forty files sent in one go makes
// them, while the running instance still builds its panel (a large data set, a slow machine):
// each ends only once the panel took its path, so there are forty items, none twice.
TEST_F(ManySecondStarts, FortyAtOnceAddFortyItemsNoneTwice) {
    constexpr int kStarts = 40;
    std::vector<std::unique_ptr<Program>> starts;
    std::multiset<std::wstring> sent;
    for (int i = 0; i < kStarts; ++i) {
        const std::wstring path = L"C:\\burst\\file " + std::to_wstring(i) + L".txt";
        starts.push_back(std::make_unique<Program>());
        ASSERT_TRUE(starts.back()->Start(lhltest::kLauncherExe, path));
        sent.insert(path);
    }
    lhltest::PumpUntil([] { return false; }, 6000);
    CreatePanel();
    ASSERT_TRUE(lhltest::PumpUntil([&] {
        return std::none_of(starts.begin(), starts.end(), [](const auto& p) { return p->IsRunning(); });
    }, 120000)) << "second starts still running";
    for (const auto& start : starts) EXPECT_EQ(start->ExitCode(), 0u) << "a second start said it failed";
    lhltest::PumpUntil([] { return false; }, 300);
    std::multiset<std::wstring> items;
    for (uint32_t cell = 1; cell <= 49; ++cell)
        if (!TargetAt(cell).empty()) items.insert(TargetAt(cell));
    EXPECT_EQ(items, sent) << items.size() << " items from " << kStarts << " starts";
}

class LauncherProcess : public lhltest::CleanLauncherState {};

TEST_F(LauncherProcess, StartCreatesTheKeyAndFoldersAndExitSavesTheSettings) {
    lhltest::RemoveFolder(DataFolder());
    Program launcher;
    ASSERT_TRUE(launcher.Start(lhltest::kLauncherExe));
    HWND panel = launcher.WaitForPanel(kStartTimeout);
    ASSERT_NE(panel, nullptr) << "the panel did not appear";
    EXPECT_TRUE(lhltest::PumpUntil([&] { return ::IsWindowVisible(panel) != FALSE; }, 5000))
        << "the panel was created but never shown";
    EXPECT_TRUE(lhltest::LauncherRegistryKeyExists()) << "no registry key after start";
    EXPECT_TRUE(lhltest::FolderExists(DataFolder())) << "no data folder";
    EXPECT_TRUE(lhltest::FolderExists(DataFolder() + L"Shortcut"));
    EXPECT_TRUE(lhltest::FolderExists(DataFolder() + L"DesktopBackup"));

    ::PostMessageW(panel, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(lhltest::PumpUntil([&] { return !::IsWindowVisible(panel); }, 5000));
    EXPECT_TRUE(launcher.IsRunning()) << "Alt+F4 ended the program";

    ::PostMessageW(panel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(launcher.WaitForExit(kStartTimeout)) << "WM_CLOSE did not end the program";
    EXPECT_EQ(launcher.ExitCode(), 0u);
    EXPECT_TRUE(lhltest::FileExists(DataFolder() + kConfigFileName)) << "the settings were not saved at exit";
}

TEST_F(LauncherProcess, ASecondInstanceWithoutAPathLeavesTheFirstAlone) {
    Program first, second;
    ASSERT_TRUE(first.Start(lhltest::kLauncherExe));
    HWND panel = first.WaitForPanel(kStartTimeout);
    ASSERT_NE(panel, nullptr);
    const std::vector<uint8_t> settingsBefore = lhltest::ReadBytes(DataFolder() + kConfigFileName);

    ASSERT_TRUE(second.Start(lhltest::kLauncherExe));
    ASSERT_TRUE(second.WaitForExit(kStartTimeout)) << "the second instance kept running";
    EXPECT_TRUE(first.IsRunning());
    EXPECT_EQ(lhltest::ReadBytes(DataFolder() + kConfigFileName), settingsBefore)
        << "the second instance rewrote the running one's settings";

    ::PostMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.WaitForExit(kStartTimeout));
}

TEST_F(LauncherProcess, TheOnlyInstanceLeavesItsHandOffFileForTheNextStart) {
    ::DeleteFileW(ProgramFolderHandOff().c_str());
    Program launcher;
    ASSERT_TRUE(launcher.Start(lhltest::kLauncherExe, L"C:\\only instance.txt"));
    HWND panel = launcher.WaitForPanel(kStartTimeout);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(DecodeHandOff(lhltest::ReadBytes(ProgramFolderHandOff())), L"C:\\only instance.txt");
    ::PostMessageW(panel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(launcher.WaitForExit(kStartTimeout));

    Program next;
    ASSERT_TRUE(next.Start(lhltest::kLauncherExe));
    panel = next.WaitForPanel(kStartTimeout);
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(lhltest::FileExists(ProgramFolderHandOff())) << "the next start did not delete the old file";
    ::PostMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_TRUE(next.WaitForExit(kStartTimeout));
}

// Started from the Run key with an unquoted path, the program runs with the command line as
// written, and the C runtime takes the program name up to the first blank: the tail becomes
// "Launcher.exe" here ("Launcher\\Lanternhop Launcher.exe" for a program folder with a blank).
// That piece of the launcher's own path is no item. Wine, unlike Windows, quotes the program
// name in the command line when it finds the program by searching, so the test names the
// program file and hands over the command line as Windows keeps it.
TEST_F(LauncherProcess, AnUnquotedStartAddsNoPieceOfItsOwnPath) {
    lhltest::WriteTestSettings();
    const std::wstring program = BinFolder() + lhltest::kLauncherExe;
    ASSERT_NE(program.find(L' '), std::wstring::npos);
    for (const std::wstring& commandLine : {program, program.substr(0, program.size() - 4)}) {
        Program launcher;
        ASSERT_TRUE(launcher.StartCommand(commandLine, program));
        HWND panel = launcher.WaitForPanel(kStartTimeout);
        ASSERT_NE(panel, nullptr);
        ::PostMessageW(panel, WM_CLOSE, 0, 0);
        ASSERT_TRUE(launcher.WaitForExit(kStartTimeout));
        EXPECT_FALSE(lhltest::FileExists(ProgramFolderHandOff())) << "the tail was taken as a path: " << commandLine;
    }
    CLanternhopDlg panel;
    ASSERT_TRUE(panel.Create());
    CButtonEx* first = panel.Store()->ButtonAtCell(1);
    EXPECT_TRUE(!first || first->IsEmptyItem()) << "a piece of the program's path became an item: "
                                                << (first ? first->GetTarget() : L"");
    panel.DestroyWindow();
}
