// What is dropped on the panel: files through WM_DROPFILES, text through OLE drag and drop.
#include "DropTarget.h"
#include "ItemDialogs.h"
#include "ItemText.h"
#include "LanternhopDlg.h"
#include "Module.h"
#include "PathLimit.h"
#include "ShellFolder.h"
#include "ShortcutFiles.h"
#include <shellapi.h>

namespace lhl {
namespace {

// The dropped path, whole, however long; empty when it cannot be had whole.
std::wstring DroppedPath(HDROP drop, UINT index) {
    const UINT length = ::DragQueryFileW(drop, index, nullptr, 0);
    if (length == 0 || length > kMaxPathChars) return {};
    std::wstring path(length, L'\0');
    if (::DragQueryFileW(drop, index, path.data(), length + 1) != length) return {};
    return path;
}

} // namespace

void CLanternhopDlg::RegisterDropTarget() { m_dropTarget.Register(m_hWnd); }

// `info` is only a number until the drop target vouches for it: another program may have sent
// the message with any value.
LRESULT CLanternhopDlg::OnDropMessage(UINT message, const COleDropInfo* info) {
    if (!m_dropTarget.IsForwarding(info)) return 0;
    // A disabled panel has a dialog open and takes nothing until it is closed.
    if (!::IsWindowEnabled(m_hWnd)) return message == UM_DROP_EX ? -1 : 0;
    switch (message) {
    case UM_DROP_OVER: return OnDragOverText(info);
    case UM_DROP: return OnDropText(info);
    case UM_DROP_EX: return static_cast<LONG>(OnDropTextEx(info)); // -1 stays -1
    default: return 0; // enter and leave need nothing
    }
}

DWORD CLanternhopDlg::OnDragOverText(const COleDropInfo* info) {
    return info && DataOffersText(info->m_pDataObject) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

DWORD CLanternhopDlg::OnDropTextEx(const COleDropInfo*) {
    return static_cast<DWORD>(-1); // the plain drop decides
}

BOOL CLanternhopDlg::OnDropText(const COleDropInfo* info) {
    std::wstring text;
    if (!info || !DataOffersText(info->m_pDataObject, &text)) return FALSE;
    CTextClipboardDlg dialog(&m_config, this);
    dialog.SetText(text);
    if (dialog.DoModal() == IDOK && !dialog.GetText().empty() && m_pPageStore)
        m_pPageStore->AddTextItemAt(info->m_point.x, info->m_point.y, dialog.GetTitle(), dialog.GetText());
    return TRUE;
}

void CLanternhopDlg::OnDropFiles(HDROP drop) {
    if (!::IsWindowEnabled(m_hWnd)) {
        ::DragFinish(drop); // a dialog of the panel is open
        return;
    }
    // Only the first of several files is taken.
    const std::wstring path = m_pPageStore ? DroppedPath(drop, 0) : std::wstring();
    if (!path.empty()) {
        POINT point{};
        ::GetCursorPos(&point);
        ::ScreenToClient(m_hWnd, &point);
        AddDroppedFile(path, point);
    }
    ::DragFinish(drop);
}

// A dropped shortcut moves into the shortcut folder when the user asked for that. It moves
// before the item is added, so the item names the file where it is: a shortcut that cannot move
// (a Public Desktop shortcut of a standard user, a file held open) stays an item where it was.
// The name in the folder is the first free one: a name may still belong to a copy kept so that
// an undo can open its item again. A shortcut already in the folder is the launcher's own.
void CLanternhopDlg::AddDroppedFile(const std::wstring& path, POINT point) {
    const size_t dot = path.find_last_of(L'.');
    const bool shortcut = dot != std::wstring::npos && path.substr(dot + 1) == L"lnk";
    const std::wstring& folder = m_config.ShortcutFolder();
    if (!m_config.Settings().removeShortcutFiles || !shortcut || IsInFolder(path, folder) ||
        !m_pPageStore->HasCellAt(point.x, point.y)) {
        m_pPageStore->AddFileItemAt(point.x, point.y, path);
        return;
    }
    // Asked before the shortcut moves: while the question is open the shortcut stays where the
    // user had it, so nothing (a crash, a log-off) can leave it in the folder with no item.
    CButtonEx* there = m_pPageStore->ButtonAt(point.x, point.y);
    if (there && there->GetTarget() != path && !there->AgreeToReplace()) return;
    const size_t slash = path.find_last_of(L'\\');
    const size_t start = slash == std::wstring::npos ? 0 : slash + 1;
    const std::wstring target = FreePathIn(fw::WithTrailingBackslash(folder), path.substr(start, dot - start), L".lnk");
    const bool moved = MoveWithoutOverwrite(path, target);
    const bool added = m_pPageStore->AddFileItemAt(point.x, point.y, moved ? target : path);
    if (there) there->KeepAsking();
    if (moved && added) m_pPageStore->NoteShortcutMovedIn(target, path);
    else if (moved) ReturnShortcut(target, path); // no item names it
}

} // namespace lhl
