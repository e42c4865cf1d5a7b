// Items on the shown page, page switching on the button side, and the upkeep of item buttons.
#include "ButtonEx.h"
#include "LauncherConfig.h"
#include "PageStore.h"
#include "PanelMessages.h"
#include "ShellCache.h"
#include <algorithm>

namespace lhl {
namespace {

enum : int { kAdded = 0, kNoFreeCell = 1, kKeptOld = 2 };

} // namespace

// Puts a record in its cell's place: the record that held the cell, else a spare empty one
// (a page's list keeps its length), else a new one at the end.
void PageStore::PutRecord(PageItems& items, const LauncherItem& record) {
    auto found = std::find_if(items.begin(), items.end(), [&](const LauncherItem& i) { return i.cell == record.cell; });
    if (found == items.end()) found = std::find_if(items.begin(), items.end(), [](const LauncherItem& i) { return i.IsEmptyRecord(); });
    if (found != items.end()) *found = record;
    else items.push_back(record);
}

PageItems& PageStore::ShownItems() {
    if (m_pageItems.size() <= m_nCurrentPage) m_pageItems.resize(m_nCurrentPage + 1);
    return m_pageItems[m_nCurrentPage];
}

int PageStore::CellAt(int x, int y) const {
    const POINT pt{x, y};
    for (size_t i = 0; i < m_cells.size(); ++i)
        if (::PtInRect(&m_cells[i].rect, pt)) return static_cast<int>(i);
    return -1;
}

PlacedButton* PageStore::EntryAtCell(uint32_t cell) {
    for (PlacedButton& placed : m_buttons)
        if (placed.cell == cell && cell != 0) return &placed;
    return nullptr;
}

CButtonEx* PageStore::ButtonAtCell(uint32_t cell) const {
    for (const PlacedButton& placed : m_buttons)
        if (placed.cell == cell && cell != 0 && placed.button) return placed.button.get();
    return nullptr;
}

// The 1-based cell of a live button; 0 when it holds none.
uint32_t PageStore::CellOfButton(const CButtonEx* button) const {
    for (const PlacedButton& placed : m_buttons)
        if (placed.button.get() == button && button) return placed.cell;
    return 0;
}

bool PageStore::HoldsButton(const CButtonEx* button) const {
    return button && std::any_of(m_buttons.begin(), m_buttons.end(),
                                 [button](const PlacedButton& p) { return p.button.get() == button; });
}

void PageStore::StyleItemButton(CButtonEx* button) const {
    button->SetDpi(m_nDpi);
    button->SetImageLayout(4, false);
    button->SetConfig(m_pConfig);
    button->SetFlatLook(true, false);
    button->ShiftColourSlot(0, 30, false);
}

// A reused button starts from the look a new one gets.
void PageStore::RestyleForItem(CButtonEx* button) const {
    button->ResetColourSlots();
    button->ShiftColourSlot(0, 30, false);
}

// A new button in a cell, with its item and record. A button that saving detached from the grid
// is taken again first, so adding and clearing never piles up hidden windows.
CButtonEx* PageStore::CreateItemButton(int cellIndex, const LauncherItem& item, bool visible, bool addRecord) {
    const RECT& rc = m_cells[static_cast<size_t>(cellIndex)].rect;
    auto spare = std::find_if(m_buttons.begin(), m_buttons.end(),
                              [](const PlacedButton& p) { return p.cell == 0 && p.button && p.button->IsEmptyItem(); });
    std::unique_ptr<CButtonEx> button;
    if (spare != m_buttons.end()) {
        button = std::move(spare->button);
        m_buttons.erase(spare);
        ::SetWindowLongPtrW(button->m_hWnd, GWLP_ID, ButtonId(cellIndex));
        ::MoveWindow(button->m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
    } else {
        button = std::make_unique<CButtonEx>();
        if (!button->Create(L"", WS_CHILD, rc, m_hParent, static_cast<UINT>(ButtonId(cellIndex)))) return nullptr;
    }
    StyleItemButton(button.get());
    RestyleForItem(button.get());
    button->SetItemOfKind(item.kind, item.title, item.target);
    button->ShowWindow(visible ? SW_SHOWNA : SW_HIDE);
    const uint32_t cell = static_cast<uint32_t>(cellIndex) + 1;
    m_cells[static_cast<size_t>(cellIndex)].hasButton = true;
    if (addRecord) ShownItems().push_back(LauncherItem{item.kind, cell, item.title, item.target});
    m_buttons.push_back(PlacedButton{cell, std::move(button)});
    return m_buttons.back().button.get();
}

void PageStore::SetRecord(uint32_t cell, const LauncherItem& item) {
    PutRecord(ShownItems(), LauncherItem{item.kind, cell, item.title, item.target});
}

void PageStore::AfterItemChange() {
    SavePage(m_nCurrentPage);
    RefreshButtons(0);
}

int PageStore::FirstFreeCell(bool emptyButtonsToo) const {
    for (size_t i = 0; i < m_cells.size(); ++i) {
        if (!m_cells[i].hasButton) return static_cast<int>(i);
        if (!emptyButtonsToo) continue;
        const CButtonEx* button = ButtonAtCell(static_cast<uint32_t>(i) + 1);
        if (button && button->IsEmptyItem()) return static_cast<int>(i);
    }
    return -1;
}

int PageStore::AddFileItem(const std::wstring& path) {
    const int cell = FirstFreeCell(true);
    if (cell < 0) return 1;
    const LauncherItem item{kKindFile, static_cast<uint32_t>(cell) + 1, L"", path};
    if (CButtonEx* button = ButtonAtCell(item.cell)) {
        if (button->SetFileItem(path) == kAssigned) SetRecord(item.cell, item);
    } else {
        CreateItemButton(cell, item, false);
    }
    AfterItemChange();
    return 0;
}

int PageStore::AddItemAt(int x, int y, const LauncherItem& item) {
    int cell = CellAt(x, y);
    // Only texts and addresses go to the first free cell when the point misses the grid; a cell
    // whose button another page left empty is free.
    if (cell < 0 && item.kind != kKindFile) cell = FirstFreeCell(true);
    if (cell < 0) return kNoFreeCell;
    const uint32_t number = static_cast<uint32_t>(cell) + 1;
    int result = kAdded;
    if (CButtonEx* button = ButtonAtCell(number)) {
        const LauncherItem before = ItemOfButton(*button, number);
        if (button->SetItemOfKind(item.kind, item.title, item.target) == kAssigned) {
            SetRecord(number, item);
            if (!before.target.empty())
                PushUndo(UndoKind::Replace, {PlacedItem{m_nCurrentPage, before}}, {PlacedItem{m_nCurrentPage, ItemOfButton(*button, number)}});
        } else {
            result = kKeptOld;
        }
    } else {
        m_cells[static_cast<size_t>(cell)].hasButton = false;
        if (!CreateItemButton(cell, item, false)) result = kNoFreeCell;
    }
    AfterItemChange();
    return result;
}

bool PageStore::AddFileItemAt(int x, int y, const std::wstring& path) {
    return AddItemAt(x, y, LauncherItem{kKindFile, 0, L"", path}) == kAdded;
}

int PageStore::AddTextItemAt(int x, int y, const std::wstring& title, const std::wstring& text) {
    return AddItemAt(x, y, LauncherItem{kKindClipboardText, 0, title.empty() ? L"Untitled" : title, text});
}

int PageStore::AddLinkItemAt(int x, int y, const std::wstring& title, const std::wstring& address) {
    return AddItemAt(x, y, LauncherItem{kKindLink, 0, title, address});
}

void PageStore::MoveItemTo(int x, int y, CButtonEx* source) {
    const int cell = CellAt(x, y);
    if (cell < 0 || !HoldsButton(source) || source->IsEmptyItem()) return;
    const auto number = static_cast<uint32_t>(cell) + 1;
    CButtonEx* target = ButtonAtCell(number);
    if (target == source) return; // dropped where it was
    const LauncherItem item = ItemOfButton(*source, CellOfButton(source));
    if (target) {
        const LauncherItem before = ItemOfButton(*target, number);
        // A declined replacement keeps both items where they were.
        if (target->SetItemOfKind(item.kind, item.title, item.target) == kDeclined) return;
        target->ShowWindow(SW_SHOWNA);
        if (!before.target.empty())
            PushUndo(UndoKind::Replace, {PlacedItem{m_nCurrentPage, before}, PlacedItem{m_nCurrentPage, item}},
                     {PlacedItem{m_nCurrentPage, ItemOfButton(*target, number)}});
    } else if (m_cells[static_cast<size_t>(cell)].hasButton || !CreateItemButton(cell, item, false)) {
        return;
    }
    source->ResetButton();
    RefreshButtons(0);
    SavePage(m_nCurrentPage);
}

void PageStore::SortButtonsByCell() {
    for (size_t i = 0; i < m_buttons.size(); ++i)
        for (size_t j = i + 1; j < m_buttons.size(); ++j)
            if (m_buttons[j].cell < m_buttons[i].cell) std::swap(m_buttons[i], m_buttons[j]);
}

void PageStore::AlignItems() {
    // Empty buttons left by a page switch hold no item: their cells count as free.
    for (PlacedButton& placed : m_buttons) {
        if (placed.cell == 0 || (placed.button && !placed.button->IsEmptyItem())) continue;
        if (placed.cell <= m_cells.size()) m_cells[placed.cell - 1].hasButton = false;
        placed.cell = 0;
    }
    SortButtonsByCell();
    PageItems& items = ShownItems();
    size_t next = 0;
    for (size_t i = 0; i < m_cells.size(); ++i) {
        if (m_cells[i].hasButton) continue;
        const uint32_t cell = static_cast<uint32_t>(i) + 1;
        while (next < m_buttons.size() && m_buttons[next].cell <= cell) ++next;
        if (next >= m_buttons.size()) break;
        PlacedButton& placed = m_buttons[next++];
        for (LauncherItem& record : items)
            if (record.cell == placed.cell) record.cell = cell;
        m_cells[placed.cell - 1].hasButton = false;
        m_cells[i].hasButton = true;
        placed.cell = cell;
        if (placed.button) {
            const RECT& rc = m_cells[i].rect;
            placed.button->ShowWindow(SW_HIDE);
            ::MoveWindow(placed.button->m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
        }
    }
    SavePage(m_nCurrentPage);
    RefreshButtons(1);
}

int PageStore::ClearPage() {
    RecordClearedPage();
    int removed = 0;
    for (PlacedButton& placed : m_buttons) {
        if (placed.cell == 0) continue;
        placed.cell = 0;
        if (placed.button) placed.button->ResetButton();
        ++removed;
    }
    for (GridCell& cell : m_cells) cell.hasButton = false;
    for (LauncherItem& record : ShownItems())
        if (record.cell <= m_cells.size()) record = LauncherItem{};
    SavePage(m_nCurrentPage);
    return removed;
}

size_t PageStore::CountItemsBeyond(int units) const {
    const auto cells = static_cast<uint32_t>(units * units);
    size_t count = 0;
    for (const PageItems& items : m_pageItems)
        count += static_cast<size_t>(std::count_if(items.begin(), items.end(),
                                                   [cells](const LauncherItem& i) { return i.HoldsItem() && i.cell > cells; }));
    return count;
}

uint32_t PageStore::FreeCellOfPage(uint32_t page) const {
    const PageItems none;
    const PageItems& items = page < m_pageItems.size() ? m_pageItems[page] : none;
    for (uint32_t cell = 1; cell <= m_cells.size(); ++cell) {
        const bool used = std::any_of(items.begin(), items.end(),
                                      [cell](const LauncherItem& i) { return i.HoldsItem() && i.cell == cell; });
        if (!used) return cell;
    }
    return 0;
}

// The target page is not shown, so its records are what it holds: the item is placed there by
// record, whatever state the buttons are in. The target's file is written first, so a failure
// between the two writes leaves the item twice rather than nowhere; a target that cannot be
// written (in use, a full disk) keeps the item where it was.
int PageStore::MoveItemToPage(uint32_t index) {
    if (m_pConfig->m_movingKind == kKindNone || index >= GetPageCount() || index == m_nCurrentPage) return kMoveNothing;
    const uint32_t cell = FreeCellOfPage(index);
    if (cell == 0) return kMoveTargetFull;
    if (m_pageItems.size() <= index) m_pageItems.resize(index + 1);
    LauncherItem item = MovingItem();
    item.cell = cell;
    const PageItems target = m_pageItems[index];
    PutRecord(m_pageItems[index], item);
    LauncherItem from = item;
    from.cell = CellOfButton(m_pConfig->m_pMovingSource);
    if (SavePage(index) != 0) {
        m_pageItems[index] = target;
        KeepMovingSourceIn(from.cell);
        return kMoveNotSaved;
    }
    PushUndo(UndoKind::MoveTo, {PlacedItem{m_nCurrentPage, from}},
             {PlacedItem{index, item, m_pageItems[index].size() > target.size()}});
    ClearMovingItem();
    SavePage(m_nCurrentPage);
    return kMoved;
}

// Writing a file that holds the shown page lets go of its empty buttons; the one "Move To"
// emptied keeps its cell, for the item to come back to.
void PageStore::KeepMovingSourceIn(uint32_t cell) {
    if (cell == 0 || cell > m_cells.size() || m_cells[cell - 1].hasButton) return;
    for (PlacedButton& placed : m_buttons) {
        if (!placed.button || placed.button.get() != m_pConfig->m_pMovingSource || placed.cell != 0) continue;
        placed.cell = cell;
        m_cells[cell - 1].hasButton = true;
    }
}

// The item "Move To" took off its button (a file keeps no title).
LauncherItem PageStore::MovingItem() const {
    const LauncherConfig& c = *m_pConfig;
    return LauncherItem{c.m_movingKind, 0, c.m_movingKind == kKindFile ? L"" : c.m_movingTitle, c.m_movingTarget};
}

void PageStore::ClearMovingItem() {
    LauncherConfig& c = *m_pConfig;
    c.m_movingKind = kKindNone;
    c.m_movingTitle.clear();
    c.m_movingTarget.clear();
    c.m_pMovingSource = nullptr;
}

bool PageStore::PlaceInFirstFreeCell(const LauncherItem& item) {
    const int cell = FirstFreeCell(true);
    if (cell < 0) return false;
    const uint32_t number = static_cast<uint32_t>(cell) + 1;
    if (CButtonEx* button = ButtonAtCell(number)) {
        button->SetItemOfKind(item.kind, item.title, item.target);
        SetRecord(number, item);
    } else if (!m_cells[static_cast<size_t>(cell)].hasButton) {
        CreateItemButton(cell, item, true);
    } else {
        return false;
    }
    return true;
}

void PageStore::ReturnMovingItem() {
    LauncherConfig& c = *m_pConfig;
    if (c.m_movingKind == kKindNone) return;
    const LauncherItem item = MovingItem();
    auto source = std::find_if(m_buttons.begin(), m_buttons.end(), [&c](const PlacedButton& p) {
        return p.button && p.button.get() == c.m_pMovingSource && p.cell != 0 && p.button->IsEmptyItem();
    });
    if (source != m_buttons.end()) {
        source->button->SetItemOfKind(item.kind, item.title, item.target);
        ::EnableWindow(source->button->m_hWnd, TRUE);
        SetRecord(source->cell, item);
    } else {
        PlaceInFirstFreeCell(item); // its button went away meanwhile
    }
    ClearMovingItem();
    AfterItemChange();
}

// Buttons let go of the old page's items but stay shown: a cell that holds an item on the new
// page too only changes what it shows. No button is destroyed here: a switch can come while a
// button is in the middle of its own work (a menu command, a move). With the page's tint on,
// the panel's colour changes with the page, so the buttons take their background again.
void PageStore::LeavePage() {
    const bool tint = m_pConfig->Settings().changeBackgroundOnSwitch != 0;
    m_nLooks += tint;
    for (PlacedButton& placed : m_buttons) {
        if (!placed.button) continue;
        placed.button->ResetButton(false);
        if (tint) placed.button->ForgetParentCopy();
    }
}

void PageStore::ShowItemsOf(uint32_t index) {
    if (m_pageItems.size() <= index) m_pageItems.resize(index + 1);
    ForgetDeadButtons();
    const PageItems records = m_pageItems[index];
    for (const LauncherItem& record : records) {
        if (!record.HoldsItem() || record.cell > m_cells.size()) continue; // kept for a larger grid
        if (PlacedButton* placed = EntryAtCell(record.cell)) {
            RestyleForItem(placed->button.get());
            placed->button->SetItemOfKind(record.kind, record.title, record.target);
        } else {
            // Its record is already in the list; the new button must not add a second one.
            m_cells[record.cell - 1].hasButton = false;
            CreateItemButton(static_cast<int>(record.cell - 1), record, true, false);
        }
    }
}

// Buttons the new page left empty lose the old caption and go out of sight.
void PageStore::HideEmptyButtons() {
    for (PlacedButton& placed : m_buttons)
        if (placed.button && placed.button->IsEmptyItem()) placed.button->ResetButton();
}

void PageStore::SwitchPage(uint32_t index) {
    SetCurrentPage(index);
    ShowPageItems(index);
}

void PageStore::ShowPageItems(uint32_t index) {
    ++m_nChanges; // the shell may have named more of the files by now
    // Up to 256 buttons change at once: they are painted once, when all are done.
    fw::RedrawPause pause(m_hParent);
    ShellNameBatch names;
    LeavePage();
    ShowItemsOf(index);
    HideEmptyButtons();
    RefreshButtons(0);
}

// The look changed (the options, the page's colours, a new order of the cells): every button
// shows its item anew, in place. None is destroyed, as a button may be running a dialog of its
// own (Properties) or its Move frame when the change comes.
void PageStore::ShowItemsAnew() {
    ++m_nLooks;
    fw::RedrawPause pause(m_hParent);
    ShellNameBatch names;
    for (PlacedButton& placed : m_buttons) {
        CButtonEx* button = placed.button.get();
        if (!button) continue;
        button->ForgetParentCopy();
        if (button->IsEmptyItem()) {
            button->ResetButton();
            continue;
        }
        const auto kind = static_cast<uint32_t>(button->GetKind() + 1);
        const std::wstring title = button->GetTitle(), target = button->GetTarget();
        const bool enabled = ::IsWindowEnabled(button->m_hWnd) != FALSE;
        button->ResetButton(false);
        RestyleForItem(button);
        button->SetItemOfKind(kind, title, target);
        ::EnableWindow(button->m_hWnd, enabled); // a "Move To" source stays disabled
    }
}

void PageStore::ForgetDeadButtons() {
    std::erase_if(m_buttons, [](const PlacedButton& p) { return !p.button; });
}

void PageStore::RefreshButtons(int mode) {
    switch (mode) {
    case 0: {
        SortButtonsByCell();
        const bool tint = m_pConfig->Settings().changeBackgroundOnSwitch != 0;
        for (PlacedButton& placed : m_buttons) {
            if (!placed.button || placed.button->IsEmptyItem()) continue;
            if (tint) placed.button->SetColourSlot(2, m_pConfig->m_page.focusBackColor, false);
            if (!placed.button->HasVisibleStyle()) placed.button->ShowWindow(SW_SHOWNA);
        }
        break;
    }
    case 1:
        ShowItemsAnew();
        RefreshButtons(0);
        break;
    case 2:
        BuildButtons();
        break;
    default:
        break;
    }
}

void PageStore::BuildButtons() {
    ForgetDeadButtons();
    if (m_pageItems.empty()) {
        CreateFirstRunItems();
        return;
    }
    const PageItems& records = ShownItems();
    ShellNameBatch names;
    for (size_t i = 0; i < m_cells.size(); ++i) {
        const uint32_t cell = static_cast<uint32_t>(i) + 1;
        if (!m_cells[i].hasButton || ::IsRectEmpty(&m_cells[i].rect) || ButtonAtCell(cell)) continue;
        auto button = std::make_unique<CButtonEx>();
        const RECT& rc = m_cells[i].rect;
        if (!button->Create(L"", WS_CHILD, rc, m_hParent, static_cast<UINT>(ButtonId(static_cast<int>(i))))) continue;
        StyleItemButton(button.get());
        for (const LauncherItem& record : records) {
            if (record.cell != cell) continue;
            button->SetItemOfKind(record.kind, record.title, record.target);
            button->ShowWindow(SW_SHOWNA);
            break;
        }
        m_buttons.push_back(PlacedButton{cell, std::move(button)});
    }
}

void PageStore::ApplyButtonAlpha() {
    if (!m_pConfig->Settings().animate) return;
    using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    HMODULE user32 = ::GetModuleHandleW(L"User32.DLL");
    auto setLayered = user32 ? reinterpret_cast<SetLayeredFn>(reinterpret_cast<void*>(
                                   ::GetProcAddress(user32, "SetLayeredWindowAttributes")))
                             : nullptr;
    if (!setLayered) return;
    for (PlacedButton& placed : m_buttons) {
        if (!placed.button) continue;
        HWND h = placed.button->m_hWnd;
        ::SetWindowLongPtrW(h, GWL_EXSTYLE, ::GetWindowLongPtrW(h, GWL_EXSTYLE) | WS_EX_LAYERED);
        setLayered(h, 0, 100, LWA_ALPHA);
    }
}

} // namespace lhl
