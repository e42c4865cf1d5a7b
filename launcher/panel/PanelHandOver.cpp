// Paths that a second start of the program hands over to the running panel.
#include "HandOff.h"
#include "LanguageTable.h"
#include "LanguageKeys.h"
#include "LanternhopDlg.h"
#include "PanelMessages.h"

namespace lhl {

// The text leaves the file at once, even when it cannot be added yet: the next instance may
// delete and rewrite the file as soon as this message returns.
LRESULT CLanternhopDlg::OnFileHandedOver() {
    std::wstring path = HandOffFile(m_config.ProgramFolder(), m_config.DataFolder()).Take();
    if (!path.empty()) {
        m_strHandedOverPath = path;
        m_handedOverPaths.push_back(std::move(path));
        // The sender waits for this message; a full page's box must not keep it waiting.
        if (::InSendMessage()) {
            PostMessage(UM_HANDOVER);
            return 0;
        }
    }
    AddHandedOverPaths();
    return 0;
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
    if (!m_handedOverPaths.empty()) PostMessage(UM_HANDOVER);
}

} // namespace lhl
