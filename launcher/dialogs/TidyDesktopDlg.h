#pragma once
// "Tidy Desktop": the items on the user's desktop, all checked, and on request the ones kept in
// the desktop-backup folder. It only chooses; the page store moves the files.
#include "Dialog.h"
#include "ListCtrl.h"
#include <string>
#include <vector>

namespace lhl {

class LauncherConfig;
class PageStore;

enum : UINT {
    IDD_TIDY_DESKTOP = 161,
    IDC_TIDY_GROUP = 1069,
    IDC_TIDY_LIST = 1070,
    IDC_TIDY = 1066,
    IDC_TIDY_RESTORE = 1071,
};

// The text between the last backslash and the last dot: empty for most folders.
std::wstring TidyTitle(const std::wstring& path);

class CTidyDesktopDlg : public fw::CDialog {
public:
    CTidyDesktopDlg(LauncherConfig* config, PageStore* store, fw::CWnd* parent)
        : fw::CDialog(IDD_TIDY_DESKTOP, parent), m_pConfig(config), m_pStore(store) {}
    // Receives the chosen paths on "Tidy"; left as it is by "Cancel".
    void SetResultList(std::vector<std::wstring>* result) { m_pResult = result; }

    BOOL OnInitDialog() override;
    // Esc and the close box do not close it: "Cancel" does.
    void OnCancel() override {}
    fw::CListCtrl& List() { return m_list; }

protected:
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void ApplyLanguage();
    void ScanDesktop();
    void AddRow(const std::wstring& path, bool checked);
    bool IsListed(const std::wstring& path) const;
    void Restore();
    void RestoreFolder(const std::wstring& folder, const std::wstring& desktop);
    void Tidy();

    LauncherConfig* m_pConfig;
    PageStore* m_pStore;
    std::vector<std::wstring>* m_pResult = nullptr;
    std::vector<std::wstring> m_desktopPaths;
    std::wstring m_strTitleColumn = L"Title";
    std::wstring m_strPathColumn = L"Path";
    fw::CListCtrl m_list;
};

} // namespace lhl
