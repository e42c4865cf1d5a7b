// Paths that a second start of the program hands over to the running panel.
#include "HandOff.h"
#include "LanguageTable.h"
#include "LanguageKeys.h"
#include "LanternhopDlg.h"
#include "PanelMessages.h"

namespace lhl {

// The text leaves the file at once, even when it cannot be added yet: the next instance may
// delete and rewrite the file as soon as this message returns. Only the instance whose turn it
// is sends this message, so the file is read nowhere else: the panel's own resumption leaves it
// alone, or it could take (or delete) the next instance's file while that one is writing it.
LRESULT CLanternhopDlg::OnFileHandedOver(WPARAM origin) {
    if (origin == kHandOverResume) {
        AddHandedOverPaths();
        return 0;
    }
    // An ending panel (its mark is gone) takes nothing: what it took now could be added nowhere.
    // The second start then finds no panel and becomes the running instance itself.
    if (!m_pPageStore || !::GetPropW(m_hWnd, kPanelProperty)) return 0;
    std::wstring path = HandOffFile(m_config.ProgramFolder(), m_config.DataFolder()).Take();
    if (path.empty()) return 0;
    m_strHandedOverPath = path;
    m_handedOverPaths.push_back(std::move(path));
    // The sender waits for this message; a full page's box must not keep it waiting.
    if (::InSendMessage()) PostMessage(UM_HANDOVER, kHandOverResume);
    else AddHandedOverPaths();
    return kHandOverTaken;
}

// Paths wait while the pages are not built yet and while a message box or dialog of the panel
// is open, which disables the panel; they follow in order once it is free (WM_ENABLE).
void CLanternhopDlg::AddHandedOverPaths() {
    while (!m_handedOverPaths.empty() && m_pPageStore && ::IsWindowEnabled(m_hWnd)) {
        // Out of the queue before it is added, so a nested call never adds it twice.
        const std::wstring path = std::move(m_handedOverPaths.front());
        m_handedOverPaths.pop_front();
        if (!m_bVisible) ToggleVisible(false);
        if (m_pPageStore->AddFileItem(path) == 1)
            ::MessageBoxW(m_hWnd, TextOf(&m_language, texts::kPageFullRegisterFail).c_str(), kProductTitle, MB_OK);
    }
}

// Posted rather than done here: the box or dialog that enabled the panel is still closing.
void CLanternhopDlg::ResumeHandOver() {
    if (!m_handedOverPaths.empty()) PostMessage(UM_HANDOVER, kHandOverResume);
}

// The panel ends (Exit, WM_CLOSE from another program, the end of the session) while paths wait
// for a box or dialog to close: the posted resumption would never run, so they are added now.
// No box can be shown any more; a path that finds the page full is refused as it would be then.
void CLanternhopDlg::AddWaitingPathsBeforeEnd() {
    while (!m_handedOverPaths.empty() && m_pPageStore) {
        const std::wstring path = std::move(m_handedOverPaths.front());
        m_handedOverPaths.pop_front();
        m_pPageStore->AddFileItem(path);
    }
}

} // namespace lhl
