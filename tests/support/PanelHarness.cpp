#include "PanelHarness.h"
#include "Dpi.h"
#include "PanelMessages.h"

namespace lhltest {

void WriteTestSettings(int unitsPerRow, bool showingKeys) {
    lhl::LauncherConfig config;
    config.Settings().unitsPerRow = unitsPerRow;
    config.Settings().soundEnabled = 0;
    config.Settings().useHotKey = showingKeys ? 1 : 0;
    config.Settings().ctrlTwice = showingKeys ? 1 : 0;
    config.Settings().newPageWizard = 0; // New Page adds at once unless a test asks for the wizard
    ASSERT_EQ(config.SaveConfig(lhl::kConfigFileName), 0);
}

void PanelTest::SetUp() {
    CleanLauncherState::SetUp();
    WriteTestSettings();
    OpenPanel();
}

void PanelTest::TearDown() {
    ClosePanel();
    CleanLauncherState::TearDown();
}

void PanelTest::OpenPanel() {
    m_panel = std::make_unique<lhl::CLanternhopDlg>();
    ASSERT_TRUE(m_panel->Create()) << "the panel could not be created";
    ASSERT_NE(m_panel->Store(), nullptr) << "the first show did not build the pages";
    Settle();
}

void PanelTest::ClosePanel() {
    if (!m_panel) return;
    Settle();
    m_panel->DestroyWindow();
    m_panel.reset();
}

void PanelTest::Restart() {
    ClosePanel();
    OpenPanel();
}

void PanelTest::EmptyData() {
    EmptyFolder(DataFolder());
    DeleteLauncherRegistryKey();
    WriteTestSettings();
}

void PanelTest::SwitchTo(uint32_t number) {
    ::SendMessageW(PanelWindow(), lhl::UM_SWITCH_PAGE, number, 0);
    Settle();
}

POINT PanelTest::CellCentre(uint32_t cell) {
    const RECT& rc = Store().Cells().at(cell - 1).rect;
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

void PanelTest::ChangeDpi(UINT dpi, int left, int top) {
    const RECT now = m_panel->GetWindowRect();
    const UINT before = m_panel->Dpi();
    const int width = ::MulDiv(now.right - now.left, static_cast<int>(dpi), static_cast<int>(before));
    const int height = ::MulDiv(now.bottom - now.top, static_cast<int>(dpi), static_cast<int>(before));
    RECT suggested{left, top, left + width, top + height};
    ::SendMessageW(PanelWindow(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    Settle();
}

void PanelTest::Settle() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

namespace {

void SetKeyDown(WORD key, bool down) {
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    state[key] = down ? 0x80 : 0;
    ::SetKeyboardState(state);
}

LPARAM KeyFlags(WORD key, bool release) {
    const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    return 1 | scan | (release ? (LPARAM{3} << 30) : 0);
}

} // namespace

void PanelTest::PressKey(WORD key, bool ctrl) {
    HWND panel = PanelWindow();
    if (ctrl) {
        SetKeyDown(VK_CONTROL, true);
        ::PostMessageW(panel, WM_KEYDOWN, VK_CONTROL, KeyFlags(VK_CONTROL, false));
    }
    ::PostMessageW(panel, WM_KEYDOWN, key, KeyFlags(key, false));
    ::PostMessageW(panel, WM_KEYUP, key, KeyFlags(key, true));
    SettleThroughPanelLoop();
    if (ctrl) {
        ::PostMessageW(panel, WM_KEYUP, VK_CONTROL, KeyFlags(VK_CONTROL, true));
        SettleThroughPanelLoop();
        SetKeyDown(VK_CONTROL, false);
    }
}

void PanelTest::SettleThroughPanelLoop() {
    MSG msg;
    while (m_panel && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (m_panel->PreTranslateMessage(&msg)) continue;
        if (::IsDialogMessageW(PanelWindow(), &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

std::wstring PanelTest::MakeFile(const std::wstring& name) {
    const std::wstring folder = DataFolder() + L"items\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    WriteBytes(folder + name, {'x'});
    return folder + name;
}

BareStore::BareStore(int gridLeft, int gridTop, int gridRight, int gridBottom) {
    m_parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr, nullptr, nullptr);
    m_config = std::make_unique<lhl::LauncherConfig>();
    m_config->Settings().unitsPerRow = 4;
    m_config->Settings().soundEnabled = 0;
    m_config->SetPanelWindow(m_parent);
    m_firstTab.Create(L"1", WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 20}, m_parent, 1001);
    m_store = std::make_unique<lhl::PageStore>(m_config.get());
    m_store->SetParentWindow(m_parent);
    // The parent sits at the screen's origin, so screen and client coordinates agree.
    ::SetWindowPos(m_parent, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT endMarker{250, 300, 300, 320};
    m_store->SetTabWidth(endMarker);
    m_store->InitFirstPage(&m_firstTab, RECT{0, 0, 50, 20}, endMarker);
    m_store->BuildGrid(gridLeft, gridTop, gridRight, gridBottom);
}

BareStore::~BareStore() {
    m_store.reset();
    m_firstTab.DestroyWindow();
    ::DestroyWindow(m_parent);
}

} // namespace lhltest
