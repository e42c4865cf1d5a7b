// The tray icon, its menu and tip, and the hot key, on a real panel in this process.
#include "MessageBoxAnswerer.h"
#include "PanelHarness.h"
#include "PanelMessages.h"
#include "resource.h"
#include <shellapi.h>
#include <atomic>
#include <thread>

using lhltest::MessageBoxAnswerer;

namespace {

constexpr UINT kTrayIconId = 50265;
const wchar_t kDefaultTip[] = L"Press Alt + D hide/show Lanternhop Launcher.";
const wchar_t kSingleClickTip[] = L"single click on this icon hide/show Lanternhop Launcher.";

// True when this process could take the key itself, that is when nobody holds it.
bool KeyIsFree(UINT modifiers, UINT key) {
    if (!::RegisterHotKey(nullptr, 0x0BAD, modifiers, key)) return false;
    ::UnregisterHotKey(nullptr, 0x0BAD);
    return true;
}

bool TrayIconExists(HWND panel) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof(nid);
    nid.hWnd = panel;
    nid.uID = kTrayIconId;
    return ::Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

void SendKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD vk : keys) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        inputs.push_back(in);
    }
    for (auto it = keys.end(); it != keys.begin();) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = *--it;
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The program a user types in while the panel is hidden. The keyboard hook sees Ctrl twice in
// whichever program has the keys; with the panel gone and nothing else in front, the keys reach
// no program at all, which is no case a user meets.
class OtherProgramWindow {
public:
    OtherProgramWindow() {
        m_hWnd = ::CreateWindowExW(0, L"STATIC", L"another program", WS_POPUP | WS_VISIBLE, 0, 0, 200, 80,
                                   nullptr, nullptr, nullptr, nullptr);
        ::SetForegroundWindow(m_hWnd);
        ::SetFocus(m_hWnd);
    }
    ~OtherProgramWindow() { ::DestroyWindow(m_hWnd); }
    OtherProgramWindow(const OtherProgramWindow&) = delete;
    OtherProgramWindow& operator=(const OtherProgramWindow&) = delete;
    bool HasTheKeys() const { return ::GetFocus() == m_hWnd; }

private:
    HWND m_hWnd = nullptr;
};

class PanelTray : public lhltest::PanelTest {
protected:
    // Opens the panel again on settings with both showing keys as given.
    void ReopenWithKeys(bool hotKey, bool ctrlTwice) {
        ClosePanel();
        lhltest::WriteTestSettings(4, true);
        lhl::LauncherConfig config;
        config.LoadConfig(lhl::kConfigFileName);
        config.Settings().useHotKey = hotKey;
        config.Settings().ctrlTwice = ctrlTwice;
        ASSERT_EQ(config.SaveConfig(lhl::kConfigFileName), 0);
        OpenPanel();
    }
    void Notify(LPARAM mouseMessage) {
        m_panel->SendMessage(lhl::UM_TRAY_NOTIFY, kTrayIconId, mouseMessage);
    }
    // Pumps until the panel's visibility is `shown`, the hot key's message being posted.
    bool SettlesShown(bool shown) {
        return lhltest::PumpUntil([&] { return m_panel->IsShown() == shown; }, 2000);
    }
};

TEST_F(PanelTray, DefaultsRegisterAltDAndSayItInTheTip) {
    ReopenWithKeys(true, true);
    EXPECT_EQ(m_panel->TrayTip(), kDefaultTip);
    EXPECT_EQ(m_panel->HotKeyVk(), 'D');
    EXPECT_EQ(m_panel->HotKeyMods(), 4);
    EXPECT_FALSE(KeyIsFree(MOD_ALT, 'D')) << "the panel does not hold Alt+D";
    EXPECT_TRUE(TrayIconExists(PanelWindow()));

    ::SetForegroundWindow(PanelWindow());
    SendKeys({VK_MENU, 'D'});
    EXPECT_TRUE(SettlesShown(false)) << "Alt+D did not hide the panel";
    SendKeys({VK_MENU, 'D'});
    EXPECT_TRUE(SettlesShown(true)) << "Alt+D did not show the panel again";

    // Ctrl twice reaches the panel through the hook library.
    SendKeys({VK_CONTROL});
    SendKeys({VK_CONTROL});
    EXPECT_TRUE(SettlesShown(false)) << "Ctrl twice did not hide the panel";
    OtherProgramWindow elsewhere;
    ASSERT_TRUE(elsewhere.HasTheKeys());
    SendKeys({VK_CONTROL});
    SendKeys({VK_CONTROL});
    EXPECT_TRUE(SettlesShown(true)) << "Ctrl twice in another window did not show the panel again";

    ClosePanel();
    EXPECT_TRUE(KeyIsFree(MOD_ALT, 'D')) << "the key outlived the panel";
}

