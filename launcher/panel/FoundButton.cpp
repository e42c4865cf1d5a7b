#include "FoundButton.h"

namespace lhl {
namespace {

// Clear Icon, Move and the Move To list change or move the item: not from a match.
void GreyItemChanges(HMENU menu) {
    ::EnableMenuItem(menu, ID_ITEM_DELETE, MF_BYCOMMAND | MF_GRAYED);
    ::EnableMenuItem(menu, ID_ITEM_MOVE, MF_BYCOMMAND | MF_GRAYED);
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        if (::GetSubMenu(menu, i)) ::EnableMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | MF_GRAYED);
}

} // namespace

void CFoundButton::SetLit(bool lit) {
    if (m_bHot == lit) return;
    m_bHot = lit;
    if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CFoundButton::DeleteItem() {
    if (m_pOwner) m_pOwner->ClearRealItem(this);
}

void CFoundButton::ShowFoundMenu() {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    HMENU menu = BuildContextMenu();
    GreyItemChanges(menu);
    const UINT command = static_cast<UINT>(
        ::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD, cursor.x, cursor.y, 0, m_hWnd, nullptr));
    ::DestroyMenu(menu);
    if (command) PostMessage(WM_COMMAND, command, 0);
}

bool CFoundButton::OnCommand(WORD id, WORD, HWND) {
    switch (id) {
    case ID_ITEM_RUN: LaunchItem(); break;
    case ID_ITEM_OPEN_FOLDER: OpenContainingFolder(); break;
    case ID_ITEM_PROPERTIES:
        // A file's are the shell's sheet; a text's or an address's are its editor.
        if (GetKind() == kButtonFile) ShowItemProperties();
        else if (m_pOwner) m_pOwner->EditRealItem(this);
        break;
    default: break; // the greyed commands, should one come all the same
    }
    return true;
}

LRESULT CFoundButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_RBUTTONDOWN: {
        ShowFoundMenu();
        const LRESULT result = Default(msg, wParam, lParam);
        if (m_pOwner) m_pOwner->HoverEnded();
        return result;
    }
    case WM_MOUSEMOVE: {
        // Each key hides and shows buttons; a cursor resting on one must not take the lit match.
        if (m_pOwner && !m_pOwner->CursorMoved()) return Default(msg, wParam, lParam);
        const LRESULT result = CButtonEx::WindowProc(msg, wParam, lParam);
        if (m_bHot && m_pOwner) m_pOwner->HoverStarted(this);
        return result;
    }
    case WM_MOUSELEAVE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_ENABLE: {
        // These end the hover and put the page's text in the strip.
        const LRESULT result = CButtonEx::WindowProc(msg, wParam, lParam);
        if (m_pOwner) m_pOwner->HoverEnded();
        return result;
    }
    default:
        return CButtonEx::WindowProc(msg, wParam, lParam);
    }
}

} // namespace lhl
