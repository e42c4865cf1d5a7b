#pragma once
// The one owner of the user's pages and items: the page records in their groups, the items of
// every page, the grid of the shown page with its item buttons, and the page tabs. Every change
// to pages or items goes through it, and it rewrites the affected file at once.
//   PageStore.cpp       set-up, grid and page operations
//   PageStoreItems.cpp  item operations, page switching and button upkeep
//   PageStoreFiles.cpp  loading and saving
//   PageStoreUndo.cpp   what destructive changes take away, and putting it back
#include "PageRecords.h"
#include "UndoHistory.h"
#include <windows.h>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace lhl {

class CButtonEx;
class CIndexButton;
struct ReadGroupFile;
class LauncherConfig;

struct GridCell {
    bool hasButton = false;
    RECT rect{};
};

struct PageTab {
    RECT rect{};
    CIndexButton* button = nullptr;
};

struct PlacedButton {
    uint32_t cell = 0; // 1-based; 0 = detached from the grid
    std::unique_ptr<CButtonEx> button;
};

class PageStore {
public:
    static constexpr uint32_t kMaxPages = 17;
    static constexpr int kCellGap = 2;
    static constexpr int kButtonIdStride = 500;
    static constexpr int kTabIdBase = 100;
    static constexpr uint32_t kMaxPagesPerGroup = 5;
    // Results of Undo.
    enum : int { kUndone = 0, kUndoRefused = 1, kNothingToUndo = 2, kUndoDiscarded = 3 };

    explicit PageStore(LauncherConfig* config);
    ~PageStore();
    PageStore(const PageStore&) = delete;
    PageStore& operator=(const PageStore&) = delete;

    // Set-up, in this order.
    void SetParentWindow(HWND panel) { m_hParent = panel; }
    void SetTabWidth(const RECT& endMarkerScreen);
    void InitFirstPage(CIndexButton* firstTab, const RECT& firstTabScreen, const RECT& endMarkerScreen);
    void BuildGrid(int left, int top, int right, int bottom);
    // The panel's DPI, which the cell gap and every button follow, and the font of its tabs (the
    // panel keeps it alive). Set before the grid is built, and again when the DPI changes.
    void SetDpi(UINT dpi, HFONT tabFont);
    // After the panel was laid out anew (another DPI): the tab strip, the grid and the shown
    // page's buttons take the new rectangles of the first tab and the End marker. Pages, items
    // and the shown page stay.
    void Relayout(const RECT& firstTabScreen, const RECT& endMarkerScreen);

    uint32_t GetPageCount() const { return static_cast<uint32_t>(m_tabs.size()); }
    uint32_t GetCurrentPage() const { return m_nCurrentPage; }
    bool IsPageEmpty() const;
    // Items of all pages whose cells a grid of that side would not show.
    size_t CountItemsBeyond(int units) const;
    bool AreButtonsEmpty() const;

    // Pages. AddPage: the new 1-based number, or the unchanged count when refused.
    // DeletePage: the page that becomes current, 2 when refused, or kDeleteNotSaved when the
    // page's file could not be written and the page was put back.
    static constexpr uint32_t kDeleteNotSaved = 0xFFFFFFFF;
    uint32_t AddPage();
    uint32_t DeletePage();
    void SetPageProperties(const std::wstring& title, const std::wstring& tip, COLORREF focusBack,
                           COLORREF normalBack, COLORREF focusText, COLORREF normalText);
    void SetCurrentPage(uint32_t index);
    void BuildTabs();

    // Items on the shown page; points in the panel's client coordinates.
    int AddFileItem(const std::wstring& path); // 0 added, 1 page full
    // True when a cell took the item.
    bool AddFileItemAt(int x, int y, const std::wstring& path);
    // True when the point lies in a cell of the grid, where a dropped file may go.
    bool HasCellAt(int x, int y) const { return CellAt(x, y) >= 0; }
    // The button of the cell at the point; null when the point misses the grid or the cell is empty.
    CButtonEx* ButtonAt(int x, int y) const {
        const int cell = CellAt(x, y);
        return cell < 0 ? nullptr : ButtonAtCell(static_cast<uint32_t>(cell) + 1);
    }
    // A text or address off the grid goes to the first free cell. 0 added, 1 no free cell,
    // 2 the user kept the item that was there.
    int AddTextItemAt(int x, int y, const std::wstring& title, const std::wstring& text);
    int AddLinkItemAt(int x, int y, const std::wstring& title, const std::wstring& address);
    void MoveItemTo(int x, int y, CButtonEx* source);
    void AlignItems();
    // Empties the cells of the grid; items kept outside a grid made smaller stay.
    int ClearPage();
    // Moves the files into the desktop-backup folder and adds them, on new pages where needed.
    void TidyDesktop(const std::vector<std::wstring>& paths);