TEST_F(PanelTray, WithBothOffAClickTogglesAndADoubleClickTogglesTwice) {
    ReopenWithKeys(false, false);
    EXPECT_EQ(m_panel->TrayTip(), kSingleClickTip);
    EXPECT_TRUE(KeyIsFree(MOD_ALT, 'D'));

    Notify(WM_LBUTTONDOWN);
    EXPECT_FALSE(m_panel->IsShown());
    Notify(WM_LBUTTONUP);
    Notify(WM_LBUTTONDOWN);
    EXPECT_TRUE(m_panel->IsShown());

    Notify(WM_LBUTTONDOWN);
    Notify(WM_LBUTTONUP);
    EXPECT_FALSE(m_panel->IsShown());
    Notify(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(m_panel->IsShown()) << "the double click is a second toggle";
    Notify(WM_MOUSEMOVE);
    EXPECT_TRUE(m_panel->IsShown());
}

TEST_F(PanelTray, AKeyHeldElsewhereIsReportedAndTheOldKeyKeepsWorking) {
    ReopenWithKeys(true, false);
    const std::wstring tipBefore = m_panel->TrayTip();
    ASSERT_TRUE(::RegisterHotKey(nullptr, 0x0ACE, MOD_CONTROL | MOD_ALT, 'K'));
    {
        MessageBoxAnswerer answerer(IDOK);
        Config().Settings().hotKeyName = L"Ctrl + Alt + K";
        m_panel->ApplyHotKey(HOTKEYF_CONTROL | HOTKEYF_ALT, 'K');
        EXPECT_EQ(answerer.OnlyText(), L"Hot key is used, changle fail!");
    }
    ::UnregisterHotKey(nullptr, 0x0ACE);
    EXPECT_FALSE(KeyIsFree(MOD_ALT, 'D')) << "the old key was not registered again";
    EXPECT_EQ(m_panel->HotKeyVk(), 'D');
    EXPECT_EQ(m_panel->TrayTip(), tipBefore);

    // The same key chosen again is left alone: a changed name does not reach the tip.
    Config().Settings().hotKeyName = L"renamed";
    m_panel->ApplyHotKey(HOTKEYF_ALT, 'D');
    EXPECT_EQ(m_panel->TrayTip(), tipBefore);

    Config().Settings().hotKeyName = L"Shift + F9";
    m_panel->ApplyHotKey(HOTKEYF_SHIFT, VK_F9);
    EXPECT_TRUE(KeyIsFree(MOD_ALT, 'D'));
    EXPECT_FALSE(KeyIsFree(MOD_SHIFT, VK_F9));
    EXPECT_EQ(m_panel->TrayTip(), L"Press Shift + F9 hide/show Lanternhop Launcher.");
}

TEST_F(PanelTray, AKeyHeldAtStartUpIsReportedAndTheTipOffersTheClick) {
    ClosePanel();
    lhltest::WriteTestSettings(4, true);
    lhl::LauncherConfig config;
    config.LoadConfig(lhl::kConfigFileName);
    config.Settings().ctrlTwice = 0;
    ASSERT_EQ(config.SaveConfig(lhl::kConfigFileName), 0);
    ASSERT_TRUE(::RegisterHotKey(nullptr, 0x0ACE, MOD_ALT, 'D'));
    {
        MessageBoxAnswerer answerer(IDOK);
        OpenPanel();
        EXPECT_EQ(answerer.OnlyText(), L"Hot key is used, changle fail!");
    }
    ::UnregisterHotKey(nullptr, 0x0ACE);
    EXPECT_EQ(m_panel->TrayTip(), kSingleClickTip);
}

TEST_F(PanelTray, SwitchingTheKeyOffAndOnAgainRegistersItAgain) {
    ReopenWithKeys(true, false);
    Config().Settings().useHotKey = 0;
    m_panel->ApplyHotKey(HOTKEYF_ALT, 'D');
    EXPECT_TRUE(KeyIsFree(MOD_ALT, 'D'));
    EXPECT_EQ(m_panel->HotKeyVk(), 0);

    Config().Settings().useHotKey = 1;
    m_panel->ApplyHotKey(HOTKEYF_ALT, 'D');
    EXPECT_FALSE(KeyIsFree(MOD_ALT, 'D'));
    EXPECT_EQ(m_panel->TrayTip(), kDefaultTip);
}

TEST_F(PanelTray, CtrlTwiceSwitchedOnNamesItInTheTip) {
    ReopenWithKeys(false, false);
    Config().Settings().ctrlTwice = 1;
    m_panel->ApplyCtrlTwice();
    EXPECT_EQ(m_panel->TrayTip(), L"Press Ctrl twice to hide/show Lanternhop Launcher.");
}

TEST_F(PanelTray, TheMenuChecksDockSideAsTheFlagSaysAndOpensOnARightClick) {
    for (int dock : {1, 0}) {
        Config().Settings().dockSide = dock;
        HMENU menu = m_panel->BuildTrayMenu();
        ASSERT_NE(menu, nullptr);
        const UINT state = ::GetMenuState(menu, ID_TRAY_DOCK, MF_BYCOMMAND);
        EXPECT_EQ((state & MF_CHECKED) != 0, dock == 1);
        EXPECT_EQ(::GetMenuDefaultItem(menu, FALSE, 0), static_cast<UINT>(ID_TRAY_ACTIVATE));
        ::DestroyMenu(menu);
    }

    // The menu runs its own loop; a timer inside it looks for the menu window and closes it.
    static bool seen = false;
    seen = false;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND menu = ::FindWindowW(L"#32768", nullptr);
        if (menu && ::IsWindowVisible(menu)) seen = true;
        ::EndMenu();
    });
    Notify(WM_RBUTTONDOWN);
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(seen) << "no menu window appeared";
}

