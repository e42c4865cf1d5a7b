// The options sheet driven as a user would: boxes clicked, sliders moved, the sheet closed with
// OK or Cancel; and what OK leaves in the settings and the registry.
#include "LanguageTable.h"
#include "LauncherConfig.h"
#include "MessageBoxAnswerer.h"
#include "OptionsSheet.h"
#include "RegKey.h"
#include "TestSupport.h"

using namespace lhl;

namespace {

constexpr const wchar_t* kFileHandlerKey = L"*\\shellex\\ContextMenuHandlers\\1LHLauncher\\";
constexpr const wchar_t* kFolderHandlerKey = L"Directory\\shellex\\ContextMenuHandlers\\1LHLauncher\\";

bool KeyExists(HKEY root, const wchar_t* name) {
    fw::CRegKey key;
    return key.Open(root, name, KEY_READ) == ERROR_SUCCESS;
}

bool HasDefaultValue(const wchar_t* name) {
    fw::CRegKey key;
    std::wstring value;
    return key.Open(HKEY_CLASSES_ROOT, name, KEY_READ) == ERROR_SUCCESS &&
           key.QueryStringValue(L"", value) == ERROR_SUCCESS && !value.empty();
}

void DeleteRunValue() {
    fw::CRegKey run;
    if (run.Open(HKEY_CURRENT_USER, kRunKey) == ERROR_SUCCESS) run.DeleteValue(kRunValue);
}

class Options : public lhltest::CleanLauncherState {
protected:
    void SetUp() override {
        CleanLauncherState::SetUp();
        DeleteRunValue();
        m_config.SetLanguageTable(&m_table);
    }
    void TearDown() override {
        DeleteRunValue();
        CleanLauncherState::TearDown();
    }
    // A fresh sheet on the settings, shown modeless with the wanted page in front.
    void Open(int page = 0) {
        m_sheet = std::make_unique<COptPropertySht>(&m_config, L"Options");
        ASSERT_TRUE(m_sheet->Create());
        ::SendMessageW(m_sheet->m_hWnd, PSM_SETCURSEL, static_cast<WPARAM>(page), 0);
    }
    void Close(bool ok) {
        ::SendMessageW(m_sheet->m_hWnd, PSM_PRESSBUTTON, ok ? PSBTN_OK : PSBTN_CANCEL, 0);
        ASSERT_TRUE(m_sheet->Closed());
        if (m_sheet->Result() == IDOK) m_sheet->Apply();
    }
    HWND General() const { return m_sheet->General().m_hWnd; }
    HWND Advanced() const { return m_sheet->Advanced().m_hWnd; }
    static void Click(HWND page, int id) { ::SendMessageW(::GetDlgItem(page, id), BM_CLICK, 0, 0); }
    static bool IsChecked(HWND page, int id) { return ::IsDlgButtonChecked(page, id) == BST_CHECKED; }
    static std::wstring Text(HWND page, int id) {
        wchar_t text[64] = {};
        ::GetDlgItemTextW(page, id, text, 64);
        return text;
    }
    static void MoveSlider(HWND page, int id, int pos) {
        HWND slider = ::GetDlgItem(page, id);
        ::SendMessageW(slider, TBM_SETPOS, TRUE, pos);
        ::SendMessageW(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, pos), reinterpret_cast<LPARAM>(slider));
    }

    LanguageTable m_table;
    LauncherConfig m_config;
    std::unique_ptr<COptPropertySht> m_sheet;
};

} // namespace

TEST_F(Options, RunAtStartupIsWrittenOnOkDeletedWhenClearedAndUntouchedOnCancel) {
    Open();
    Click(General(), IDC_OPT_RUN_AT_STARTUP);
    Close(true);
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    // Quoted: Windows would otherwise take the blanks of the program's folder as an argument.
    const std::wstring self = L"\"" + std::wstring(path) + L"\"";
    EXPECT_EQ(ReadRunAtStartup(), self);

    Open();
    EXPECT_TRUE(IsChecked(General(), IDC_OPT_RUN_AT_STARTUP)) << "the box does not show the value";
    Click(General(), IDC_OPT_RUN_AT_STARTUP);
    Close(false);
    EXPECT_EQ(ReadRunAtStartup(), self) << "Cancel touched the value";

    Open();
    Click(General(), IDC_OPT_RUN_AT_STARTUP);
    Close(true);
    EXPECT_EQ(ReadRunAtStartup(), L"");
}

