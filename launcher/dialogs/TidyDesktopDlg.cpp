#include "TidyDesktopDlg.h"
#include "ComInit.h"
#include "Dpi.h"
#include "LanguageTable.h"
#include "LauncherConfig.h"
#include "ShellFolder.h"
#include <shlobj.h>

namespace lhl {
namespace {

constexpr uint32_t kKeyCancel = 7;
constexpr uint32_t kKeyTitleColumn = 2;
constexpr uint32_t kKeyPathColumn = 3;
// 96-DPI widths of the list's columns.
constexpr int kTitleColumnWidth = 150;
constexpr int kPathColumnWidth = 500;

// The file-system paths of the desktop's items; virtual ones (the computer, the network) have
// none and hidden ones are not asked for.
std::vector<std::wstring> DesktopItemPaths(HWND owner) {
    std::vector<std::wstring> paths;
    fw::ComScope com;
    fw::ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.Put()))) return paths;
    fw::ComPtr<IEnumIDList> items;
    if (desktop->EnumObjects(owner, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.Put()) != S_OK || !items) return paths;
    LPITEMIDLIST item = nullptr;
    while (items->Next(1, &item, nullptr) == S_OK) {
        wchar_t path[MAX_PATH] = {};
        if (::SHGetPathFromIDListW(item, path) && path[0]) paths.emplace_back(path);
        ::CoTaskMemFree(item);
    }
    return paths;
}

} // namespace

std::wstring TidyTitle(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    const size_t start = slash == std::wstring::npos ? 0 : slash + 1;
    const size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || dot < start) return {};
    return path.substr(start, dot - start);
}

BOOL CTidyDesktopDlg::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_TIDY_LIST, this);
    ApplyLanguage();
    m_desktopPaths = DesktopItemPaths(m_hWnd);
    m_list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    const UINT dpi = fw::WindowDpi(m_hWnd);
    m_list.InsertColumn(0, m_strTitleColumn, fw::Scale(kTitleColumnWidth, dpi));
    m_list.InsertColumn(1, m_strPathColumn, fw::Scale(kPathColumnWidth, dpi));
    for (const std::wstring& path : m_desktopPaths) AddRow(path, true);
    return TRUE;
}

void CTidyDesktopDlg::ApplyLanguage() {
    LanguageTable* table = m_pConfig ? m_pConfig->GetLanguageTable() : nullptr;
    if (!table || !table->IsActive()) return;
    table->LoadSection(kSectionTidyDesktop);
    const auto put = [&](HWND window, uint32_t key) {
        std::wstring text;
        table->Lookup(text, kSectionTidyDesktop, key);
        if (!text.empty()) ::SetWindowTextW(window, text.c_str());
    };
    put(m_hWnd, 1);
    for (UINT id : {IDC_TIDY_GROUP, IDC_TIDY, IDC_TIDY_RESTORE}) put(GetDlgItem(id), id);
    put(GetDlgItem(IDOK), kKeyCancel);
    m_strTitleColumn = table->TextOr(kSectionTidyDesktop, kKeyTitleColumn, m_strTitleColumn.c_str());
    m_strPathColumn = table->TextOr(kSectionTidyDesktop, kKeyPathColumn, m_strPathColumn.c_str());
}

// New rows go to the top, so the list shows the scan in reverse.
void CTidyDesktopDlg::AddRow(const std::wstring& path, bool checked) {
    const std::wstring title = TidyTitle(path);
    if (title.empty()) return;
    const int row = m_list.InsertItem(0, title);
    if (row < 0) return;
    m_list.SetItemText(row, 1, path);
    m_list.SetCheck(row, checked);
}

void CTidyDesktopDlg::Restore() {
    if (!m_pConfig) return;
    const std::wstring desktop = fw::ShellFolderPath(CSIDL_DESKTOP);
    RestoreFolder(m_pConfig->DesktopBackupFolder(), desktop);
}

// Every entry of the backup folder and its sub-folders, listed under the desktop path it would
// have there; entries whose names begin with a dot are left out.
void CTidyDesktopDlg::RestoreFolder(const std::wstring& folder, const std::wstring& desktop) {
    const std::wstring base = folder.empty() || folder.back() == L'\\' ? folder : folder + L'\\';
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((base + L"*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name.empty() || name[0] == L'.') continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RestoreFolder(base + name, desktop);
        const std::wstring target = desktop + name;
        if (::lstrcmpiW((base + name).c_str(), target.c_str()) == 0 || IsListed(target)) continue;
        AddRow(target, false);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

// Restore may be pressed again, and a kept file may share a desktop item's name: one row each.
bool CTidyDesktopDlg::IsListed(const std::wstring& path) const {
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        if (::lstrcmpiW(m_list.GetItemText(row, 1).c_str(), path.c_str()) == 0) return true;
    return false;
}

void CTidyDesktopDlg::Tidy() {
    std::vector<std::wstring> chosen;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        if (m_list.IsSelected(row) || m_list.GetCheck(row)) chosen.push_back(m_list.GetItemText(row, 1));
    if (m_pResult) m_pResult->insert(m_pResult->end(), chosen.begin(), chosen.end());
    EndDialog(IDOK);
}

bool CTidyDesktopDlg::OnCommand(WORD id, WORD code, HWND control) {
    if (code == BN_CLICKED || code == 0) {
        switch (id) {
        case IDC_TIDY: Tidy(); return true;
        case IDC_TIDY_RESTORE: Restore(); return true;
        case IDOK: EndDialog(IDOK); return true; // "Cancel": nothing chosen
        case IDCANCEL: return true;
        default: break;
        }
    }
    return fw::CDialog::OnCommand(id, code, control);
}

} // namespace lhl
