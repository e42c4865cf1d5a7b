// The item button's context menu and its commands: Run, Open Containing Folder, Clear Icon,
// Move (dragging a frame to another cell), Move To (another page) and Properties.
#include "ButtonEx.h"
#include "LanguageTable.h"
#include "LauncherConfig.h"
#include "PanelMessages.h"
#include "RectTracker.h"

namespace lhl {
namespace {

constexpr UINT kMoveToFirst = 40000;
constexpr UINT kMoveToEnd = 40100;

struct MenuLabels {
    std::wstring run = L"Run", folder = L"Open Containing Folder", clear = L"Clear Icon", move = L"Move",
                 moveTo = L"Move To", properties = L"Propeties";
};

MenuLabels LabelsFor(LanguageTable* table) {
    MenuLabels labels;
    if (!table || !table->IsActive()) return labels;
    std::wstring* fields[] = {&labels.run, &labels.folder, &labels.clear, &labels.move, &labels.moveTo, &labels.properties};
    for (uint32_t key = 1; key <= 6; ++key) {
        std::wstring text;
        table->Lookup(text, kSectionItemMenu, key);
        if (!text.empty()) *fields[key - 1] = text;
    }
    return labels;
}

} // namespace

HMENU CButtonEx::BuildContextMenu() {
    const MenuLabels labels = LabelsFor(m_pConfig ? m_pConfig->GetLanguageTable() : nullptr);
    HMENU menu = ::CreatePopupMenu();
    HMENU pages = ::CreatePopupMenu();
    if (m_pConfig) {
        const std::vector<std::wstring>& titles = m_pConfig->m_pageTitles;
        for (size_t i = 0; i < titles.size() && i < kMoveToEnd - kMoveToFirst; ++i) {
            const bool shown = i == m_pConfig->m_shownPage;
            ::AppendMenuW(pages, MF_STRING | (shown ? MF_GRAYED | MF_DISABLED : 0), kMoveToFirst + i, titles[i].c_str());
        }
        m_pConfig->m_moveSourcePage = m_pConfig->m_shownPage;
    }
    ::AppendMenuW(menu, MF_STRING, ID_ITEM_RUN, labels.run.c_str());
    if (m_nKind == kButtonFile) ::AppendMenuW(menu, MF_STRING, ID_ITEM_OPEN_FOLDER, labels.folder.c_str());
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, ID_ITEM_DELETE, labels.clear.c_str());
    ::AppendMenuW(menu, MF_STRING, ID_ITEM_MOVE, labels.move.c_str());
    ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(pages), labels.moveTo.c_str());
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, ID_ITEM_PROPERTIES, labels.properties.c_str());
    ::SetMenuDefaultItem(menu, ID_ITEM_RUN, FALSE);
    return menu;
}

void CButtonEx::ShowContextMenu() {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    HMENU menu = BuildContextMenu();
    const UINT command = static_cast<UINT>(
        ::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD, cursor.x, cursor.y, 0, m_hWnd, nullptr));
    ::DestroyMenu(menu);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    // Run after the menu has gone.
    if (command) PostMessage(WM_COMMAND, command, 0);
}

bool CButtonEx::OnCommand(WORD id, WORD, HWND) {
    if (id >= kMoveToFirst && id < kMoveToEnd) {
        MoveTo(id - kMoveToFirst);
        return true;
    }
    switch (id) {
    case ID_ITEM_DELETE: DeleteItem(); break;
    case ID_ITEM_PROPERTIES: ShowItemProperties(); break;
    case ID_ITEM_MOVE: Move(); break;
    case ID_ITEM_RUN: LaunchItem(); break;
    case ID_ITEM_OPEN_FOLDER: OpenContainingFolder(); break;
    default: break;
    }
    return true;
}

// The item travels in the settings record; the panel places it on the page, or gives it back.
void CButtonEx::MoveTo(int page) {
    if (!m_pConfig || IsEmptyItem()) return;
    m_pConfig->m_movingTitle = m_strTitle;
    m_pConfig->m_movingTarget = m_strTarget;
    m_pConfig->m_movingKind = static_cast<uint32_t>(m_nKind + 1);
    m_pConfig->m_pMovingSource = this;
    EmptyItem(); // the text, address or file itself stays where it is
    // Disabled before the switch: a refused move gives the item back and enables the button.
    ::EnableWindow(m_hWnd, FALSE);
    ::SendMessageW(Panel(), UM_SWITCH_PAGE, static_cast<WPARAM>(page + 1), 1);
}

void CButtonEx::Move() {
    const RECT client = GetClientRect();
    fw::CRectTracker tracker(client);
    RECT place = GetWindowRect();
    ::MapWindowPoints(HWND_DESKTOP, Panel(), reinterpret_cast<POINT*>(&place), 2);
    const POINT centre{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    // The frame's loop hands other messages on (the wheel among them); the flag keeps the page,
    // and so this button's item, as it was until the frame is dropped.
    if (m_pConfig) m_pConfig->m_bTrackingMove = true;
    const bool dropped = tracker.TrackRubberBand(Panel(), centre);
    if (m_pConfig) m_pConfig->m_bTrackingMove = false;
    if (!dropped) return;
    m_ptDrop = POINT{(tracker.m_rect.left + tracker.m_rect.right) / 2, (tracker.m_rect.top + tracker.m_rect.bottom) / 2};
    ::SendMessageW(Panel(), UM_MOVE_ITEM, reinterpret_cast<WPARAM>(this), 0);
}

} // namespace lhl