TEST_F(PanelTray, TheIconComesBackWhenTheTaskbarIsCreatedAgain) {
    if (!TrayIconExists(PanelWindow())) GTEST_SKIP() << "no notification area in this session";
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof(nid);
    nid.hWnd = PanelWindow();
    nid.uID = kTrayIconId;
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &nid));
    EXPECT_FALSE(TrayIconExists(PanelWindow()));
    m_panel->SendMessage(::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(TrayIconExists(PanelWindow()));
}

// The user's program for web pages, here the recorder in a folder of its own: what the shell
// hands it is the page the launcher asked to open. Windows shows the user's classes over the
// machine's; Wine's classes root shows only the machine's, so there the prefix's own ".htm" is
// pointed at the reader for the while and then given back its class.
class PageReaderAssociation {
public:
    PageReaderAssociation() {
        ::CreateDirectoryW(Folder().c_str(), nullptr);
        ::CopyFileW((lhltest::BinFolder() + L"lhl_record_run.exe").c_str(), (Folder() + L"reader.exe").c_str(), FALSE);
        const std::wstring command = L"\"" + Folder() + L"reader.exe\" \"%1\"";
        SetDefault(HKEY_CURRENT_USER, L"Software\\Classes\\.htm", kClass);
        SetDefault(HKEY_CURRENT_USER, L"Software\\Classes\\LhlTest.Page\\shell\\open\\command", command);
        m_machineClass = Default(HKEY_CLASSES_ROOT, L".htm");
        m_overlaid = m_machineClass != kClass;
        if (!m_overlaid) return;
        SetDefault(HKEY_CLASSES_ROOT, L".htm", kClass);
        SetDefault(HKEY_CLASSES_ROOT, L"LhlTest.Page\\shell\\open\\command", command);
    }
    ~PageReaderAssociation() {
        if (m_overlaid) {
            SetDefault(HKEY_CLASSES_ROOT, L".htm", m_machineClass);
            ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"LhlTest.Page");
        }
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\.htm");
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\LhlTest.Page");
        lhltest::RemoveFolder(Folder());
    }
    PageReaderAssociation(const PageReaderAssociation&) = delete;
    PageReaderAssociation& operator=(const PageReaderAssociation&) = delete;
    // The command line the reader was started with; empty when it did not run in time.
    std::wstring TakeOpenedLine() {
        const std::wstring record = Folder() + L"ran.txt";
        if (!lhltest::PumpUntil([&] { return lhltest::FileExists(record); }, 20000)) return L"";
        const std::vector<uint8_t> bytes = lhltest::ReadBytes(record);
        ::DeleteFileW(record.c_str());
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    }

