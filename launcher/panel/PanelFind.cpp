// Type to find on the panel: which keys reach the query, and which of the panel's own actions
// need the real page back before they run.
#include "LanternhopDlg.h"
#include "PanelMessages.h"

namespace lhl {

namespace {

// The keys that start a query (any character) or open an item (Enter, and Space on a focused
// button).
bool StartsOrOpens(const MSG& msg) {
    if (msg.message == WM_CHAR || msg.message == WM_IME_CHAR) return true;
    const bool key = msg.message == WM_KEYDOWN || msg.message == WM_KEYUP;
    return key && (msg.wParam == VK_RETURN || msg.wParam == VK_SPACE);
}

// A top-level window that can take the keys: shown, enabled, and not one of this panel's own.
bool CanTakeKeys(HWND window, HWND panel) {
    return window && window != panel && window != ::GetDesktopWindow() && ::IsWindowVisible(window) &&
           ::IsWindowEnabled(window) && ::GetAncestor(window, GA_ROOTOWNER) != panel;
}

} // namespace

bool CLanternhopDlg::FindTakesKey(MSG* msg) {
    if (!m_pFind || (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd))) return false;
    return m_pFind->TakeKey(*msg);
}

// Hidden, parked or on its way out, the user cannot see what a key would start: a letter must
// not begin a query, nor Enter or Space open an item there.
bool CLanternhopDlg::IsInSight() const {
    const bool slidingOut = m_bSlidingOut && !m_bSlideDone;
    return m_bVisible && !m_bSlidOut && !slidingOut && ::IsWindowVisible(m_hWnd) && !::IsIconic(m_hWnd);
}

bool CLanternhopDlg::IsKeyOutOfSight(const MSG& msg) const {
    if (!StartsOrOpens(msg) || IsInSight()) return false;
    return msg.hwnd == m_hWnd || ::IsChild(m_hWnd, msg.hwnd);
}

// The window that had the keys before the panel took them, to give them back to.
void CLanternhopDlg::NoteKeysBefore() {
    HWND foreground = ::GetForegroundWindow();
    if (CanTakeKeys(foreground, m_hWnd)) m_hKeysBefore = foreground;
}

// Sliding out, the panel must not keep the keys: they go to the window under the cursor, where
// the user went, else back to the one that had them.
void CLanternhopDlg::GiveKeyboardBack() {
    HWND foreground = ::GetForegroundWindow();
    if (foreground != m_hWnd && ::GetAncestor(foreground, GA_ROOTOWNER) != m_hWnd) return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    HWND under = ::GetAncestor(::WindowFromPoint(cursor), GA_ROOT);
    HWND target = CanTakeKeys(under, m_hWnd) ? under : (CanTakeKeys(m_hKeysBefore, m_hWnd) ? m_hKeysBefore : nullptr);
    if (target) ::SetForegroundWindow(target);
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