TEST_F(Options, AnUnquotedValueOfAnEarlierVersionCountsAsOnAndOkQuotesIt) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    {
        fw::CRegKey run;
        ASSERT_EQ(run.Create(HKEY_CURRENT_USER, kRunKey), ERROR_SUCCESS);
        run.SetStringValue(kRunValue, path);
    }
    Open();
    EXPECT_TRUE(IsChecked(General(), IDC_OPT_RUN_AT_STARTUP)) << "an unquoted value did not count as on";
    Close(true);
    EXPECT_EQ(ReadRunAtStartup(), L"\"" + std::wstring(path) + L"\"");
}

TEST_F(Options, ABackgroundPictureTurnsTheTabSwitchColourOffAndBack) {
    m_config.Settings().useBackgroundImage = 0;
    m_config.Settings().changeBackgroundOnSwitch = 1;
    Open();
    HWND change = ::GetDlgItem(General(), IDC_OPT_CHANGE_BACKGROUND);
    EXPECT_TRUE(::IsWindowEnabled(change));
    EXPECT_TRUE(IsChecked(General(), IDC_OPT_CHANGE_BACKGROUND));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(General(), IDC_OPT_BACKGROUND_PATH)));

    Click(General(), IDC_OPT_BACKGROUND);
    EXPECT_FALSE(::IsWindowEnabled(change));
    EXPECT_FALSE(IsChecked(General(), IDC_OPT_CHANGE_BACKGROUND));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(General(), IDC_OPT_BACKGROUND_PATH)));

    Click(General(), IDC_OPT_BACKGROUND);
    EXPECT_TRUE(::IsWindowEnabled(change));
    EXPECT_FALSE(IsChecked(General(), IDC_OPT_CHANGE_BACKGROUND)) << "it came back checked";
    Close(true);
    EXPECT_EQ(m_config.Settings().changeBackgroundOnSwitch, 0);
    EXPECT_EQ(m_config.Settings().useBackgroundImage, 0);
}

TEST_F(Options, TheBackgroundPathTakes2048CharactersAndATypedPathIsKept) {
    Open();
    HWND edit = ::GetDlgItem(General(), IDC_OPT_BACKGROUND_PATH);
    ::SetWindowTextW(edit, L"");
    const std::wstring typed(2049, L'p');
    ::SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(typed.c_str()));
    EXPECT_EQ(::GetWindowTextLengthW(edit), 2048);
    ::SetWindowTextW(edit, L"C:\\pictures\\calm.bmp");
    Close(true);
    EXPECT_EQ(m_config.Settings().backgroundImage, L"C:\\pictures\\calm.bmp");
}

TEST_F(Options, WithTheShellMenuOffBothHandlerKeysStayWithoutADefaultValue) {
    const bool hadFile = KeyExists(HKEY_CLASSES_ROOT, kFileHandlerKey);
    const bool hadFolder = KeyExists(HKEY_CLASSES_ROOT, kFolderHandlerKey);
    m_config.Settings().shellContextMenu = 1;
    Open();
    Close(true);
    EXPECT_TRUE(HasDefaultValue(kFileHandlerKey));
    EXPECT_TRUE(HasDefaultValue(kFolderHandlerKey));

    Open();
    Click(General(), IDC_OPT_SHELL_MENU);
    Close(true);
    EXPECT_EQ(m_config.Settings().shellContextMenu, 0);
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kFileHandlerKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kFolderHandlerKey));
    EXPECT_FALSE(HasDefaultValue(kFileHandlerKey));
    EXPECT_FALSE(HasDefaultValue(kFolderHandlerKey));
    if (!hadFile) ::RegDeleteKeyW(HKEY_CLASSES_ROOT, kFileHandlerKey);
    if (!hadFolder) ::RegDeleteKeyW(HKEY_CLASSES_ROOT, kFolderHandlerKey);
}