    // Switching. Makes the page the shown one.
    void SwitchPage(uint32_t index);
    // True while Delete Page asks the panel to leave the page it deleted: that switch is owed.
    bool IsLeavingDeletedPage() const { return m_bLeavingDeletedPage; }
    // "Move To": the item taken off its button goes to the first free cell of another page,
    // saved there before it leaves the shown page's file. On a refusal the item is still the
    // caller's to return.
    enum : int { kMoved = 0, kMoveTargetFull = 1, kMoveNothing = 2, kMoveNotSaved = 3 };
    int MoveItemToPage(uint32_t index);
    void RefreshButtons(int mode);                       // 0 show, 1 show anew in place, 2 build
    void BuildButtons();
    void ApplyButtonAlpha();
    // Puts an item that "Move To" took off its button back, when the move could not happen.
    void ReturnMovingItem();

    // Undo. The last destructive change (null when none) and taking it back. Items a full page
    // has no room for go, when the user agrees, to another page or a new one; a deleted page
    // that cannot come back may be discarded. Otherwise the step stays.
    const UndoStep* LastUndoStep() const { return m_undo.Last(); }
    int Undo();
    // A dropped shortcut moved from `origin` into the launcher's folder as `copy`: undoing the
    // drop that placed it moves it back.
    void NoteShortcutMovedIn(const std::wstring& copy, const std::wstring& origin);
    // The session ends: every step goes, with the shortcut copies nothing uses any more.
    void DropUndoHistory() { m_undo.DropAll(); }
    // An item button is about to clear its item ("Clear Icon", or a file that no longer opens).
    void NoteItemCleared(const CButtonEx* button);

    // Files.
    int SavePagesInfo();
    int SavePage(uint32_t index);
    int LoadPages();
    uint32_t ReadCurrentIndex();
    void WriteCurrentIndex();
    void LoadAll();
    // Once after the start: removes the shortcut copies that a session ended by a crash kept for
    // its undo, those of the launcher's folder that no item nor `alsoKept` names. Only when every
    // page file was read whole: a page read from its backup, or not at all, may have named one.
    void RemoveLeftOverCopies(const std::vector<std::wstring>& alsoKept);

    // What the store holds, for the panel and for checks.
    const std::vector<PageItems>& ItemLists() const { return m_pageItems; }
    const std::vector<PageGroup>& Groups() const { return m_groups; }
    const std::vector<GridCell>& Cells() const { return m_cells; }
    // The grid as built: the settings may ask for another one, which comes with a restart.
    int UnitsPerRow() const { return m_nUnits; }
    // Grows with every change to the pages or their items (each one is saved), every load, new
    // grid and page shown: what was taken from the items is current while it stays the same.
    uint32_t ChangeCount() const { return m_nChanges; }
    // Grows whenever the item buttons take the panel's background anew: the page's tint, a new
    // picture or look.
    uint32_t LookCount() const { return m_nLooks; }
    const std::vector<PageTab>& Tabs() const { return m_tabs; }
    const LauncherPage* PageRecord(uint32_t index) const;
    // The look every item button starts from.
    void StyleItemButton(CButtonEx* button) const;
    // True for a live item button of this store (messages carry button pointers).
    bool HoldsButton(const CButtonEx* button) const;
    // The live button in a 1-based cell, or null.
    CButtonEx* ButtonAtCell(uint32_t cell) const;
    uint32_t CellOfButton(const CButtonEx* button) const;
    int TabWidth() const { return m_nTabWidth; }
    const RECT& TabStrip() const { return m_rcTabStrip; }

private:
    void LeavePage();
    void ShowItemsOf(uint32_t index);
    void HideEmptyButtons();
    void ShowItemsAnew();
    // PageStore.cpp
    std::wstring NewGroupFileName() const;
    void AppendPageToGroups(const LauncherPage& page);
    bool FindGroupOf(uint32_t page, size_t& group, uint32_t& first) const;
    bool MayDeleteItemsOutOfView(uint32_t page) const;
    CIndexButton* CreateTab(const std::wstring& title, const RECT& rect, uint32_t index);
    void StyleTab(CIndexButton* tab, const LauncherPage& page, uint32_t number);
    void CopyPageToConfig(uint32_t index);
    void RebuildTitleList();
    void LayoutTabsAfterDelete(int firstWidth, int firstLeft);
    RECT ToClient(RECT rc) const;
    void MoveTab(size_t i, int left, int width);
    void LayOutCells(int left, int top, int right, int bottom);
    void LayOutTabs();

    // PageStoreTidy.cpp
    bool ShowNewDesktopPage(int number);

