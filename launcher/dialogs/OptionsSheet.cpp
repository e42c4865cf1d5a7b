#include "OptionsSheet.h"
#include "LanguageTable.h"
#include "LauncherConfig.h"
#include "Placement.h"
#include "RegKey.h"

namespace lhl {
namespace {

// The Explorer context-menu handler keys; the extension's registration creates them too.
constexpr const wchar_t* kHandlerKeys[] = {L"*\\shellex\\ContextMenuHandlers\\1LHLauncher\\",
                                           L"Directory\\shellex\\ContextMenuHandlers\\1LHLauncher\\"};
constexpr const wchar_t* kExtensionClsid = L"{10846745-3ECC-4DD9-BB13-73744926CA86}";
constexpr uint32_t kKeyGeneralTitle = 2;
constexpr uint32_t kKeyAdvancedTitle = 1;

void MoveRightBy(HWND sheet, int id, int by) {
    HWND button = ::GetDlgItem(sheet, id);
    if (!button) return;
    RECT rc{};
    ::GetWindowRect(button, &rc);
    ::MapWindowPoints(HWND_DESKTOP, sheet, reinterpret_cast<POINT*>(&rc), 2);
    ::SetWindowPos(button, nullptr, rc.left + by, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

std::wstring ReadRunAtStartup() {
    fw::CRegKey run;
    std::wstring value;
    if (run.Open(HKEY_CURRENT_USER, kRunKey, KEY_READ) == ERROR_SUCCESS) run.QueryStringValue(kRunValue, value);
    return value.substr(0, MAX_PATH);
}

// Quoted, because the program folder and the program's name hold blanks: unquoted, Windows
// starts the program with the rest of its own path as the command-line tail. A value written
// unquoted by an earlier version still counts as on, and the next OK writes it quoted.
std::wstring RunAtStartupCommand() {
    std::wstring self(32768, L'\0');
    self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    return L"\"" + self + L"\"";
}

int TransparencyPercent(int alpha) {
    const float share = static_cast<float>(255 - alpha) / 255.0f * 100.0f;
    return static_cast<int>(share + 0.1f);
}

COptPropertySht::COptPropertySht(LauncherConfig* config, const std::wstring& caption)
    : fw::CPropertySheet(caption), m_pConfig(config), m_general(config, &m_snapshot), m_advanced(config, &m_snapshot) {
    LoadSnapshot();
    if (LanguageTable* table = config->GetLanguageTable(); table && table->IsActive()) {
        m_strGeneralTitle = table->TextOr(kSectionOptionsBasic, kKeyGeneralTitle, L"");
        m_strAdvancedTitle = table->TextOr(kSectionOptionsAdvanced, kKeyAdvancedTitle, L"");
    }
    m_general.SetTitle(m_strGeneralTitle);
    m_advanced.SetTitle(m_strAdvancedTitle);
    AddPage(&m_general);
    AddPage(&m_advanced);
}

void COptPropertySht::LoadSnapshot() {
    const ConfigSettings& s = m_pConfig->Settings();
    m_snapshot.runAtStartup = ReadRunAtStartup().empty() ? 0 : 1;
    m_snapshot.removeShortcuts = s.removeShortcutFiles;
    m_snapshot.rememberLocation = s.rememberLocation;
    m_snapshot.sound = s.soundEnabled;
    m_snapshot.autoHide = s.autoHide ? 1 : 0;
    m_snapshot.newPageWizard = s.newPageWizard;
    m_snapshot.shellMenu = s.shellContextMenu;
    m_snapshot.changeBackgroundOnTab = s.changeBackgroundOnSwitch;
    m_snapshot.reverseTabOrder = s.reverseTabOrder;
    m_snapshot.animate = s.animate;
    m_snapshot.backgroundOn = s.useBackgroundImage;
    m_snapshot.backgroundPath = s.backgroundImage;
}

// No Help and no Apply: OK and Cancel take the places at the right edge, in line with the tabs.
void COptPropertySht::PlaceButtons() {
    HWND tabs = PropSheet_GetTabControl(m_hWnd);
    HWND cancel = ::GetDlgItem(m_hWnd, IDCANCEL);
    if (!tabs || !cancel) return;
    RECT tabRect{}, cancelRect{};
    ::GetWindowRect(tabs, &tabRect);
    ::GetWindowRect(cancel, &cancelRect);
    const int shift = tabRect.right - cancelRect.right;
    for (int id : {IDOK, IDCANCEL}) MoveRightBy(m_hWnd, id, shift);
}

BOOL COptPropertySht::OnInitDialog() {
    ::ShowWindow(::GetDlgItem(m_hWnd, IDHELP), SW_HIDE);
    ::ShowWindow(::GetDlgItem(m_hWnd, 0x3021), SW_HIDE);
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    PlaceButtons();
    // Chinese button texts only with the Chinese table, not with a table that is merely unset.
    LanguageTable* table = m_pConfig->GetLanguageTable();
    const bool chinese = table && table->Language() == LanguageTable::kChinese;
    ::SetDlgItemTextW(m_hWnd, IDOK, chinese ? L"\u786E\u5B9A" : L"Ok");
    ::SetDlgItemTextW(m_hWnd, IDCANCEL, chinese ? L"\u53D6\u6D88" : L"Cancel");
    CentreOnScreen();
    // Opened from the tray while the panel is hidden, nothing else brings the sheet forward.
    ::SetForegroundWindow(m_hWnd);
    return TRUE;
}

// Opened from the tray, the panel that owns the sheet may be hidden: it centres on the work area
// of the panel's monitor.
void COptPropertySht::CentreOnScreen() {
    const RECT rc = GetWindowRect();
    const RECT area = MonitorOfWindow(m_pConfig->PanelWindow()).work;
    const int x = area.left + ((area.right - area.left) - (rc.right - rc.left)) / 2;
    const int y = area.top + ((area.bottom - area.top) - (rc.bottom - rc.top)) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int COptPropertySht::Apply() {
    ConfigSettings& s = m_pConfig->Settings();
    s.removeShortcutFiles = m_snapshot.removeShortcuts;
    s.rememberLocation = m_snapshot.rememberLocation;
    s.soundEnabled = m_snapshot.sound;
    s.autoHide = m_snapshot.autoHide != 0;
    s.newPageWizard = m_snapshot.newPageWizard;
    s.shellContextMenu = m_snapshot.shellMenu;
    s.changeBackgroundOnSwitch = m_snapshot.changeBackgroundOnTab;
    s.reverseTabOrder = m_snapshot.reverseTabOrder;
    s.animate = m_snapshot.animate;
    s.useBackgroundImage = m_snapshot.backgroundOn;
    s.backgroundImage = m_snapshot.backgroundPath;
    WriteRunAtStartup();
    WriteShellMenuKeys();
    m_pConfig->SaveConfig(kConfigFileName);
    return 1;
}

void COptPropertySht::WriteRunAtStartup() const {
    fw::CRegKey run;
    if (run.Open(HKEY_CURRENT_USER, kRunKey) != ERROR_SUCCESS) return;
    if (!m_snapshot.runAtStartup) {
        run.DeleteValue(kRunValue);
        return;
    }
    run.SetStringValue(kRunValue, RunAtStartupCommand());
}

void COptPropertySht::WriteShellMenuKeys() const {
    for (const wchar_t* name : kHandlerKeys) {
        fw::CRegKey key;
        if (m_snapshot.shellMenu) {
            if (key.Open(HKEY_CLASSES_ROOT, name) != ERROR_SUCCESS && key.Create(HKEY_CLASSES_ROOT, name) != ERROR_SUCCESS)
                continue;
            key.SetStringValue(L"", kExtensionClsid);
        } else if (key.Open(HKEY_CLASSES_ROOT, name) == ERROR_SUCCESS) {
            key.DeleteValue(L"");
        }
    }
}

} // namespace lhl
