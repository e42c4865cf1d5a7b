// The General page: check boxes over the sheet's copy of the settings, and the background
// picture, which turns the tab-switch background off while it is chosen.
#include "DialogLanguage.h"
#include "LanguageKeys.h"
#include "ItemDialogs.h"
#include "LanguageTable.h"
#include "LauncherConfig.h"
#include "OptionsSheet.h"
#include <commdlg.h>
#include <vector>

namespace lhl {

bool CBasicExPage::Checked(int id) const {
    return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
}

void CBasicExPage::Check(int id, int value) {
    ::CheckDlgButton(m_hWnd, id, value ? BST_CHECKED : BST_UNCHECKED);
}

BOOL CBasicExPage::OnInitDialog() {
    const ConfigSettings& s = m_pConfig->Settings();
    const OptionsSnapshot& o = *m_pSnapshot;
    Check(IDC_OPT_RUN_AT_STARTUP, ReadRunAtStartup().empty() ? 0 : 1);
    Check(IDC_OPT_REMOVE_SHORTCUTS, s.removeShortcutFiles);
    Check(IDC_OPT_REMEMBER_LOCATION, s.rememberLocation);
    Check(IDC_OPT_SOUND, s.soundEnabled);
    Check(IDC_OPT_AUTO_HIDE, o.autoHide);
    Check(IDC_OPT_SHELL_MENU, o.shellMenu);
    Check(IDC_OPT_NEW_PAGE_WIZARD, o.newPageWizard);
    Check(IDC_OPT_CHANGE_BACKGROUND, o.changeBackgroundOnTab);
    Check(IDC_OPT_REVERSE_TAB, o.reverseTabOrder);
    Check(IDC_OPT_BACKGROUND, o.backgroundOn);
    ::SendDlgItemMessageW(m_hWnd, IDC_OPT_BACKGROUND_PATH, EM_LIMITTEXT, kMaxBackgroundPathChars, 0);
    const std::wstring path = o.backgroundPath.empty() ? L"default.bmp" : o.backgroundPath;
    ::SetDlgItemTextW(m_hWnd, IDC_OPT_BACKGROUND_PATH, path.substr(0, kMaxBackgroundPathChars).c_str());
    EnableBackgroundControls();
    ApplyDialogLanguage(m_hWnd, m_pConfig->GetLanguageTable(), kSectionOptionsBasic);
    return TRUE;
}

// A background picture and the tab-switch background colour exclude each other.
void CBasicExPage::EnableBackgroundControls() {
    const bool picture = Checked(IDC_OPT_BACKGROUND);
    ::EnableWindow(GetDlgItem(IDC_OPT_BACKGROUND_PATH), picture);
    ::EnableWindow(GetDlgItem(IDC_OPT_BACKGROUND_BROWSE), picture);
    ::EnableWindow(GetDlgItem(IDC_OPT_CHANGE_BACKGROUND), !picture);
    if (picture) {
        Check(IDC_OPT_CHANGE_BACKGROUND, 0);
        m_pSnapshot->changeBackgroundOnTab = 0;
    }
}

// The picker opens where the current picture lies and lists every kind the panel can show.
void CBasicExPage::ChooseBackground() {
    std::vector<wchar_t> file(kMaxBackgroundPathChars + 1, L'\0');
    const std::wstring current = ControlText(m_hWnd, IDC_OPT_BACKGROUND_PATH);
    const size_t slash = current.find_last_of(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : current.substr(0, slash);
    OPENFILENAMEW open{};
    open.lStructSize = sizeof(open);
    open.hwndOwner = m_hWnd;
    LanguageTable* table = m_pConfig->GetLanguageTable();
    // Pairs of nul-ended strings, one more nul after the last pair.
    const std::wstring filter = TextOf(table, texts::kPicturesFilter) +
                                std::wstring(L"\0*.bmp;*.jpg;*.jpeg;*.png;*.gif\0", 32) +
                                TextOf(table, texts::kAllFilesFilter) + std::wstring(L"\0*.*\0", 6);
    const std::wstring title = TextOf(table, texts::kOpenImage);
    open.lpstrFilter = filter.c_str();
    open.lpstrFile = file.data();
    open.nMaxFile = static_cast<DWORD>(file.size());
    open.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    open.lpstrTitle = title.c_str();
    open.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_EXPLORER;
    if (::GetOpenFileNameW(&open)) ::SetDlgItemTextW(m_hWnd, IDC_OPT_BACKGROUND_PATH, file.data());
    m_pSnapshot->backgroundPath = ControlText(m_hWnd, IDC_OPT_BACKGROUND_PATH);
}

bool CBasicExPage::OnCommand(WORD id, WORD code, HWND control) {
    OptionsSnapshot& o = *m_pSnapshot;
    const auto flag = [this](int box) { return Checked(box) ? 1 : 0; };
    if (code == EN_CHANGE && id == IDC_OPT_BACKGROUND_PATH) {
        o.backgroundPath = ControlText(m_hWnd, IDC_OPT_BACKGROUND_PATH);
        return true;
    }
    if (code != BN_CLICKED) return fw::CPropertyPage::OnCommand(id, code, control);
    switch (id) {
    case IDC_OPT_RUN_AT_STARTUP: o.runAtStartup = flag(id); return true;
    case IDC_OPT_REMOVE_SHORTCUTS: o.removeShortcuts = flag(id); return true;
    case IDC_OPT_REMEMBER_LOCATION: o.rememberLocation = flag(id); return true;
    case IDC_OPT_SOUND: o.sound = flag(id); return true;
    case IDC_OPT_AUTO_HIDE: o.autoHide = flag(id); return true;
    case IDC_OPT_SHELL_MENU: o.shellMenu = flag(id); return true;
    case IDC_OPT_NEW_PAGE_WIZARD: o.newPageWizard = flag(id); return true;
    case IDC_OPT_CHANGE_BACKGROUND: o.changeBackgroundOnTab = flag(id); return true;
    case IDC_OPT_REVERSE_TAB: o.reverseTabOrder = flag(id); return true;
    case IDC_OPT_BACKGROUND:
        o.backgroundOn = flag(id);
        EnableBackgroundControls();
        return true;
    case IDC_OPT_BACKGROUND_BROWSE: ChooseBackground(); return true;
    case IDOK:
    case IDCANCEL: return true;
    default: return fw::CPropertyPage::OnCommand(id, code, control);
    }
}

} // namespace lhl