private:
    static constexpr const wchar_t* kClass = L"LhlTest.Page";
    static std::wstring Folder() { return lhltest::BinFolder() + L"page reader\\"; }
    static void SetDefault(HKEY root, const wchar_t* key, const std::wstring& value) {
        ::RegSetKeyValueW(root, key, nullptr, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    static std::wstring Default(HKEY root, const wchar_t* key) {
        wchar_t value[260] = {};
        DWORD bytes = sizeof(value) - sizeof(wchar_t);
        if (::RegGetValueW(root, key, nullptr, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) return L"";
        return value;
    }

    std::wstring m_machineClass;
    bool m_overlaid = false;
};

// A manual page beside the program for the time of the test, unless the build put one there.
class ManualPage {
public:
    explicit ManualPage(const std::wstring& name) : m_path(lhltest::BinFolder() + name) {
        m_made = !lhltest::FileExists(m_path);
        if (m_made) lhltest::WriteBytes(m_path, {'<', 'p', '>'});
    }
    ~ManualPage() {
        if (m_made) ::DeleteFileW(m_path.c_str());
    }
    ManualPage(const ManualPage&) = delete;
    ManualPage& operator=(const ManualPage&) = delete;
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
    bool m_made;
};

// "Manual & FAQ" opens the page that ships beside the program, in the interface's language,
// with the user's program for web pages: offline, and never an address of a web site.
TEST_F(PanelTray, TheManualOpensThePageBesideTheProgramInTheActiveLanguage) {
    ManualPage english(L"helpstart.htm");
    ManualPage chinese(L"helpstart_chs.htm");
    PageReaderAssociation reader;
    const struct {
        int languageIndex;
        const ManualPage& page;
    } cases[] = {{2, english}, {1, chinese}};
    for (const auto& c : cases) {
        RestartWith([&](lhl::ConfigSettings& s) { s.languageIndex = c.languageIndex; });
        m_panel->SendMessage(WM_COMMAND, ID_TRAY_MANUAL);
        const std::wstring line = reader.TakeOpenedLine();
        EXPECT_NE(line.find(L"\"" + c.page.Path() + L"\""), std::wstring::npos)
            << "language " << c.languageIndex << " opened: " << (line.empty() ? L"nothing" : line);
    }
}

} // namespace

namespace {

// Plays the user at the options sheet from another thread: the Advanced page, a new hot key, OK.
void ChooseHotKeyInOptions(WORD virtualKey, WORD modifiers, std::atomic<bool>& done) {
    for (int i = 0; i < 500 && !done; ++i, ::Sleep(20)) {
        HWND sheet = ::FindWindowW(L"#32770", L"Options");
        DWORD pid = 0;
        if (sheet) ::GetWindowThreadProcessId(sheet, &pid);
        if (!sheet || pid != ::GetCurrentProcessId() || !::IsWindowVisible(sheet)) continue;
        ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
        auto page = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        ::SendDlgItemMessageW(page, 1029, HKM_SETHOTKEY, MAKEWORD(virtualKey, modifiers), 0);
        ::PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        done = true;
    }
}

} // namespace

TEST_F(PanelTray, ANewHotKeyFromTheOptionsIsRegisteredAndNamedInTheTip) {
    ReopenWithKeys(true, false);
    std::atomic<bool> done{false};
    std::thread user([&] { ChooseHotKeyInOptions(VK_F8, HOTKEYF_CONTROL | HOTKEYF_ALT, done); });
    m_panel->SendMessage(WM_COMMAND, ID_TRAY_OPTIONS);
    user.join();
    ASSERT_TRUE(done) << "the options sheet did not appear";
    EXPECT_FALSE(KeyIsFree(MOD_CONTROL | MOD_ALT, VK_F8)) << "the new key was not registered";
    EXPECT_TRUE(KeyIsFree(MOD_ALT, 'D')) << "the old key was not given up";
    EXPECT_EQ(m_panel->TrayTip(), L"Press Ctrl + Alt + F8 hide/show Lanternhop Launcher.");
    lhl::LauncherConfig saved;
    ASSERT_EQ(saved.LoadConfig(lhl::kConfigFileName), 0);
    EXPECT_EQ(saved.Settings().hotKeyVirtualKey, VK_F8);
}
