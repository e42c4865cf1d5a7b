// Type to find on the panel: which keys reach the query, and which of the panel's own actions
// need the real page back before they run.
#include "LanternhopDlg.h"
#include "PanelMessages.h"

namespace lhl {

bool CLanternhopDlg::FindTakesKey(MSG* msg) {
    if (!m_pFind || (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd))) return false;
    return m_pFind->TakeKey(*msg);
}

// Saving rebuilds a page's records from its buttons, and switching, moving, adding and the
// menus work on the shown page's buttons: none of them may meet the find view. The query ends
// first, so a drop, a hand-over or a command lands on the page that was shown.
void CLanternhopDlg::EndFindBefore(UINT msg, WPARAM wParam) {
    if (!IsFinding()) return;
    switch (msg) {
    case UM_SWITCH_PAGE:
    case UM_SAVE_PAGE:
    case UM_MOVE_ITEM:
    case UM_REBUILD_BUTTONS:
    case UM_HANDOVER:
    case UM_DROP_ENTER:
    case UM_DROP_OVER:
    case UM_DROP:
    case UM_DROP_EX:
    case WM_DROPFILES:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        m_pFind->End();
        break;
    case WM_COMMAND:
        // A match's own click opens it; every other command is the menus'.
        if (!m_pFind->HoldsButtonId(LOWORD(wParam))) m_pFind->End();
        break;
    default:
        break;
    }
}

} // namespace lhl