    // PageStoreItems.cpp
    PageItems& ShownItems();
    int CellAt(int x, int y) const; // 0-based cell index, -1 when none
    PlacedButton* EntryAtCell(uint32_t cell);
    CButtonEx* CreateItemButton(int cellIndex, const LauncherItem& item, bool visible, bool addRecord = true);
    void SetRecord(uint32_t cell, const LauncherItem& item);
    int FirstFreeCell(bool emptyButtonsToo) const;
    int AddItemAt(int x, int y, const LauncherItem& item);
    bool PlaceInFirstFreeCell(const LauncherItem& item);
    // The first cell of the grid that no record of a page not shown uses; 0 when none.
    uint32_t FreeCellOfPage(uint32_t page) const;
    void ClearMovingItem();
    void KeepMovingSourceIn(uint32_t cell);
    LauncherItem MovingItem() const;
    void RestyleForItem(CButtonEx* button) const;
    void AfterItemChange();
    void SortButtonsByCell();
    void ForgetDeadButtons();
    void ShowPageItems(uint32_t index);
    static void PutRecord(PageItems& items, const LauncherItem& record);
    static LauncherItem ItemOfButton(const CButtonEx& button, uint32_t cell);

    // PageStoreUndo.cpp
    bool IsShortcutCopy(const std::wstring& path) const;
    std::vector<std::wstring> CopiesLetGo(const std::vector<LauncherItem>& gone, const std::vector<PlacedItem>& placed) const;
    void PushUndo(UndoKind kind, std::vector<PlacedItem> restore, std::vector<PlacedItem> takeAway);
    bool CopyInUse(const std::wstring& copy) const;
    void RemoveUnusedCopy(const std::wstring& copy);
    void ReturnShortcuts(const std::vector<MovedShortcut>& shortcuts);
    void RecordClearedPage();
    void RecordDeletedPage(size_t group, uint32_t first);
    void PutBackUnsavedDeletion();
    uint32_t CellToRestore(const PageItems& items, uint32_t cell) const;
    uint32_t UndoPageOf(const PlacedItem& placed) const;
    struct UndoPlan {
        std::map<uint32_t, PageItems> lists; // the pages the undo changes, as they will read
        std::vector<uint32_t> pages;         // in the order they are written
        std::vector<LauncherItem> homeless;  // what found no cell on its page
        uint32_t fullPage = 0;
    };
    UndoPlan PlanUndo(const UndoStep& step) const;
    size_t FreeCellsOf(const UndoPlan& plan, uint32_t page) const;
    bool PlaceHomeless(UndoPlan& plan, const std::vector<uint32_t>& pages) const;
    std::vector<uint32_t> PagesWithRoom(const UndoPlan& plan) const;
    int FindRoomForHomeless(UndoPlan& plan); // kUndone, kUndoRefused or kUndoDiscarded
    int UndoItems(const UndoStep& step);
    int UndoDeletedPage(const DeletedPage& page);
    uint32_t FirstPageOfGroup(size_t group) const;
    bool GroupFileIsFree(const std::wstring& name) const;
    std::vector<size_t> InsertPageRecord(const DeletedPage& page, uint32_t position);
    bool PutPageBackInItsGroup(const DeletedPage& page, uint32_t position, size_t& group);
    std::vector<size_t> InsertPageAt(const LauncherPage& record, uint32_t position);
    void ShowUndonePage(uint32_t page);
    void ReportUndoRefused(unsigned textId, int page) const;
    bool AskUndo(unsigned textId, std::initializer_list<int> pages) const;
    int ButtonId(int cellIndex) const { return static_cast<int>(m_nCurrentPage + 1) * kButtonIdStride + cellIndex; }

    // PageStoreFiles.cpp
    std::wstring DataPath(const std::wstring& name) const;
    void RebuildShownRecords(uint32_t page);
    int WriteGroupFile(size_t group, uint32_t first);
    bool ReadIndexFile(struct IndexFile& index, bool& whole);
    void ReadPageFiles();
    std::vector<size_t> GroupsNotOwningTheirFile(const std::vector<uint32_t>& firsts,
                                                 const std::vector<ReadGroupFile>& files) const;
    void GiveSharedGroupsFilesOfTheirOwn();
    void CreateFirstRunItems();

    std::vector<PlacedButton> m_buttons;
    std::vector<GridCell> m_cells;
    std::vector<PageItems> m_pageItems;
    std::vector<PageTab> m_tabs;
    std::vector<std::unique_ptr<CIndexButton>> m_ownedTabs;
    HWND m_hParent = nullptr;
    LauncherConfig* m_pConfig;
    uint32_t m_nCurrentPage = 0;
    bool m_bLeavingDeletedPage = false;
    RECT m_rcTabStrip{};
    int m_nTabWidth = 20;
    int m_nUnits = 0;
    UINT m_nDpi = 96;
    HFONT m_hTabFont = nullptr; // the panel's
    uint32_t m_nChanges = 0;
    uint32_t m_nLooks = 0;
    std::vector<PageGroup> m_groups;
    std::vector<size_t> m_groupsToRename; // from loading until the buttons are built
    bool m_bReadWhole = false; // the last load read the index and every page file, none from a backup
    // Last, so it goes first: dropping its steps looks at the items still held.
    UndoHistory m_undo{[this](const std::wstring& copy) { RemoveUnusedCopy(copy); }};
};

} // namespace lhl