TEST_F(Options, TheSlidersShowTheClampedAlphaAndTheScreenBoundDimension) {
    m_config.Settings().transparency = 5;
    Open(1);
    HWND alpha = ::GetDlgItem(Advanced(), IDC_OPT_ALPHA);
    EXPECT_EQ(::SendMessageW(alpha, TBM_GETPOS, 0, 0), 10);
    EXPECT_EQ(Text(Advanced(), IDC_OPT_ALPHA_LABEL), L"96%");
    HWND dimension = ::GetDlgItem(Advanced(), IDC_OPT_DIMENSION);
    const int screen = std::min(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(::SendMessageW(dimension, TBM_GETRANGEMIN, 0, 0), screen / 3);
    EXPECT_EQ(::SendMessageW(dimension, TBM_GETRANGEMAX, 0, 0), screen);
    Close(false);

    m_config.Settings().transparency = 300;
    Open(1);
    EXPECT_EQ(::SendMessageW(::GetDlgItem(Advanced(), IDC_OPT_ALPHA), TBM_GETPOS, 0, 0), 226);
    EXPECT_EQ(Text(Advanced(), IDC_OPT_ALPHA_LABEL), L"11%");
    const int unitsBefore = m_config.Settings().unitsPerRow;
    MoveSlider(Advanced(), IDC_OPT_UNITS, 7);
    EXPECT_EQ(Text(Advanced(), IDC_OPT_UNITS_LABEL), L"7 * 7");
    EXPECT_EQ(m_config.Settings().unitsPerRow, 7) << "the slider writes at once";
    Close(false);
    EXPECT_EQ(m_config.Settings().unitsPerRow, unitsBefore) << "Cancel kept the grid size it tried";
    EXPECT_EQ(TransparencyPercent(255), 0);
}

// Items stored beyond a 5 x 5 grid (cells 26 to 30) while the panel shows 4 x 4: a grid made
// larger hides none of them that were in view, so only a lowered one is questioned.
TEST_F(Options, OnlyALoweredGridAsksBeforeItIsKept) {
    for (int from : {4, 6}) {
        const int to = 5;
        m_config.Settings().unitsPerRow = from;
        Open(1);
        m_sheet->Advanced().SetItemsBeyondGrid([](int units) { return units < 6 ? size_t{5} : size_t{0}; });
        MoveSlider(Advanced(), IDC_OPT_UNITS, to);
        lhltest::MessageBoxAnswerer user(IDNO);
        Close(true);
        if (from < to) {
            EXPECT_EQ(user.Count(), 0u) << "a larger grid was asked about: " << (user.Count() ? user.OnlyText() : L"");
            EXPECT_EQ(m_config.Settings().unitsPerRow, to) << "the larger grid was not kept";
        } else {
            ASSERT_EQ(user.Count(), 1u) << "a lowered grid that hides items was kept unasked";
            EXPECT_EQ(m_config.Settings().unitsPerRow, from) << "No kept the lowered grid";
        }
    }
}

TEST_F(Options, ADimensionBeyondThisMonitorSurvivesTheOtherSlidersAndCancel) {
    const int screen = std::min(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    const int stored = screen + 300; // kept from a larger monitor
    m_config.Settings().dimension = stored;
    Open(1);
    HWND dimension = ::GetDlgItem(Advanced(), IDC_OPT_DIMENSION);
    EXPECT_EQ(::SendMessageW(dimension, TBM_GETRANGEMAX, 0, 0), stored);
    EXPECT_EQ(::SendMessageW(dimension, TBM_GETPOS, 0, 0), stored);
    MoveSlider(Advanced(), IDC_OPT_ALPHA, 120);
    MoveSlider(Advanced(), IDC_OPT_UNITS, 6);
    EXPECT_EQ(m_config.Settings().dimension, stored) << "another slider rewrote the dimension";
    EXPECT_EQ(Text(Advanced(), IDC_OPT_DIMENSION_LABEL), std::to_wstring(stored));
    Close(true);
    EXPECT_EQ(m_config.Settings().dimension, stored);

    Open(1);
    MoveSlider(Advanced(), IDC_OPT_DIMENSION, screen / 2);
    EXPECT_EQ(m_config.Settings().dimension, screen / 2) << "the dimension slider writes at once";
    EXPECT_EQ(Text(Advanced(), IDC_OPT_DIMENSION_LABEL), std::to_wstring(screen / 2));
    Close(false);
    EXPECT_EQ(m_config.Settings().dimension, stored) << "Cancel kept the dimension it tried";
}

TEST_F(Options, TheTransparencySliderPreviewsOnThePanelOnlyWhenNotAnimating) {
    HWND panel = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, L"STATIC", L"panel", WS_POPUP | WS_VISIBLE, 0, 0,
                                   50, 50, nullptr, nullptr, nullptr, nullptr);
    ::SetLayeredWindowAttributes(panel, 0, 200, LWA_ALPHA);
    m_config.SetPanelWindow(panel);
    const auto panelAlpha = [panel] {
        BYTE alpha = 0;
        DWORD flags = 0;
        ::GetLayeredWindowAttributes(panel, nullptr, &alpha, &flags);
        return static_cast<int>(alpha);
    };
    m_config.Settings().animate = 1;
    Open(1);
    MoveSlider(Advanced(), IDC_OPT_ALPHA, 100);
    EXPECT_EQ(Text(Advanced(), IDC_OPT_ALPHA_LABEL), L"60%");
    EXPECT_EQ(panelAlpha(), 200) << "the preview ran while animating";
    Close(false);

    m_config.Settings().animate = 0;
    Open(1);
    MoveSlider(Advanced(), IDC_OPT_ALPHA, 120);
    EXPECT_EQ(panelAlpha(), 120);
    Close(false);
    ::DestroyWindow(panel);
}

TEST_F(Options, DefaultOnANonChineseSystemTurnsTheTableOff) {
    if (::GetSystemDefaultLangID() == 2052) GTEST_SKIP() << "this system's default language is Chinese";
    m_table.SetLanguage(LanguageTable::kChinese);
    Open(1);
    HWND list = ::GetDlgItem(Advanced(), IDC_OPT_LANGUAGE);
    EXPECT_EQ(::SendMessageW(list, CB_GETCOUNT, 0, 0), 3);
    ::SendMessageW(list, CB_SETCURSEL, 0, 0);
    ::SendMessageW(Advanced(), WM_COMMAND, MAKEWPARAM(IDC_OPT_LANGUAGE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_FALSE(m_table.IsActive());
    EXPECT_EQ(m_config.Settings().languageIndex, 0);
    ::SendMessageW(list, CB_SETCURSEL, 1, 0);
    ::SendMessageW(Advanced(), WM_COMMAND, MAKEWPARAM(IDC_OPT_LANGUAGE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(m_table.Language(), LanguageTable::kChinese);
    Close(false);
}

TEST_F(Options, ClearingUseHotKeyDisablesTheControlAndSticksThroughCancel) {
    Open(1);
    HWND control = ::GetDlgItem(Advanced(), IDC_OPT_HOTKEY);
    EXPECT_TRUE(::IsWindowEnabled(control));
    Click(Advanced(), IDC_OPT_USE_HOTKEY);
    EXPECT_FALSE(::IsWindowEnabled(control));
    Close(false);
    EXPECT_EQ(m_config.Settings().useHotKey, 0);
}

TEST_F(Options, OkStoresTheChosenHotKeyWithItsName) {
    Open(1);
    ::SendDlgItemMessageW(Advanced(), IDC_OPT_HOTKEY, HKM_SETHOTKEY, MAKEWORD(VK_F9, HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);
    Click(Advanced(), IDC_OPT_ANIMATE);
    Close(true);
    EXPECT_EQ(m_config.Settings().hotKeyVirtualKey, VK_F9);
    EXPECT_EQ(m_config.Settings().hotKeyModifiers, HOTKEYF_CONTROL | HOTKEYF_SHIFT);
    EXPECT_EQ(m_config.Settings().hotKeyName, L"Ctrl + Shift + F9");
    EXPECT_EQ(m_config.Settings().animate, 1);
    LauncherConfig saved;
    ASSERT_EQ(saved.LoadConfig(kConfigFileName), 0);
    EXPECT_EQ(saved.Settings().hotKeyVirtualKey, VK_F9) << "OK did not save the settings";
}
