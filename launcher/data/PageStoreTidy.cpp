// Tidying the desktop: the chosen files move into the desktop-backup folder and become items,
// on pages of their own named "Desktop 1", "Desktop 2" and so on where the shown page is taken.
#include "LauncherConfig.h"
#include "PageStore.h"
#include <cwchar>

namespace lhl {

// A new page with the new-page colours, titled "Desktop d", becomes the shown page. False when
// the store holds no more pages.
bool PageStore::ShowNewDesktopPage(int number) {
    m_pConfig->SaveCurrentPageAside();
    wchar_t title[32];
    std::swprintf(title, 32, L"Desktop %d", number);
    m_pConfig->m_page.title = title;
    const uint32_t before = GetPageCount();
    AddPage();
    if (GetPageCount() == before) {
        m_pConfig->RestoreCurrentPage();
        return false;
    }
    SwitchPage(GetPageCount() - 1);
    WriteCurrentIndex();
    return true;
}

void PageStore::TidyDesktop(const std::vector<std::wstring>& paths) {
    int number = 1;
    if (!paths.empty() && !AreButtonsEmpty() && ShowNewDesktopPage(number)) ++number;
    for (const std::wstring& path : paths) {
        const size_t slash = path.find_last_of(L'\\');
        const std::wstring kept = m_pConfig->DesktopBackupFolder() + path.substr(slash == std::wstring::npos ? 0 : slash + 1);
        if (!::MoveFileW(path.c_str(), kept.c_str())) continue;
        if (AddFileItem(kept) == 0) continue;
        if (ShowNewDesktopPage(number) && AddFileItem(kept) == 0) {
            ++number;
            continue;
        }
        // No page can take it: the file goes back where it was rather than vanish from view.
        ::MoveFileW(kept.c_str(), path.c_str());
        break;
    }
}

} // namespace lhl
