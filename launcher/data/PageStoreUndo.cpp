// What destructive changes take away, kept for the session, and putting it back. An undo works
// on the page records and writes the affected files as any change does, each with its backup.
#include "ButtonEx.h"
#include "LauncherConfig.h"
#include "Module.h"
#include "PageCodec.h"
#include "PageStore.h"
#include "PanelMessages.h"
#include "ShellFolder.h"
#include "ShortcutFiles.h"
#include "UndoTexts.h"
#include "resource.h"
#include <algorithm>
#include <iterator>
#include <map>

namespace lhl {
namespace {

bool ShowsSameItem(const LauncherItem& a, const LauncherItem& b) {
    return a.kind == b.kind && a.title == b.title && a.target == b.target;
}

bool CellUsed(const PageItems& items, uint32_t cell) {
    return std::any_of(items.begin(), items.end(), [cell](const LauncherItem& i) { return i.HoldsItem() && i.cell == cell; });
}

// The record the change made, else one showing the same item (moved within its page since).
// A record the change added to the list goes again; a spare one it filled is spare again.
void TakeAwayRecord(PageItems& items, const PlacedItem& placed) {
    auto found = std::find(items.begin(), items.end(), placed.item);
    if (found == items.end())
        found = std::find_if(items.begin(), items.end(),
                             [&](const LauncherItem& i) { return i.HoldsItem() && ShowsSameItem(i, placed.item); });
    if (found == items.end()) return;
    if (placed.added) items.erase(found);
    else *found = LauncherItem{};
}

void AddPageOnce(std::vector<uint32_t>& pages, uint32_t page) {
    if (std::find(pages.begin(), pages.end(), page) == pages.end()) pages.push_back(page);
}

} // namespace

LauncherItem PageStore::ItemOfButton(const CButtonEx& button, uint32_t cell) {
    const auto kind = static_cast<uint32_t>(button.GetKind() + 1);
    return LauncherItem{kind, cell, kind == kKindFile ? L"" : button.GetTitle(), button.GetTarget()};
}

bool PageStore::IsShortcutCopy(const std::wstring& path) const {
    return IsInFolder(path, m_pConfig->ShortcutFolder());
}

// The copies of the items a change took away: an item it only moved (it is among what the
// change placed) still opens its copy.
std::vector<std::wstring> PageStore::CopiesLetGo(const std::vector<LauncherItem>& gone,
                                                 const std::vector<PlacedItem>& placed) const {
    std::vector<std::wstring> copies;
    for (const LauncherItem& item : gone) {
        const bool stays = std::any_of(placed.begin(), placed.end(), [&item](const PlacedItem& p) {
            return p.item.kind == kKindFile && SameFileName(p.item.target, item.target);
        });
        if (item.kind == kKindFile && IsShortcutCopy(item.target) && !stays) copies.push_back(item.target);
    }
    return copies;
}

void PageStore::PushUndo(UndoKind kind, std::vector<PlacedItem> restore, std::vector<PlacedItem> takeAway) {
    UndoStep step;
    step.kind = kind;
    std::vector<LauncherItem> gone;
    for (const PlacedItem& placed : restore) gone.push_back(placed.item);
    step.copies = CopiesLetGo(gone, takeAway);
    step.restore = std::move(restore);
    step.takeAway = std::move(takeAway);
    m_undo.Push(std::move(step));
}

// A copy is in use while anything the launcher holds opens it: the same shortcut may have been
// dropped again since.
bool PageStore::CopyInUse(const std::wstring& copy) const {
    const auto opens = [&copy](const std::wstring& target) { return SameFileName(target, copy); };
    for (const PageItems& items : m_pageItems)
        for (const LauncherItem& item : items)
            if (item.kind == kKindFile && opens(item.target)) return true;
    for (const PlacedButton& placed : m_buttons)
        if (placed.button && opens(placed.button->GetTarget())) return true;
    return opens(m_pConfig->m_movingTarget);
}

void PageStore::RemoveUnusedCopy(const std::wstring& copy) {
    if (!CopyInUse(copy)) ::DeleteFileW(fw::FileSystemPath(copy).c_str());
}

void PageStore::NoteShortcutMovedIn(const std::wstring& copy, const std::wstring& origin) {
    UndoStep* last = m_undo.Last();
    if (!last || last->kind != UndoKind::Replace) return;
    const bool placedIt = std::any_of(last->takeAway.begin(), last->takeAway.end(), [&copy](const PlacedItem& p) {
        return p.item.kind == kKindFile && SameFileName(p.item.target, copy);
    });
    if (placedIt) last->movedIn.push_back(MovedShortcut{copy, origin});
}

// The user's shortcuts that undone drops had moved in go back where they were, or beside it
// under a free name when that place is taken. One that something still opens stays.
void PageStore::ReturnShortcuts(const std::vector<MovedShortcut>& shortcuts) {
    for (const MovedShortcut& moved : shortcuts)
        if (!CopyInUse(moved.copy) && !m_undo.NamedByAStep(moved.copy)) ReturnShortcut(moved.copy, moved.origin);
}

void PageStore::NoteItemCleared(const CButtonEx* button) {
    auto placed = std::find_if(m_buttons.begin(), m_buttons.end(),
                               [button](const PlacedButton& p) { return p.button.get() == button && p.cell != 0; });
    if (placed == m_buttons.end() || button->IsEmptyItem()) return;
    PushUndo(UndoKind::ClearIcon, {PlacedItem{m_nCurrentPage, ItemOfButton(*button, placed->cell)}}, {});
}

void PageStore::RecordClearedPage() {
    if (m_nCurrentPage < m_pageItems.size()) RebuildShownRecords(m_nCurrentPage);
    std::vector<PlacedItem> cleared;
    for (const LauncherItem& record : ShownItems())
        if (record.HoldsItem() && record.cell <= m_cells.size()) cleared.push_back(PlacedItem{m_nCurrentPage, record});
    if (!cleared.empty()) PushUndo(UndoKind::ClearAll, std::move(cleared), {});
}

void PageStore::RecordDeletedPage(size_t group, uint32_t first) {
    const uint32_t shown = m_nCurrentPage;
    if (shown < m_pageItems.size()) RebuildShownRecords(shown);
    const PageGroup& g = m_groups[group];
    DeletedPage page{shown, g.pages[shown - first], shown < m_pageItems.size() ? m_pageItems[shown] : PageItems{},
                     g.fileName, g.reserved, shown - first, g.pages.size() == 1};
    UndoStep step;
    step.kind = UndoKind::DeletePage;
    step.copies = CopiesLetGo(page.items, {});
    step.page = std::move(page);
    m_undo.Push(std::move(step));
}

// The deletion just recorded is taken back as an undo would, its shortcut copies kept: the items
// name them again.
void PageStore::PutBackUnsavedDeletion() {
    UndoStep step = m_undo.TakeLast();
    if (step.page) UndoDeletedPage(*step.page);
}

int PageStore::Undo() {
    if (m_undo.IsEmpty()) return kNothingToUndo;
    // Out of the history while it is undone: a second request meanwhile finds the one before.
    UndoStep step = m_undo.TakeLast();
    const int result = step.page ? UndoDeletedPage(*step.page) : UndoItems(step);
    if (result == kUndoRefused) m_undo.Push(std::move(step));
    if (result == kUndoDiscarded) {
        m_undo.Discard(step);
        if (step.page) m_undo.ForgetPage(step.page->position);
    }
    return result;
}

uint32_t PageStore::CellToRestore(const PageItems& items, uint32_t cell) const {
    const auto cells = static_cast<uint32_t>(m_cells.size());
    if (cell >= 1 && cell <= cells && !CellUsed(items, cell)) return cell;
    for (uint32_t c = 1; c <= cells; ++c)
        if (!CellUsed(items, c)) return c;
    return 0;
}

// A page that no longer exists (its deletion's step was let go) gives its items to the shown
// page, so none is lost.
uint32_t PageStore::UndoPageOf(const PlacedItem& placed) const {
    return placed.page < GetPageCount() ? placed.page : m_nCurrentPage;
}

// Everything is planned on copies of the lists first: an item whose page has no room waits
// among the homeless, and a step whose items find no page is refused whole.
PageStore::UndoPlan PageStore::PlanUndo(const UndoStep& step) const {
    UndoPlan plan;
    // Where items come back is written first, so a failure between two writes leaves an item
    // twice rather than nowhere.
    // What the change placed on a page deleted since went with that page.
    std::vector<PlacedItem> takeAway;
    std::copy_if(step.takeAway.begin(), step.takeAway.end(), std::back_inserter(takeAway),
                 [this](const PlacedItem& placed) { return placed.page < GetPageCount(); });
    for (const PlacedItem& placed : step.restore) AddPageOnce(plan.pages, UndoPageOf(placed));
    for (const PlacedItem& placed : takeAway) AddPageOnce(plan.pages, placed.page);
    for (uint32_t page : plan.pages) plan.lists.emplace(page, m_pageItems[page]);
    for (const PlacedItem& placed : takeAway) TakeAwayRecord(plan.lists[placed.page], placed);
    for (const PlacedItem& placed : step.restore) {
        PageItems& items = plan.lists[UndoPageOf(placed)];
        LauncherItem item = placed.item;
        item.cell = CellToRestore(items, item.cell);
        if (item.cell != 0) {
            PutRecord(items, item);
            continue;
        }
        if (plan.homeless.empty()) plan.fullPage = UndoPageOf(placed);
        plan.homeless.push_back(placed.item);
    }
    return plan;
}

size_t PageStore::FreeCellsOf(const UndoPlan& plan, uint32_t page) const {
    const auto planned = plan.lists.find(page);
    const PageItems& items = planned != plan.lists.end() ? planned->second : m_pageItems[page];
    size_t free = 0;
    for (uint32_t c = 1; c <= m_cells.size(); ++c) free += CellUsed(items, c) ? 0 : 1;
    return free;
}

// The pages that take them are written first, the first of them shown, as the page items
// come back to. They fill the free cells page by page.
bool PageStore::PlaceHomeless(UndoPlan& plan, const std::vector<uint32_t>& pages) const {
    for (auto page = pages.rbegin(); page != pages.rend(); ++page) {
        plan.lists.emplace(*page, m_pageItems[*page]);
        std::erase(plan.pages, *page);
        plan.pages.insert(plan.pages.begin(), *page);
    }
    size_t placed = 0;
    for (uint32_t page : pages) {
        PageItems& items = plan.lists[page];
        for (; placed < plan.homeless.size(); ++placed) {
            LauncherItem item = plan.homeless[placed];
            item.cell = CellToRestore(items, 0);
            if (item.cell == 0) break;
            PutRecord(items, item);
        }
    }
    if (placed < plan.homeless.size()) return false;
    plan.homeless.clear();
    return true;
}

// The pages with free cells, when together they have room for everything homeless.
std::vector<uint32_t> PageStore::PagesWithRoom(const UndoPlan& plan) const {
    std::vector<uint32_t> pages;
    size_t free = 0;
    for (uint32_t page = 0; page < GetPageCount(); ++page) {
        const size_t cells = FreeCellsOf(plan, page);
        if (cells == 0) continue;
        pages.push_back(page);
        free += cells;
    }
    return free >= plan.homeless.size() ? pages : std::vector<uint32_t>{};
}

// The user chooses where what finds no room goes: the first page with room for all of it, else a
// new page, else, with as many pages as there may be, the pages that have free cells. When no
// cell is free anywhere the user may let the step go, as with a deleted page that cannot come
// back, so that the earlier steps can be reached.
int PageStore::FindRoomForHomeless(UndoPlan& plan) {
    const int full = static_cast<int>(plan.fullPage) + 1;
    for (uint32_t page = 0; page < GetPageCount(); ++page) {
        if (FreeCellsOf(plan, page) < plan.homeless.size()) continue;
        const bool placed = AskUndo(IDS_UNDO_PUT_ON_PAGE, {full, static_cast<int>(page) + 1}) && PlaceHomeless(plan, {page});
        return placed ? kUndone : kUndoRefused;
    }
    if (GetPageCount() < kMaxPages) {
        if (!AskUndo(IDS_UNDO_PUT_ON_NEW_PAGE, {full})) return kUndoRefused;
        m_pConfig->SaveCurrentPageAside();
        AddPage();
        m_pConfig->RestoreCurrentPage();
        return PlaceHomeless(plan, {GetPageCount() - 1}) ? kUndone : kUndoRefused;
    }
    const std::vector<uint32_t> pages = PagesWithRoom(plan);
    if (!pages.empty()) return AskUndo(IDS_UNDO_SPREAD, {full}) && PlaceHomeless(plan, pages) ? kUndone : kUndoRefused;
    return AskUndo(IDS_UNDO_PAGE_FULL, {full}) ? kUndoDiscarded : kUndoRefused;
}

int PageStore::UndoItems(const UndoStep& step) {
    if (step.restore.empty()) return kUndone;
    if (m_nCurrentPage < m_pageItems.size()) RebuildShownRecords(m_nCurrentPage);
    if (m_pageItems.size() < GetPageCount()) m_pageItems.resize(GetPageCount());
    UndoPlan plan = PlanUndo(step);
    if (!plan.homeless.empty()) {
        const int found = FindRoomForHomeless(plan);
        if (found != kUndone) return found;
    }
    for (auto& [page, items] : plan.lists) m_pageItems[page] = std::move(items);
    if (plan.lists.count(m_nCurrentPage)) ShowPageItems(m_nCurrentPage);
    for (uint32_t page : plan.pages) SavePage(page);
    ReturnShortcuts(step.movedIn);
    ShowUndonePage(plan.pages.front());
    return kUndone;
}

int PageStore::UndoDeletedPage(const DeletedPage& page) {
    // Every way to make room adds a step the next undo would take back first: the user may let
    // this one go instead, so that the earlier ones can be reached.
    if (GetPageCount() >= kMaxPages) return AskUndo(IDS_UNDO_TOO_MANY_PAGES, {}) ? kUndoDiscarded : kUndoRefused;
    if (m_nCurrentPage < m_pageItems.size()) RebuildShownRecords(m_nCurrentPage);
    if (m_pageItems.size() < GetPageCount()) m_pageItems.resize(GetPageCount());
    const uint32_t position = std::min(page.position, GetPageCount());
    const std::vector<size_t> groups = InsertPageRecord(page, position);
    m_pageItems.insert(m_pageItems.begin() + position, page.items);
    if (m_nCurrentPage >= position) ++m_nCurrentPage; // the shown page moved one place on
    BuildTabs();
    SavePagesInfo();
    for (size_t group : groups) WriteGroupFile(group, FirstPageOfGroup(group));
    ShowUndonePage(position);
    return kUndone;
}

uint32_t PageStore::FirstPageOfGroup(size_t group) const {
    uint32_t first = 0;
    for (size_t g = 0; g < group && g < m_groups.size(); ++g) first += static_cast<uint32_t>(m_groups[g].pages.size());
    return first;
}

bool PageStore::GroupFileIsFree(const std::wstring& name) const {
    return !name.empty() && !fw::PathExists(DataPath(name)) &&
           std::none_of(m_groups.begin(), m_groups.end(), [&](const PageGroup& g) { return SameFileName(g.fileName, name); });
}

// The page goes back into the group and file it came from while the pages before it stand as
// they did, so the files read as before the deletion; otherwise into the group that holds its
// place now. The groups to write.
std::vector<size_t> PageStore::InsertPageRecord(const DeletedPage& page, uint32_t position) {
    size_t group = 0;
    if (PutPageBackInItsGroup(page, position, group)) return {group};
    return InsertPageAt(page.record, position);
}

bool PageStore::PutPageBackInItsGroup(const DeletedPage& page, uint32_t position, size_t& group) {
    if (page.groupRemoved) {
        uint32_t start = 0;
        for (group = 0; group < m_groups.size() && start < position; ++group)
            start += static_cast<uint32_t>(m_groups[group].pages.size());
        if (start != position || !GroupFileIsFree(page.groupFile)) return false;
        m_groups.insert(m_groups.begin() + static_cast<ptrdiff_t>(group), PageGroup{{page.record}, page.groupFile, page.groupReserved});
        return true;
    }
    for (group = 0; group < m_groups.size(); ++group) {
        std::vector<LauncherPage>& pages = m_groups[group].pages;
        if (m_groups[group].fileName == page.groupFile && FirstPageOfGroup(group) + page.indexInGroup == position &&
            page.indexInGroup <= pages.size() && pages.size() < kMaxPagesPerGroup) {
            pages.insert(pages.begin() + page.indexInGroup, page.record);
            return true;
        }
    }
    return false;
}

// A group made too long by the page is split in two, the second part in a new file.
std::vector<size_t> PageStore::InsertPageAt(const LauncherPage& record, uint32_t position) {
    size_t g = 0;
    uint32_t first = 0;
    if (!FindGroupOf(position, g, first)) {
        g = m_groups.size() - 1;
        first = FirstPageOfGroup(g);
    }
    std::vector<LauncherPage>& pages = m_groups[g].pages;
    pages.insert(pages.begin() + (position - first), record);
    if (pages.size() <= kMaxPagesPerGroup) return {g};
    PageGroup tail;
    tail.fileName = NewGroupFileName();
    tail.pages.assign(pages.begin() + kMaxPagesPerGroup, pages.end());
    pages.resize(kMaxPagesPerGroup);
    m_groups.insert(m_groups.begin() + static_cast<ptrdiff_t>(g) + 1, std::move(tail));
    return {g, g + 1};
}

// The page where things came back is shown, through the panel's own switch when there is one.
void PageStore::ShowUndonePage(uint32_t page) {
    if (page >= GetPageCount()) return;
    if (page != m_nCurrentPage) ::SendMessageW(m_hParent, UM_SWITCH_PAGE, page + 1, 0);
    if (page == m_nCurrentPage) return;
    SwitchPage(page);
    WriteCurrentIndex();
}

void PageStore::ReportUndoRefused(unsigned textId, int page) const {
    const std::wstring text = UndoMessage(textId, m_pConfig->GetLanguageTable(), {page});
    ::MessageBoxW(m_hParent, text.c_str(), kProductTitle, MB_OK | MB_ICONINFORMATION);
}

bool PageStore::AskUndo(unsigned textId, std::initializer_list<int> pages) const {
    const std::wstring text = UndoMessage(textId, m_pConfig->GetLanguageTable(), pages);
    return ::MessageBoxW(m_hParent, text.c_str(), kProductTitle, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

} // namespace lhl
