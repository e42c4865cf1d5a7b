// Undo on a real panel: Ctrl+Z and the page menu's first entry take back each destructive change,
// and the data files read as they did before it.
#include "ButtonEx.h"
#include "DropData.h"
#include "MessageBoxAnswerer.h"
#include "PanelHarness.h"
#include "PanelMessages.h"
#include "UndoHistory.h"
#include "resource.h"
#include <algorithm>
#include <functional>
#include <map>
#include <shlobj.h>

using namespace lhl;
using lhltest::MessageBoxAnswerer;

namespace {

constexpr UINT kMoveToFirstPage = 40000; // the item menu's "Move To" entries, page by page

using FileBytes = std::map<std::wstring, std::vector<uint8_t>>;

class PanelUndo : public lhltest::PanelTest {
protected:
    // The page index and the page files, without their backups.
    FileBytes PageFiles() {
        FileBytes files;
        WIN32_FIND_DATAW found{};
        HANDLE search = ::FindFirstFileW((lhltest::DataFolder() + L"pages_info*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return files;
        do {
            const std::wstring name = found.cFileName;
            if (name.size() < 4 || name.substr(name.size() - 4) != L"_bak")
                files[name] = lhltest::ReadBytes(lhltest::DataFolder() + name);
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
        return files;
    }
    void AddText(uint32_t cell, const std::wstring& title) {
        const POINT p = CellCentre(cell);
        ASSERT_EQ(Store().AddTextItemAt(p.x, p.y, title, L"text of " + title), 0);
    }
    void DropFileAt(uint32_t cell, const std::wstring& path) {
        POINT p = CellCentre(cell);
        ::ClientToScreen(PanelWindow(), &p);
        ::SetCursorPos(p.x, p.y);
        m_panel->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(lhltest::MakeDropBlock({path})));
        Settle();
    }
    // A command of an item's context menu, as the menu posts it to the button.
    void ItemCommand(uint32_t cell, UINT id) {
        CButtonEx* button = Store().ButtonAtCell(cell);
        ASSERT_NE(button, nullptr) << "no button in cell " << cell;
        ::PostMessageW(button->m_hWnd, WM_COMMAND, id, 0);
        SettleThroughPanelLoop();
    }
    void PageCommand(UINT id) {
        ::PostMessageW(PanelWindow(), WM_COMMAND, id, 0);
        SettleThroughPanelLoop();
    }
    std::wstring TargetAt(uint32_t cell) {
        CButtonEx* b = Store().ButtonAtCell(cell);
        return b && !b->IsEmptyItem() ? b->GetTarget() : L"";
    }
    // The page menu's undo entry as the user would see it now.
    struct UndoEntry {
        std::wstring text;
        bool grey = false;
        bool first = false;
    };
    UndoEntry MenuEntry() {
        UndoEntry entry;
        HMENU menu = m_panel->BuildPageMenu();
        if (!menu) return entry;
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, ID_PAGE_UNDO, text, 128, MF_BYCOMMAND);
        entry.text = text;
        entry.grey = (::GetMenuState(menu, ID_PAGE_UNDO, MF_BYCOMMAND) & MF_GRAYED) != 0;
        entry.first = ::GetMenuItemID(menu, 0) == ID_PAGE_UNDO;
        ::DestroyMenu(menu);
        return entry;
    }
    void PressCtrlZ() { PressKey('Z', true); }
    // Runs the item in the cell; the command line the helper it opened was started with.
    std::wstring RunAndRecord(uint32_t cell) {
        const std::wstring marker = lhltest::BinFolder() + L"ran.txt";
        ::DeleteFileW(marker.c_str());
        ItemCommand(cell, ID_ITEM_RUN);
        std::vector<uint8_t> bytes;
        lhltest::PumpUntil([&] { return lhltest::FileExists(marker) && !(bytes = lhltest::ReadBytes(marker)).empty(); }, 10000);
        ::DeleteFileW(marker.c_str());
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    }
    void UseShortcutFolder() {
        MakeFile(L"placeholder.txt"); // the items folder, for the shortcuts
        Config().Settings().removeShortcutFiles = 1;
        ::CreateDirectoryW(Config().ShortcutFolder().c_str(), nullptr);
    }
    // Texts dropped over the last cell's item (a text put there first), one Replace step each:
    // enough of them push older steps out of the history, and undoing them fills no cell.
    void PushReplacingSteps(size_t count) {
        const uint32_t last = static_cast<uint32_t>(Store().Cells().size());
        if (TargetAt(last).empty()) AddText(last, L"base");
        for (size_t i = 0; i < count; ++i) AddText(last, L"filler " + std::to_wstring(i));
    }
    // The files in the launcher's shortcut folder.
    std::vector<std::wstring> CopiesOnDisk() {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found{};
        HANDLE search = ::FindFirstFileW((Config().ShortcutFolder() + L"*.lnk").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do names.push_back(found.cFileName);
        while (::FindNextFileW(search, &found));
        ::FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }
};

using lhltest::MakeShortcutToRecorder;

} // namespace

TEST_F(PanelUndo, EachItemChangeIsTakenBackAndTheFilesReadAsBefore) {
    MessageBoxAnswerer user(IDYES); // "Replace it?" and "Clear current page?"
    for (uint32_t cell = 1; cell <= 3; ++cell) AddText(cell, L"note " + std::to_wstring(cell));
    const std::wstring file = MakeFile(L"report.txt");
    DropFileAt(4, file);
    PageCommand(ID_PAGE_NEW);
    SwitchTo(2);
    AddText(1, L"on page two");
    SwitchTo(1);
    EXPECT_TRUE(MenuEntry().grey) << "building the pages offered something to undo";

    struct Change {
        const char* what;
        std::function<void()> make;
        const wchar_t* entry;
    };
    const std::wstring other = MakeFile(L"other.txt");
    const Change changes[] = {
        {"Clear Icon", [&] { ItemCommand(2, ID_ITEM_DELETE); }, L"Undo Clear Icon\tCtrl+Z"},
        {"a drop that replaces", [&] { DropFileAt(1, other); }, L"Undo Replace\tCtrl+Z"},
        {"a move that replaces",
         [&] {
             CButtonEx* moving = Store().ButtonAtCell(3);
             moving->SetDropPoint(CellCentre(4));
             m_panel->SendMessage(UM_MOVE_ITEM, reinterpret_cast<WPARAM>(moving));
             Settle();
         },
         L"Undo Replace\tCtrl+Z"},
        {"Move To", [&] { ItemCommand(4, kMoveToFirstPage + 1); }, L"Undo Move To\tCtrl+Z"},
        {"Clear All", [&] { PageCommand(ID_PAGE_CLEAR_ALL); }, L"Undo Clear All\tCtrl+Z"},
    };
    bool byKey = true;
    for (const Change& change : changes) {
        const FileBytes before = PageFiles();
        const std::wstring shownBefore = TargetAt(1) + TargetAt(2) + TargetAt(3) + TargetAt(4);
        change.make();
        ASSERT_NE(PageFiles(), before) << change.what << " changed nothing, so its undo proves nothing";
        const UndoEntry entry = MenuEntry();
        EXPECT_EQ(entry.text, change.entry) << "the page menu does not name " << change.what;
        EXPECT_FALSE(entry.grey);
        EXPECT_TRUE(entry.first) << "the undo entry is not at the top of the page menu";
        if (byKey) PressCtrlZ();
        else PageCommand(ID_PAGE_UNDO);
        EXPECT_EQ(PageFiles(), before) << "after undoing " << change.what << (byKey ? " by Ctrl+Z" : " by the menu")
                                       << ", the files differ from before it";
        EXPECT_EQ(Store().GetCurrentPage(), 0u) << "the page the items came back to is not shown";
        EXPECT_EQ(TargetAt(1) + TargetAt(2) + TargetAt(3) + TargetAt(4), shownBefore)
            << "the buttons do not show what the page held before " << change.what;
        byKey = !byKey;
    }
    EXPECT_TRUE(MenuEntry().grey) << "everything was undone, yet the entry offers more";
    EXPECT_EQ(MenuEntry().text, L"Undo\tCtrl+Z");
    Restart();
    EXPECT_EQ(TargetAt(4), file) << "the file item did not stay after the restart";
}

TEST_F(PanelUndo, DeletedPagesComeBackInOrderWithEverythingTheyHad) {
    while (Store().GetPageCount() < 7) PageCommand(ID_PAGE_NEW); // two groups: five pages and two
    for (uint32_t page : {3u, 6u, 7u}) {
        SwitchTo(page);
        const std::wstring title = L"Page " + std::to_wstring(page);
        Store().SetPageProperties(title, L"tip " + title, 0x102030, 0x405060, 0x708090, 0xA0B0C0);
        AddText(1 + page % 4, L"item of " + title);
        AddText(16, L"last of " + title);
    }
    const FileBytes before = PageFiles();
    for (uint32_t page : {7u, 6u, 3u}) {
        SwitchTo(page);
        PressKey(VK_DELETE);
    }
    ASSERT_EQ(Store().GetPageCount(), 4u) << "Delete did not delete the pages";
    EXPECT_EQ(MenuEntry().text, L"Undo Delete Page\tCtrl+Z");
    PressCtrlZ();
    EXPECT_EQ(Store().GetPageCount(), 5u);
    EXPECT_EQ(Store().GetCurrentPage(), 2u) << "the page that came back is not shown";
    ASSERT_NE(Store().PageRecord(2), nullptr);
    EXPECT_EQ(Store().PageRecord(2)->title, L"Page 3") << "the last deletion was not the first undone";
    EXPECT_EQ(TargetAt(16), L"text of last of Page 3");
    PressCtrlZ();
    PressCtrlZ();
    EXPECT_EQ(PageFiles(), before) << "the pages came back, but the files differ from before the deletions";
    EXPECT_EQ(Store().GetCurrentPage(), 6u);
    EXPECT_EQ(Store().Tabs().size(), 7u);
    Restart();
    ASSERT_EQ(Store().GetPageCount(), 7u);
    const LauncherPage* page6 = Store().PageRecord(5);
    ASSERT_NE(page6, nullptr);
    EXPECT_EQ(*page6, (LauncherPage{0x102030, 0x405060, 0x708090, 0xA0B0C0, L"Page 6", L"tip Page 6"}));
    EXPECT_EQ(Store().ItemLists().at(5).size(), 2u) << "page 6 lost its items";
}

TEST_F(PanelUndo, APageComingBackToAGroupFilledSinceSplitsItAndTheIndexMatchesTheFiles) {
    while (Store().GetPageCount() < PageStore::kMaxPagesPerGroup) PageCommand(ID_PAGE_NEW); // one full group
    for (uint32_t page = 1; page <= PageStore::kMaxPagesPerGroup; ++page) {
        SwitchTo(page);
        Store().SetPageProperties(L"Page " + std::to_wstring(page), L"", 0x102030, 0x405060, 0x708090, 0xA0B0C0);
        AddText(page, L"item of page " + std::to_wstring(page));
    }
    SwitchTo(4);
    PressKey(VK_DELETE);
    PageCommand(ID_PAGE_NEW); // behind it, in the group it left
    PressCtrlZ();
    ASSERT_EQ(Store().GetPageCount(), 6u);
    ASSERT_EQ(Store().Groups().size(), 2u) << "a group holds more pages than its file may";
    const auto titles = [this] {
        std::vector<std::wstring> list;
        for (uint32_t p = 0; p < Store().GetPageCount(); ++p) list.push_back(Store().PageRecord(p)->title);
        return list;
    };
    const std::vector<std::wstring> expected{L"Page 1", L"Page 2", L"Page 3", L"Page 4", L"Page 5", L"5"}; // the new page was numbered when four were left
    EXPECT_EQ(titles(), expected);
    const std::vector<PageItems> items = Store().ItemLists();
    Restart();
    EXPECT_EQ(titles(), expected) << "the index read back differs from what the undo left";
    EXPECT_EQ(Store().ItemLists(), items) << "the pages read back hold other items";
    FileBytes onDisk = PageFiles();
    onDisk.erase(L"pages_info.dat");
    EXPECT_EQ(onDisk.size(), Store().Groups().size()) << "a page file on disk belongs to no group, or a group has no file";
    for (const PageGroup& group : Store().Groups())
        EXPECT_EQ(onDisk.count(group.fileName), 1u) << "the index names a file that is not there";
}

TEST_F(PanelUndo, AnItemWhoseCellIsTakenGoesToTheFirstFreeCellAndAFullPageOffersAnother) {
    for (uint32_t cell = 1; cell <= 3; ++cell) AddText(cell, L"note " + std::to_wstring(cell));
    ItemCommand(2, ID_ITEM_DELETE);
    AddText(2, L"newcomer");
    PressCtrlZ();
    EXPECT_EQ(TargetAt(2), L"text of newcomer") << "the undo took a cell that was taken since";
    EXPECT_EQ(TargetAt(4), L"text of note 2") << "the item did not come back in the first free cell";

    ItemCommand(1, ID_ITEM_DELETE);
    AddText(1, L"filler 1");
    for (uint32_t cell = 5; cell <= 16; ++cell) AddText(cell, L"filler " + std::to_wstring(cell));
    const FileBytes full = PageFiles();
    {
        MessageBoxAnswerer user(IDNO);
        PressCtrlZ();
        ASSERT_EQ(user.Count(), 1u) << "a full page refused the item without a word";
        EXPECT_NE(user.OnlyText().find(L"Page 1 is full, and no other page has room"), std::wstring::npos) << user.OnlyText();
        EXPECT_EQ(PageFiles(), full) << "an undo the user declined changed the files";
        EXPECT_EQ(MenuEntry().text, L"Undo Clear Icon\tCtrl+Z") << "a declined undo lost its step";
    }
    {
        MessageBoxAnswerer user(IDYES);
        PressCtrlZ();
        EXPECT_EQ(user.Count(), 1u);
        ASSERT_EQ(Store().GetPageCount(), 2u) << "no new page took what the full page had no room for";
        EXPECT_EQ(Store().GetCurrentPage(), 1u) << "the page the item came back to is not shown";
        EXPECT_EQ(TargetAt(1), L"text of note 1");
    }
    // With a page that has room, the offer names it.
    SwitchTo(1);
    ItemCommand(5, ID_ITEM_DELETE);
    AddText(5, L"filler again");
    {
        MessageBoxAnswerer user(IDYES);
        PressCtrlZ();
        EXPECT_NE(user.OnlyText().find(L"Page 1 is full. Put what Undo brings back on page 2 instead?"), std::wstring::npos)
            << user.OnlyText();
    }
    EXPECT_EQ(Store().GetCurrentPage(), 1u);
    EXPECT_EQ(TargetAt(2), L"text of filler 5");
    Restart();
    ASSERT_EQ(Store().GetPageCount(), 2u);
    EXPECT_EQ(Store().ItemLists().at(1).size(), 2u) << "what came back on page 2 was not saved there";
    EXPECT_EQ(Store().ItemLists().at(0).size(), 16u);
}

TEST_F(PanelUndo, AShortcutCopyStaysWhileItsItemCanComeBackAndOpensAgain) {
    MakeFile(L"placeholder.txt"); // the items folder, for the shortcuts
    // A user's own shortcut in a folder that happens to share the name is never the launcher's.
    ::CreateDirectoryW((lhltest::DataFolder() + L"items\\Shortcut").c_str(), nullptr);
    const std::wstring users = MakeFile(L"Shortcut\\keep.lnk");
    DropFileAt(2, users);
    ItemCommand(2, ID_ITEM_DELETE);
    Config().Settings().removeShortcutFiles = 1;
    ::CreateDirectoryW(Config().ShortcutFolder().c_str(), nullptr);
    const std::wstring dropped = MakeShortcutToRecorder(lhltest::DataFolder() + L"items\\Recorder.lnk");
    const std::wstring copy = Config().ShortcutFolder() + L"Recorder.lnk";
    DropFileAt(1, dropped);
    ASSERT_EQ(TargetAt(1), copy) << "the dropped shortcut did not move into the launcher's folder";

    ItemCommand(1, ID_ITEM_DELETE);
    EXPECT_TRUE(lhltest::FileExists(copy)) << "the copy went with the item, so an undo could not open it";
    PressCtrlZ();
    ASSERT_EQ(TargetAt(1), copy);
    EXPECT_NE(RunAndRecord(1), L"") << "the item that came back does not open";

    ItemCommand(1, ID_ITEM_DELETE);
    EXPECT_TRUE(lhltest::FileExists(copy));
    Restart();
    EXPECT_FALSE(lhltest::FileExists(copy)) << "the copy outlived the session that could bring its item back";
    EXPECT_TRUE(lhltest::FileExists(users)) << "a user's own shortcut was deleted with its item";
    EXPECT_EQ(Store().LastUndoStep(), nullptr) << "an undo is offered after a restart";
    EXPECT_TRUE(MenuEntry().grey);
    const FileBytes after = PageFiles();
    PressCtrlZ();
    EXPECT_EQ(PageFiles(), after) << "Ctrl+Z after a restart changed the files";
}

TEST_F(PanelUndo, ADropUnderAKeptCopysNameKeepsBothAndTheSessionsEndTakesWhatNothingUses) {
    UseShortcutFolder();
    const std::wstring first = Config().ShortcutFolder() + L"Editor.lnk";
    const std::wstring second = Config().ShortcutFolder() + L"Editor (2).lnk";
    DropFileAt(1, MakeShortcutToRecorder(lhltest::DataFolder() + L"items\\Editor.lnk", L"first"));
    ASSERT_EQ(TargetAt(1), first);
    ItemCommand(1, ID_ITEM_DELETE);
    DropFileAt(2, MakeShortcutToRecorder(lhltest::DataFolder() + L"items\\Editor.lnk", L"second"));
    EXPECT_EQ(TargetAt(2), second) << "the new shortcut took the name of the copy kept for undo";
    EXPECT_EQ(CopiesOnDisk(), (std::vector<std::wstring>{L"Editor (2).lnk", L"Editor.lnk"}));
    EXPECT_NE(RunAndRecord(2).find(L"second"), std::wstring::npos) << "the new item opens the old shortcut";
    PressCtrlZ();
    ASSERT_EQ(TargetAt(1), first);
    EXPECT_NE(RunAndRecord(1).find(L"first"), std::wstring::npos) << "the item that came back opens the wrong shortcut";

    ItemCommand(1, ID_ITEM_DELETE);
    m_panel->SendMessage(WM_ENDSESSION, FALSE, 0); // a logoff that another program cancelled
    EXPECT_TRUE(lhltest::FileExists(first)) << "a cancelled logoff took the copy an undo still needs";
    EXPECT_NE(Store().LastUndoStep(), nullptr);
    m_panel->SendMessage(WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(CopiesOnDisk(), std::vector<std::wstring>{L"Editor (2).lnk"})
        << "the end of the Windows session left a copy no item uses, or took one that an item opens";
    EXPECT_EQ(Store().LastUndoStep(), nullptr) << "the history outlived the Windows session";
}

TEST_F(PanelUndo, ACopyStaysWhileAnyKeptStepHoldsItsItemAndGoesWithTheLastOne) {
    MessageBoxAnswerer user(IDYES); // "Replace it?" and "Clear current page?"
    UseShortcutFolder();
    const std::wstring copy = Config().ShortcutFolder() + L"Recorder.lnk";
    DropFileAt(1, MakeShortcutToRecorder(lhltest::DataFolder() + L"items\\Recorder.lnk"));
    ASSERT_EQ(TargetAt(1), copy);
    AddText(2, L"note");
    CButtonEx* moving = Store().ButtonAtCell(1);
    moving->SetDropPoint(CellCentre(2));
    m_panel->SendMessage(UM_MOVE_ITEM, reinterpret_cast<WPARAM>(moving)); // replaces the note
    Settle();
    ASSERT_EQ(TargetAt(2), copy);
    PageCommand(ID_PAGE_CLEAR_ALL);
    PushReplacingSteps(UndoHistory::kMaxSteps - 1); // the move's step leaves the history
    EXPECT_TRUE(lhltest::FileExists(copy)) << "the copy went while the Clear All step could still bring its item back";
    for (size_t i = 0; i < UndoHistory::kMaxSteps; ++i) PressCtrlZ();
    ASSERT_EQ(TargetAt(2), copy) << "undoing Clear All did not bring the item back";
    EXPECT_NE(RunAndRecord(2), L"") << "the item that came back does not open";

    // A deleted page's items hold their copies too, and let go of them when its step goes.
    PageCommand(ID_PAGE_NEW);
    SwitchTo(2);
    DropFileAt(1, MakeShortcutToRecorder(lhltest::DataFolder() + L"items\\Paged.lnk"));
    const std::wstring paged = Config().ShortcutFolder() + L"Paged.lnk";
    ASSERT_EQ(TargetAt(1), paged);
    PressKey(VK_DELETE);
    SwitchTo(1);
    ItemCommand(2, ID_ITEM_DELETE);
    PushReplacingSteps(UndoHistory::kMaxSteps - 2);
    EXPECT_TRUE(lhltest::FileExists(paged)) << "a deleted page's copy went while the page could come back";
    EXPECT_TRUE(lhltest::FileExists(copy));
    PushReplacingSteps(2);
    EXPECT_EQ(CopiesOnDisk(), std::vector<std::wstring>{}) << "copies outlived every step that could bring their items back";
}

TEST_F(PanelUndo, UndoingADropThatReplacedPutsTheUsersShortcutBackWhereItWas) {
    MessageBoxAnswerer user(IDYES); // "Replace it?"
    UseShortcutFolder();
    AddText(1, L"note");
    const std::wstring mine = lhltest::DataFolder() + L"items\\Mine.lnk";
    const std::wstring copy = Config().ShortcutFolder() + L"Mine.lnk";
    DropFileAt(1, MakeShortcutToRecorder(mine));
    ASSERT_EQ(TargetAt(1), copy);
    ASSERT_FALSE(lhltest::FileExists(mine)) << "the dropped shortcut did not move into the launcher's folder";
    const std::vector<uint8_t> moved = lhltest::ReadBytes(copy);
    PressCtrlZ();
    EXPECT_EQ(TargetAt(1), L"text of note");
    EXPECT_EQ(lhltest::ReadBytes(mine), moved) << "the user's shortcut did not come back where it was";
    EXPECT_EQ(CopiesOnDisk(), std::vector<std::wstring>{});

    // Its place taken since: the shortcut goes back beside it under a free name, never left
    // hidden in the launcher's folder, where nothing would show it.
    DropFileAt(1, mine);
    ASSERT_EQ(TargetAt(1), copy);
    const std::wstring since = MakeFile(L"Mine.lnk");
    const std::vector<uint8_t> sinceBytes = lhltest::ReadBytes(since);
    PressCtrlZ();
    EXPECT_EQ(TargetAt(1), L"text of note");
    EXPECT_EQ(lhltest::ReadBytes(lhltest::DataFolder() + L"items\\Mine (2).lnk"), moved)
        << "a shortcut whose place was taken did not come back beside it";
    EXPECT_EQ(CopiesOnDisk(), std::vector<std::wstring>{});
    EXPECT_EQ(lhltest::ReadBytes(since), sinceBytes) << "the file put in the shortcut's place since was overwritten";
}

// A crash or a forced end leaves the copies that the session's undo kept. The next start
// removes those no item names, and only after reading every page file whole: a page read from
// its backup, or not at all, may have held an item that names one.
TEST_F(PanelUndo, CopiesACrashLeftGoAtTheNextStartOnlyWhenEveryPageFileWasReadWhole) {
    UseShortcutFolder();
    const std::wstring folder = Config().ShortcutFolder();
    const std::wstring items = lhltest::DataFolder() + L"items\\";
    RestartWith([](auto& s) { s.unitsPerRow = 5; });
    DropFileAt(25, MakeShortcutToRecorder(items + L"Far.lnk")); // kept beyond the grid made smaller
    ASSERT_EQ(TargetAt(25), folder + L"Far.lnk");
    RestartWith([](auto& s) { s.unitsPerRow = 4; });
    DropFileAt(1, MakeShortcutToRecorder(items + L"Kept.lnk"));
    // Items that spell a copy's path another way: by its short name, in capitals.
    const std::wstring aliased = MakeShortcutToRecorder(folder + L"Named by its short name.lnk");
    wchar_t alias[MAX_PATH] = {};
    ASSERT_GT(::GetShortPathNameW(aliased.c_str(), alias, MAX_PATH), 0u);
    ASSERT_NE(std::wstring(alias).substr(std::wstring(alias).find_last_of(L'\\')), L"\\Named by its short name.lnk");
    MakeShortcutToRecorder(folder + L"Cased.lnk");
    std::wstring cased = folder + L"CASED.LNK";
    ::CharUpperBuffW(cased.data(), static_cast<DWORD>(cased.size()));
    for (const auto& [cell, target] : {std::pair<uint32_t, std::wstring>{2, alias}, {3, cased}}) {
        const POINT p = CellCentre(cell);
        ASSERT_TRUE(Store().AddFileItemAt(p.x, p.y, target));
    }
    const std::vector<std::wstring> named{L"Cased.lnk", L"Far.lnk", L"Kept.lnk", L"Named by its short name.lnk"};
    // What the crash left: copies no item names, beside a file that is no shortcut.
    MakeShortcutToRecorder(folder + L"Left.lnk");
    MakeShortcutToRecorder(folder + L"Left (2).lnk");
    lhltest::WriteBytes(folder + L"notes.txt", {1});

    // The index file or a page file read from its backup: nothing goes.
    const std::wstring pageFile = lhltest::DataFolder() + Store().Groups().at(0).fileName;
    for (const std::wstring& damaged : {lhltest::DataFolder() + L"pages_info.dat", pageFile}) {
        ClosePanel();
        const std::vector<uint8_t> good = lhltest::ReadBytes(damaged);
        lhltest::WriteBytes(damaged, {1, 2, 3});
        {
            MessageBoxAnswerer user(IDYES); // "Start with last correct setting?"
            OpenPanel();
        }
        EXPECT_TRUE(lhltest::FileExists(folder + L"Left.lnk")) << "copies went after a start that read a backup";
        ClosePanel();
        lhltest::WriteBytes(damaged, good);
    }
    OpenPanel();
    EXPECT_EQ(CopiesOnDisk(), named) << "a start that read every file whole left copies or took named ones";
    EXPECT_TRUE(lhltest::FileExists(folder + L"notes.txt")) << "a file that is no shortcut was taken";
    EXPECT_EQ(Store().CountItemsBeyond(4), 1u) << "the item beyond the grid was not kept";
    DropFileAt(4, MakeShortcutToRecorder(items + L"Left.lnk"));
    EXPECT_EQ(TargetAt(4), folder + L"Left.lnk") << "a later drop was pushed to another name";
    EXPECT_NE(RunAndRecord(2), L"") << "the item naming its copy by the short name no longer opens";
}

TEST_F(PanelUndo, ADeletedPageThatCannotComeBackMayBeLetGoSoThatEarlierStepsCan) {
    AddText(1, L"older");
    ItemCommand(1, ID_ITEM_DELETE);
    PageCommand(ID_PAGE_NEW);
    SwitchTo(2);
    Store().SetPageProperties(L"Kept", L"", 0x808040, 0xC0C0C0, 0x0000C8, 0);
    PressKey(VK_DELETE);
    while (Store().GetPageCount() < PageStore::kMaxPages) PageCommand(ID_PAGE_NEW);
    const FileBytes full = PageFiles();
    {
        MessageBoxAnswerer user(IDNO);
        PressCtrlZ();
        ASSERT_EQ(user.Count(), 1u) << "the page did not come back, and nothing said why";
        EXPECT_NE(user.OnlyText().find(L"as many pages as it can"), std::wstring::npos);
        EXPECT_EQ(Store().GetPageCount(), PageStore::kMaxPages);
        EXPECT_EQ(PageFiles(), full) << "a refused undo changed the files";
        EXPECT_EQ(MenuEntry().text, L"Undo Delete Page\tCtrl+Z") << "a \"No\" let the deleted page go";
    }
    {
        MessageBoxAnswerer user(IDYES);
        PressCtrlZ();
        EXPECT_EQ(user.Count(), 1u);
    }
    EXPECT_EQ(PageFiles(), full) << "letting the step go changed the files";
    EXPECT_EQ(MenuEntry().text, L"Undo Clear Icon\tCtrl+Z") << "the earlier step is still out of reach";
    SwitchTo(1);
    PressCtrlZ();
    EXPECT_EQ(TargetAt(1), L"text of older");
}

// Steps name their pages by number; a deleted page let go for good moves the later pages one
// place on, and the older steps with them.
TEST_F(PanelUndo, AfterADeletedPageIsLetGoAnOlderStepStillFindsItsPage) {
    while (Store().GetPageCount() < 3) PageCommand(ID_PAGE_NEW);
    SwitchTo(3);
    Store().SetPageProperties(L"Three", L"", 0x808040, 0xC0C0C0, 0x0000C8, 0);
    AddText(2, L"on three");
    ItemCommand(2, ID_ITEM_DELETE);
    SwitchTo(2);
    PressKey(VK_DELETE); // page 3 becomes page 2
    while (Store().GetPageCount() < PageStore::kMaxPages) PageCommand(ID_PAGE_NEW);
    {
        MessageBoxAnswerer user(IDYES); // let the deleted page go
        PressCtrlZ();
        ASSERT_EQ(user.Count(), 1u);
    }
    PressCtrlZ();
    EXPECT_EQ(Store().GetCurrentPage(), 1u) << "the item came back on another page";
    EXPECT_EQ(Config().m_page.title, L"Three");
    EXPECT_EQ(TargetAt(2), L"text of on three");
    Restart();
    const PageItems& three = Store().ItemLists().at(1);
    EXPECT_TRUE(std::any_of(three.begin(), three.end(), [](const LauncherItem& i) { return i.cell == 2 && i.target == L"text of on three"; }));
}

// With every page there may be, an item step spreads what it brings back over the free cells of
// several pages; with no free cell anywhere it may be let go, as a deleted page's step may.
TEST_F(PanelUndo, WithAllPagesAnItemStepSpreadsOverFreeCellsOrMayBeLetGo) {
    while (Store().GetPageCount() < PageStore::kMaxPages) PageCommand(ID_PAGE_NEW);
    const uint32_t cells = static_cast<uint32_t>(Store().Cells().size());
    const auto fill = [&](uint32_t page, const std::wstring& tag) {
        SwitchTo(page);
        for (uint32_t cell = 1; cell <= cells; ++cell)
            if (TargetAt(cell).empty()) AddText(cell, tag + std::to_wstring(cell));
    };
    for (uint32_t page = 1; page <= PageStore::kMaxPages; ++page) fill(page, L"p" + std::to_wstring(page) + L"c");
    // Two free cells on each of pages 2 to 9: room for a full page's items, but on no one page.
    for (uint32_t page = 2; page <= 9; ++page) {
        SwitchTo(page);
        ItemCommand(3, ID_ITEM_DELETE);
        ItemCommand(4, ID_ITEM_DELETE);
    }
    {
        MessageBoxAnswerer user(IDYES);
        SwitchTo(1);
        PageCommand(ID_PAGE_CLEAR_ALL);
    }
    fill(1, L"again ");
    {
        MessageBoxAnswerer user(IDYES);
        PressCtrlZ();
        EXPECT_NE(user.OnlyText().find(L"no other page has room for all of it"), std::wstring::npos) << user.OnlyText();
    }
    EXPECT_EQ(Store().GetCurrentPage(), 1u) << "the first page that took items is not shown";
    const FileBytes full = PageFiles();
    {
        MessageBoxAnswerer user(IDNO);
        PressCtrlZ();
        EXPECT_NE(user.OnlyText().find(L"Discard this undo step"), std::wstring::npos) << user.OnlyText();
        EXPECT_EQ(PageFiles(), full) << "a refused undo changed the files";
        ASSERT_NE(Store().LastUndoStep(), nullptr) << "a \"No\" let the step go";
        EXPECT_EQ(Store().LastUndoStep()->restore.at(0).item.target, L"text of p9c4");
    }
    {
        MessageBoxAnswerer user(IDYES);
        PressCtrlZ();
        EXPECT_EQ(user.Count(), 1u);
    }
    EXPECT_EQ(PageFiles(), full) << "letting the step go changed the files";
    ASSERT_NE(Store().LastUndoStep(), nullptr);
    EXPECT_EQ(Store().LastUndoStep()->restore.at(0).item.target, L"text of p9c3") << "the earlier step is still out of reach";
    Restart();
    size_t spread = 0;
    for (uint32_t page = 1; page <= 8; ++page)
        for (const LauncherItem& item : Store().ItemLists().at(page))
            spread += item.target.starts_with(L"text of p1c") && (item.cell == 3 || item.cell == 4);
    EXPECT_EQ(spread, static_cast<size_t>(cells)) << "what the undo brought back did not all land in the free cells";
}

TEST_F(PanelUndo, TheUndoEntrySpeaksTheInterfaceLanguage) {
    RestartWith([](ConfigSettings& s) { s.languageIndex = 1; });
    EXPECT_EQ(MenuEntry().text, L"\x64A4\x9500\tCtrl+Z"); // "Undo"
    PageCommand(ID_PAGE_NEW);
    SwitchTo(2);
    PressKey(VK_DELETE);
    EXPECT_EQ(MenuEntry().text, L"\x64A4\x9500\x5220\x9664\x9875\x9762\tCtrl+Z"); // "Undo Delete Page"
}

// Page 2 was deleted, then the old page 4 (by then the third), and that deletion let go. The
// steps older than page 2's deletion count page 2 still: for them the page let go is the fourth.
TEST(UndoHistory, APageLetGoIsFoundInTheNumbersOfEveryOlderStep) {
    UndoHistory history([](const std::wstring&) {});
    const auto itemOn = [](uint32_t page) {
        UndoStep s;
        s.restore.push_back(PlacedItem{page, LauncherItem{}, false});
        return s;
    };
    const auto deletion = [](uint32_t position) {
        UndoStep s;
        s.kind = UndoKind::DeletePage;
        s.page = DeletedPage{};
        s.page->position = position;
        return s;
    };
    history.Push(itemOn(3)); // page 4
    history.Push(itemOn(4)); // page 5
    history.Push(deletion(1));
    history.Push(itemOn(3)); // page 4 after page 2 went: the old page 5
    history.Push(deletion(2));
    history.ForgetPage(history.TakeLast().page->position);
    EXPECT_EQ(history.TakeLast().restore.at(0).page, 2u) << "the old page 5 is the third page now";
    EXPECT_EQ(history.TakeLast().page->position, 1u);
    EXPECT_EQ(history.TakeLast().restore.at(0).page, 3u) << "before page 2 comes back, the old page 5 is the fourth";
    EXPECT_EQ(history.TakeLast().restore.at(0).page, PlacedItem::kNoPage) << "the page let go was found elsewhere";
}

TEST(UndoHistory, KeepsTwentyStepsAndRemovesACopyOnlyWhenNoStepNamesIt) {
    std::vector<std::wstring> removed;
    {
        UndoHistory history([&removed](const std::wstring& copy) { removed.push_back(copy); });
        const auto step = [](const wchar_t* copy) {
            UndoStep s;
            if (copy) s.copies.push_back(copy);
            return s;
        };
        history.Push(step(L"a.lnk"));
        history.Push(step(L"b.lnk"));
        history.Push(step(L"a.lnk")); // the same shortcut, dropped and cleared again
        for (int i = 0; i < 17; ++i) history.Push(step(nullptr));
        EXPECT_EQ(history.Size(), 20u);
        EXPECT_TRUE(removed.empty()) << "a copy went while its step was kept";
        history.Push(step(nullptr));
        EXPECT_EQ(history.Size(), 20u) << "the history grows past its limit";
        EXPECT_TRUE(removed.empty()) << "a copy that a later step still names went";
        history.Push(step(nullptr));
        EXPECT_EQ(removed, std::vector<std::wstring>{L"b.lnk"});
        const UndoStep undone = history.TakeLast();
        EXPECT_EQ(removed.size(), 1u) << "an undone step's copy is needed again";
    }
    EXPECT_EQ(removed, (std::vector<std::wstring>{L"b.lnk", L"a.lnk"})) << "the end of the session kept a copy";
}
