#pragma once
// The options: a sheet with the General page, which edits a copy of the settings that only OK
// stores, and the Advanced page, which writes most of its values into the settings at once.
#include "CommonControls.h"
#include "PropertySheet.h"
#include <functional>
#include <string>

namespace lhl {

class LauncherConfig;

enum : UINT {
    IDD_OPTIONS_BASIC = 152,
    IDD_OPTIONS_ADVANCED = 151,
    // General page
    IDC_OPT_RUN_AT_STARTUP = 1006,
    IDC_OPT_REMOVE_SHORTCUTS = 1012,
    IDC_OPT_REMEMBER_LOCATION = 1015,
    IDC_OPT_SOUND = 1016,
    IDC_OPT_AUTO_HIDE = 1017,
    IDC_OPT_SHELL_MENU = 1018,
    IDC_OPT_NEW_PAGE_WIZARD = 1019,
    IDC_OPT_CHANGE_BACKGROUND = 1041,
    IDC_OPT_REVERSE_TAB = 1042,
    IDC_OPT_BACKGROUND = 1043,
    IDC_OPT_BACKGROUND_PATH = 1075,
    IDC_OPT_BACKGROUND_BROWSE = 1076,
    // Advanced page
    IDC_OPT_USE_HOTKEY = 1015,
    IDC_OPT_HOTKEY = 1029,
    IDC_OPT_CTRL_TWICE = 1038,
    IDC_OPT_ANIMATE = 1073,
    IDC_OPT_ALPHA = 1039,
    IDC_OPT_ALPHA_LABEL = 1040,
    IDC_OPT_UNITS = 1035,
    IDC_OPT_UNITS_LABEL = 1036,
    IDC_OPT_DIMENSION = 1037,
    IDC_OPT_DIMENSION_LABEL = 1041,
    IDC_OPT_UNITS_HIDDEN = 1044,
    IDC_OPT_LANGUAGE = 1047,
    IDC_OPT_SHOW_HIDE_GROUP = 1048,
    IDC_OPT_LANGUAGE_CAPTION = 1049,
    IDC_OPT_APPEARANCE_GROUP = 1050,
    IDC_OPT_UNITS_CAPTION = 1051,
    IDC_OPT_DIMENSION_CAPTION = 1052,
};

constexpr int kMaxBackgroundPathChars = 2048;
constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run\\";
constexpr const wchar_t* kRunValue = L"Lanternhop Launcher";

struct OptionsSnapshot {
    int runAtStartup = 0;
    int removeShortcuts = 0;
    int rememberLocation = 0;
    int sound = 0;
    int autoHide = 0;
    int newPageWizard = 0;
    int shellMenu = 0;
    int changeBackgroundOnTab = 0;
    int reverseTabOrder = 0;
    int animate = 0;
    int backgroundOn = 0;
    std::wstring backgroundPath;
};

// The start-up value as Windows keeps it; empty when there is none.
std::wstring ReadRunAtStartup();
// What the start-up value holds when it is on: this program's own path, in quotes.
std::wstring RunAtStartupCommand();
// The percentage the transparency label shows for an alpha: 255 is 0%, 10 is 96%.
int TransparencyPercent(int alpha);

class CBasicExPage : public fw::CPropertyPage {
public:
    CBasicExPage(LauncherConfig* config, OptionsSnapshot* snapshot)
        : fw::CPropertyPage(IDD_OPTIONS_BASIC), m_pConfig(config), m_pSnapshot(snapshot) {}
    BOOL OnInitDialog() override;

protected:
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void EnableBackgroundControls();
    void ChooseBackground();
    bool Checked(int id) const;
    void Check(int id, int value);

    LauncherConfig* m_pConfig;
    OptionsSnapshot* m_pSnapshot;
};

class CAdvancedPageOpt : public fw::CPropertyPage {
public:
    CAdvancedPageOpt(LauncherConfig* config, OptionsSnapshot* snapshot)
        : fw::CPropertyPage(IDD_OPTIONS_ADVANCED), m_pConfig(config), m_pSnapshot(snapshot) {}
    ~CAdvancedPageOpt() override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    // How many items a grid of that side would leave out of view; the page names them and asks
    // before a smaller grid is kept.
    void SetItemsBeyondGrid(std::function<size_t(int units)> count) { m_countBeyond = std::move(count); }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void OnSliderMoved(HWND slider);
    void PreviewTransparency(int alpha);
    void OnLanguageChosen();
    void EnableTransparency(bool enable);
    void ShowItemsBeyond(int units);
    void AskBeforeHidingItems();
    std::wstring TextOf(uint32_t section, uint32_t key, const wchar_t* english) const;
    void SetLabel(int id, const wchar_t* format, int a, int b = 0);
    bool Checked(int id) const;

    LauncherConfig* m_pConfig;
    OptionsSnapshot* m_pSnapshot;
    fw::CHotKeyCtrl m_hotKey;
    fw::CSliderCtrl m_alpha;
    fw::CSliderCtrl m_units;
    fw::CSliderCtrl m_dimension;
    fw::CComboBox m_language;
    HMODULE m_hUser32 = nullptr;
    int m_nAlphaBefore = 255;
    bool m_bReady = false;
    std::function<size_t(int)> m_countBeyond;
    int m_nUnitsAtStart = 0;
    int m_nDimensionAtStart = 0;
};

class COptPropertySht : public fw::CPropertySheet {
public:
    COptPropertySht(LauncherConfig* config, const std::wstring& caption);
    BOOL OnInitDialog() override;
    // Stores the snapshot into the settings, the start-up value, the Explorer handler keys, and
    // saves the settings. Returns 1.
    int Apply();
    const OptionsSnapshot& Snapshot() const { return m_snapshot; }
    CBasicExPage& General() { return m_general; }
    CAdvancedPageOpt& Advanced() { return m_advanced; }

private:
    void LoadSnapshot();
    void PlaceButtons();
    void CentreOnScreen();
    void WriteRunAtStartup() const;
    void WriteShellMenuKeys() const;

    LauncherConfig* m_pConfig;
    OptionsSnapshot m_snapshot;
    CBasicExPage m_general;
    CAdvancedPageOpt m_advanced;
    std::wstring m_strGeneralTitle;
    std::wstring m_strAdvancedTitle;
};

} // namespace lhl
