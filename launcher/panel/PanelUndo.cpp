// Taking back the last destructive change: Ctrl+Z on the panel, and the page menu's first entry,
// which names what it would take back.
#include "LanternhopDlg.h"
#include "UndoTexts.h"
#include "resource.h"

namespace lhl {

// Unlike the page keys, which act on release, Ctrl+Z acts when pressed, as it does in editors:
// Ctrl is still down then. The repeats of a held key undo nothing more.
bool CLanternhopDlg::IsUndoKey(const MSG& msg) {
    constexpr LPARAM kRepeat = 1 << 30; // the key was already down
    return msg.message == WM_KEYDOWN && msg.wParam == 'Z' && (msg.lParam & kRepeat) == 0 &&
           ::GetKeyState(VK_CONTROL) < 0 && ::GetKeyState(VK_MENU) >= 0;
}

void CLanternhopDlg::AddUndoEntry(HMENU popup) {
    const UndoStep* last = m_pPageStore ? m_pPageStore->LastUndoStep() : nullptr;
    const std::wstring text = UndoMenuText(last, &m_language) + L"\tCtrl+Z";
    ::InsertMenuW(popup, 0, MF_BYPOSITION | MF_STRING | (last ? MF_ENABLED : MF_GRAYED), ID_PAGE_UNDO, text.c_str());
    ::InsertMenuW(popup, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

void CLanternhopDlg::UndoLastChange() {
    if (m_pPageStore && !BringOpenDialogForward()) m_pPageStore->Undo();
}

} // namespace lhl
