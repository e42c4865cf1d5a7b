// The page store on a real panel: pages, grid, placement, switching and the files they leave.
#include "ButtonEx.h"
#include "ByteCodec.h"
#include "LanternhopApp.h"
#include "MessageBoxAnswerer.h"
#include "PageCodec.h"
#include "PanelHarness.h"
#include "PanelMessages.h"
#include "Module.h"
#include "RegKey.h"

using namespace lhl;
using lhltest::DataFolder;
using lhltest::MessageBoxAnswerer;

namespace {

class PageStoreTest : public lhltest::PanelTest {
protected:
    std::vector<std::wstring> PageFiles() {
        std::vector<std::wstring> names;
        for (const PageGroup& g : Store().Groups()) names.push_back(g.fileName);
        return names;
    }
    uint32_t AddPageTitled(const std::wstring& title) {
        Config().SaveCurrentPageAside();
        Config().m_page.title = title;
        const uint32_t number = Store().AddPage();
        Config().RestoreCurrentPage();
        return number;
    }
    std::vector<std::wstring> TargetsByCell() {
        std::vector<std::wstring> targets;
        for (uint32_t cell = 1; cell <= Store().Cells().size(); ++cell) {
            CButtonEx* b = Store().ButtonAtCell(cell);
            targets.push_back(b && !b->IsEmptyItem() ? b->GetTarget() : L"");
        }
        return targets;
    }
    // What an item button's "Move To" does before it asks for the switch: note its item on the
    // settings record and empty itself.
    void TakeForMoveTo(uint32_t cell) {
        CButtonEx* source = Store().ButtonAtCell(cell);
        ASSERT_NE(source, nullptr);
        Config().m_movingKind = static_cast<uint32_t>(source->GetKind() + 1);
        Config().m_movingTitle = source->GetTitle();
        Config().m_movingTarget = source->GetTarget();
        Config().m_pMovingSource = source;
        Config().m_moveSourcePage = Store().GetCurrentPage();
        source->ResetButton();
    }
    IndexFile IndexOnDisk() {
        IndexFile index;
        EXPECT_TRUE(DecodeIndex(lhltest::ReadBytes(DataFolder() + L"pages_info.dat"), index));
        return index;
    }
};

} // namespace

TEST_F(PageStoreTest, AFreshInstallMakesOnePageInOneGroupWithItsFiles) {
    EXPECT_EQ(Store().GetPageCount(), 1u);
    ASSERT_EQ(Store().Groups().size(), 1u);
    const std::wstring name = Store().Groups()[0].fileName;
    EXPECT_EQ(name.rfind(L"pages_info_", 0), 0u) << "page file named from the time";
    const IndexFile index = IndexOnDisk();
    EXPECT_EQ(index.pageCount, 1u);
    ASSERT_EQ(index.groups.size(), 1u);
    EXPECT_EQ(index.groups[0].pages[0].title, L"1");
    const std::vector<uint8_t> page = lhltest::ReadBytes(DataFolder() + name);
    ASSERT_EQ(page.size(), 260u) << "header and end marker only";
    EXPECT_EQ(ByteReader(page).U32At(4), 0u);
    EXPECT_EQ(ByteReader(page).U32At(8), 1u);
    EXPECT_EQ(ByteReader(page).U32At(256), 255u);
    Restart();
    EXPECT_EQ(Store().GetPageCount(), 1u);
    EXPECT_EQ(Store().Groups()[0].fileName, name) << "the restart did not reuse the saved page";
}

TEST_F(PageStoreTest, TheSeventeenthPageIsTheLast) {
    for (int i = 2; i <= 17; ++i) EXPECT_EQ(AddPageTitled(L""), static_cast<uint32_t>(i));
    MessageBoxAnswerer user(IDOK);
    EXPECT_EQ(AddPageTitled(L""), 17u);
    EXPECT_EQ(user.OnlyText(), L"Page is full. Add fail!");
    EXPECT_EQ(Store().GetPageCount(), 17u);
    EXPECT_EQ(Store().Groups().size(), 4u) << "groups of five pages";
    EXPECT_EQ(Config().m_pageTitles.size(), 17u);
    EXPECT_EQ(Config().m_pageTitles[16], L"17");
}

TEST_F(PageStoreTest, ASixthPageMakesASecondGroupAndDeletingItRemovesIt) {
    for (int i = 0; i < 4; ++i) Store().AddPage();
    ASSERT_EQ(Store().Groups().size(), 1u);
    Store().AddPage();
    ASSERT_EQ(Store().Groups().size(), 2u);
    const std::wstring second = Store().Groups()[1].fileName;
    EXPECT_NE(second, Store().Groups()[0].fileName) << "two groups made in one second share a file";
    EXPECT_TRUE(lhltest::FileExists(DataFolder() + second));
    SwitchTo(6);
    EXPECT_EQ(Store().DeletePage(), 4u);
    EXPECT_EQ(Store().Groups().size(), 1u);
    EXPECT_FALSE(lhltest::FileExists(DataFolder() + second)) << "the group's page file stayed";
    EXPECT_EQ(Store().GetCurrentPage(), 4u);
    EXPECT_EQ(IndexOnDisk().pageCount, 5u);
}

TEST_F(PageStoreTest, DeletingPage3Of5RenumbersTheTabs) {
    AddPageTitled(L"Two");
    AddPageTitled(L"");
    AddPageTitled(L"");
    AddPageTitled(L"Five");
    SwitchTo(4);
    Store().SetPageProperties(L"", L"", 1, 2, 3, 4); // page 4 loses its title
    SwitchTo(3);
    Store().DeletePage();
    Settle();
    EXPECT_EQ(Store().GetCurrentPage(), 1u) << "page 2 should be current";
    ASSERT_EQ(Store().GetPageCount(), 4u);
    // A title made from the page's number when it was added stays; an empty one shows the number.
    const wchar_t* captions[] = {L"1", L"Two", L"3", L"Five"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(Store().Tabs()[i].button->GetWindowText(), captions[i]) << "tab " << i;
        EXPECT_EQ(Store().Tabs()[i].button->GetPageNumber(), static_cast<int>(i + 1));
    }
    DWORD index = 99;
    fw::CRegKey key;
    key.Open(HKEY_CURRENT_USER, kRegistryKey, KEY_READ);
    key.QueryDWORDValue(L"index", index);
    EXPECT_EQ(index, 1u) << "the shown page was not stored";
}

TEST_F(PageStoreTest, TheFirstPageCannotBeDeleted) {
    EXPECT_EQ(Store().DeletePage(), 2u);
    Store().AddPage();
    EXPECT_EQ(Store().DeletePage(), 2u) << "page 1 is shown";
    EXPECT_EQ(Store().GetPageCount(), 2u);
}

TEST_F(PageStoreTest, AStoredIndexBeyondThePagesShowsTheFirstPage) {
    Store().AddPage();
    ClosePanel();
    for (DWORD stored : {DWORD{2}, DWORD{65534}}) {
        fw::CRegKey key;
        key.Create(HKEY_CURRENT_USER, kRegistryKey);
        key.SetDWORDValue(L"index", stored);
        OpenPanel();
        EXPECT_EQ(Store().GetCurrentPage(), 0u) << "stored index " << stored;
        EXPECT_EQ(Store().Tabs()[0].button->GetCurrentMark(), 1);
        ClosePanel();
    }
    OpenPanel();
}

TEST(PageGrid, FourByFourOn300PixelsHas73PixelCellsAt75PixelSteps) {
    lhltest::BareStore bare(0, 20, 300, 320);
    const auto& cells = bare.Store().Cells();
    ASSERT_EQ(cells.size(), 16u);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            const RECT& rc = cells[static_cast<size_t>(r * 4 + c)].rect;
            EXPECT_EQ(rc.left, c * 75) << r << "," << c;
            EXPECT_EQ(rc.top, 20 + r * 75);
            EXPECT_EQ(rc.right - rc.left, 73);
            EXPECT_EQ(rc.bottom - rc.top, 73);
        }
    }
}

TEST(PageTabs, TabsNarrowWhenTheStripIsFullAndWidenAgain) {
    lhltest::BareStore bare;
    PageStore& store = bare.Store();
    EXPECT_EQ(store.TabWidth(), 50);
    for (int i = 0; i < 5; ++i) store.AddPage();
    EXPECT_EQ(store.Tabs()[5].rect.left, 250);
    EXPECT_EQ(store.Tabs()[5].rect.right - store.Tabs()[5].rect.left, 50);
    store.AddPage();
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(store.Tabs()[i].rect.right - store.Tabs()[i].rect.left, 42) << "tab " << i;
        EXPECT_EQ(store.Tabs()[i].rect.left, static_cast<int>(i) * 42);
    }
    store.SetCurrentPage(6);
    store.DeletePage();
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(store.Tabs()[i].rect.right - store.Tabs()[i].rect.left, 50) << "tab " << i;
}

TEST_F(PageStoreTest, TheSeventeenthFileOnAFullGridIsRefusedUntilACellIsFreed) {
    std::vector<std::wstring> files;
    for (int i = 0; i < 16; ++i) {
        files.push_back(MakeFile(L"f" + std::to_wstring(i) + L".txt"));
        ASSERT_EQ(Store().AddFileItem(files.back()), 0);
    }
    EXPECT_EQ(Store().AddFileItem(MakeFile(L"extra.txt")), 1) << "a full page took a 17th item";
    Store().ButtonAtCell(6)->DeleteItem();
    Settle();
    EXPECT_EQ(Store().AddFileItem(MakeFile(L"extra.txt")), 0);
    EXPECT_EQ(TargetsByCell()[5], MakeFile(L"extra.txt")) << "the freed cell was not reused";
}

TEST_F(PageStoreTest, AlignMovesItemsIntoTheFirstCellsInOrder) {
    const std::wstring a = MakeFile(L"a.txt"), b = MakeFile(L"b.txt"), c = MakeFile(L"c.txt");
    POINT p = CellCentre(2);
    Store().AddFileItemAt(p.x, p.y, a);
    p = CellCentre(5);
    Store().AddFileItemAt(p.x, p.y, b);
    p = CellCentre(9);
    Store().AddFileItemAt(p.x, p.y, c);
    Store().AlignItems();
    Settle();
    const std::vector<std::wstring> targets = TargetsByCell();
    EXPECT_EQ(targets[0], a);
    EXPECT_EQ(targets[1], b);
    EXPECT_EQ(targets[2], c);
    EXPECT_EQ(targets[4], L"");
    EXPECT_EQ(targets[8], L"");
    Restart();
    EXPECT_EQ(TargetsByCell()[2], c) << "the aligned page was not saved";
}

TEST_F(PageStoreTest, TextsGetUntitledAndPointsOutsideTheGridAreHandledByKind) {
    Store().AddTextItemAt(0, 0, L"", L"some text"); // the tab row: no cell
    ASSERT_NE(Store().ButtonAtCell(1), nullptr) << "a text outside the grid goes to the first free cell";
    EXPECT_EQ(Store().ButtonAtCell(1)->GetTitle(), L"Untitled");
    Store().AddFileItemAt(0, 0, MakeFile(L"a.txt"));
    EXPECT_EQ(Store().ButtonAtCell(2), nullptr) << "a file dropped on the tab row was added";
    Store().AddLinkItemAt(-50, -50, L"", L"example.org");
    EXPECT_EQ(Store().ButtonAtCell(2)->GetTitle(), L"") << "links keep their empty title";
}

TEST_F(PageStoreTest, EmptyButtonsAreReusedAfterASwitch) {
    for (int i = 0; i < 5; ++i) Store().AddFileItem(MakeFile(L"p1_" + std::to_wstring(i) + L".txt"));
    Store().AddPage();
    SwitchTo(2);
    Store().AddFileItem(MakeFile(L"p2_a.txt"));
    Store().AddFileItem(MakeFile(L"p2_b.txt"));
    SwitchTo(1);
    EXPECT_EQ(TargetsByCell()[4], MakeFile(L"p1_4.txt"));
    SwitchTo(2);
    const std::vector<std::wstring> targets = TargetsByCell();
    EXPECT_EQ(targets[0], MakeFile(L"p2_a.txt"));
    EXPECT_EQ(targets[2], L"") << "page 1's items leaked onto page 2";
    EXPECT_EQ(Store().AddFileItem(MakeFile(L"p2_c.txt")), 0);
    EXPECT_EQ(TargetsByCell()[2], MakeFile(L"p2_c.txt")) << "the next add did not take the first empty cell";
}

// A switch changes the buttons in place: what shows afterwards is exactly the new page, and the
// panel's painting is back on if it was shown, off screen if it was hidden.
TEST_F(PageStoreTest, ASwitchShowsExactlyTheNewPageAndLeavesThePanelAsItWas) {
    for (int i = 0; i < 5; ++i) Store().AddFileItem(MakeFile(L"five_" + std::to_wstring(i) + L".txt"));
    Store().AddPage();
    SwitchTo(2);
    Store().AddFileItem(MakeFile(L"two_a.txt"));
    Store().AddFileItem(MakeFile(L"two_b.txt"));
    SwitchTo(1);
    ::ShowWindow(PanelWindow(), SW_SHOWNA);
    Settle();
    const auto shown = [this](uint32_t cell) {
        CButtonEx* b = Store().ButtonAtCell(cell);
        return b && b->HasVisibleStyle() ? b->GetWindowText() : std::wstring(L"(hidden)");
    };
    EXPECT_EQ(shown(5), L"five_4.txt");
    SwitchTo(2);
    EXPECT_TRUE(::IsWindowVisible(PanelWindow())) << "the shown panel stayed without redrawing";
    EXPECT_EQ(shown(1), L"two_a.txt");
    EXPECT_EQ(shown(2), L"two_b.txt");
    for (uint32_t cell = 3; cell <= 5; ++cell) {
        EXPECT_EQ(shown(cell), L"(hidden)") << "cell " << cell << " still shows page 1";
        if (CButtonEx* b = Store().ButtonAtCell(cell)) {
            EXPECT_EQ(b->GetWindowText(), L"");
        }
    }
    ::ShowWindow(PanelWindow(), SW_HIDE);
    SwitchTo(1);
    EXPECT_FALSE(::GetWindowLongPtrW(PanelWindow(), GWL_STYLE) & WS_VISIBLE) << "the hidden panel was marked shown";
    for (uint32_t cell = 1; cell <= 5; ++cell)
        EXPECT_EQ(Store().ButtonAtCell(cell)->GetWindowText(), L"five_" + std::to_wstring(cell - 1) + L".txt");
}

TEST_F(PageStoreTest, SavedRecordsFollowButtonOrderAndLoadWithoutEmptyRecords) {
    const std::wstring five = MakeFile(L"five.txt"), two = MakeFile(L"two.txt");
    POINT p = CellCentre(5);
    Store().AddFileItemAt(p.x, p.y, five);
    p = CellCentre(2);
    Store().AddFileItemAt(p.x, p.y, two);
    std::vector<PageItems> pages;
    ASSERT_EQ(DecodePageFile(lhltest::ReadBytes(DataFolder() + Store().Groups()[0].fileName), pages), PageFileStatus::Read);
    ASSERT_EQ(pages[0].size(), 2u);
    EXPECT_EQ(pages[0][0].cell, 5u) << "records are written in button order";
    EXPECT_EQ(pages[0][1].cell, 2u);
    EXPECT_EQ(pages[0][0].target, five);
    Store().ButtonAtCell(2)->DeleteItem(); // a save with the buttons sorted, and one empty record
    std::vector<uint8_t> bytes = lhltest::ReadBytes(DataFolder() + Store().Groups()[0].fileName);
    EXPECT_EQ(ByteReader(bytes).U32At(256), 2u) << "the record count stays; the freed record is empty";
    ASSERT_EQ(DecodePageFile(bytes, pages), PageFileStatus::Read);
    ASSERT_EQ(pages[0].size(), 1u) << "the empty record was not dropped on load";
    EXPECT_EQ(pages[0][0].target, five);
}

TEST_F(PageStoreTest, TheBackupQuestionDecidesWhetherTheOldPagesComeBack) {
    Store().AddFileItem(MakeFile(L"kept.txt"));
    Store().AddPage(); // the second save of the index leaves the first in its backup
    ClosePanel();
    ASSERT_TRUE(::DeleteFileW((DataFolder() + L"pages_info.dat").c_str()));
    {
        MessageBoxAnswerer user(IDYES);
        OpenPanel();
        EXPECT_EQ(user.OnlyText(), L"Start with last correct setting?");
        EXPECT_EQ(Store().GetPageCount(), 1u) << "the backup holds the version before the second page";
        EXPECT_EQ(TargetsByCell()[0], MakeFile(L"kept.txt"));
        ClosePanel();
    }
    // Loading from the backup wrote nothing, so the index file is still missing.
    ASSERT_FALSE(lhltest::FileExists(DataFolder() + L"pages_info.dat"));
    MessageBoxAnswerer user(IDNO);
    OpenPanel();
    EXPECT_EQ(user.Count(), 1u);
    EXPECT_EQ(TargetsByCell()[0], L"") << "No must start fresh";
}

TEST_F(PageStoreTest, FirstRunItemsComeFromTheRegistryFlagsOnce) {
    ClosePanel();
    EmptyData();
    fw::CRegKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, kRegistryKey), ERROR_SUCCESS);
    key.SetDWORDValue(L"MyComputer", 1);
    key.SetDWORDValue(L"StartWeb", 1);
    OpenPanel();
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    ASSERT_NE(Store().ButtonAtCell(1), nullptr);
    EXPECT_EQ(Store().ButtonAtCell(1)->GetTarget(), fw::WithTrailingBackslash(windows) + L"explorer.exe");
    ASSERT_NE(Store().ButtonAtCell(2), nullptr);
    EXPECT_EQ(Store().ButtonAtCell(2)->GetTitle(), L"Go QuenvidWorks");
    DWORD value = 0;
    EXPECT_NE(key.QueryDWORDValue(L"MyComputer", value), ERROR_SUCCESS) << "the flag was not deleted";
    EXPECT_NE(key.QueryDWORDValue(L"StartWeb", value), ERROR_SUCCESS);
    Restart();
    EXPECT_EQ(Store().ButtonAtCell(3), nullptr) << "first-run items were added twice";
}

TEST_F(PageStoreTest, AGroupWhoseFilesAreLostDoesNotShiftOtherPagesItems) {
    for (int i = 0; i < 5; ++i) Store().AddPage(); // pages 1-5 in group 0, page 6 in group 1
    SwitchTo(6);
    Store().AddFileItem(MakeFile(L"six.txt"));
    SwitchTo(1);
    Store().AddFileItem(MakeFile(L"one.txt"));
    const std::wstring first = Store().Groups()[0].fileName;
    ClosePanel();
    ::DeleteFileW((DataFolder() + first).c_str());
    ::DeleteFileW((DataFolder() + first + L"_bak").c_str());
    OpenPanel();
    EXPECT_EQ(TargetsByCell()[0], L"") << "page 1 lost its file and must be empty";
    SwitchTo(6);
    EXPECT_EQ(TargetsByCell()[0], MakeFile(L"six.txt")) << "page 6's item moved to another page";
}

TEST_F(PageStoreTest, MovingToAFullPageKeepsTheItemOnItsButton) {
    Store().AddPage();
    SwitchTo(2);
    for (int i = 0; i < 16; ++i) Store().AddFileItem(MakeFile(L"full" + std::to_wstring(i) + L".txt"));
    SwitchTo(1);
    const std::wstring mine = MakeFile(L"mine.txt");
    Store().AddFileItem(mine);
    TakeForMoveTo(1);
    MessageBoxAnswerer user(IDOK);
    EXPECT_EQ(::SendMessageW(PanelWindow(), UM_SWITCH_PAGE, 2, 1), 1);
    Settle();
    EXPECT_EQ(user.OnlyText(), L"Target page is full, operate failed.");
    EXPECT_EQ(Store().GetCurrentPage(), 0u);
    ASSERT_NE(Store().ButtonAtCell(1), nullptr);
    EXPECT_EQ(Store().ButtonAtCell(1)->GetTarget(), mine) << "the moved item was lost";
    Restart();
    EXPECT_EQ(TargetsByCell()[0], mine) << "the returned item was not saved";
}

TEST_F(PageStoreTest, MoveToAnotherPagePlacesTheItemThere) {
    Store().AddPage();
    const std::wstring mine = MakeFile(L"mine.txt");
    Store().AddFileItem(mine);
    TakeForMoveTo(1);
    EXPECT_EQ(::SendMessageW(PanelWindow(), UM_SWITCH_PAGE, 2, 1), 0);
    Settle();
    EXPECT_EQ(Store().GetCurrentPage(), 1u);
    EXPECT_EQ(TargetsByCell()[0], mine);
    SwitchTo(1);
    EXPECT_EQ(TargetsByCell()[0], L"") << "the item stayed on its old page too";
}

// A crafted index could make the launcher write and delete files wherever it names; it is
// refused like any damaged index, and its backup takes over.
TEST_F(PageStoreTest, AnIndexNamingAFileOutsideTheDataFolderIsRefusedForItsBackup) {
    const std::wstring kept = MakeFile(L"kept.txt");
    Store().AddFileItem(kept);
    Store().AddPage(); // leaves a good index in the backup
    ClosePanel();
    IndexFile index = IndexOnDisk();
    index.groups[0].fileName = L"..\\outside.dat";
    lhltest::WriteBytes(DataFolder() + L"pages_info.dat", EncodeIndex(index.pageCount, index.groups));
    const std::wstring outside = DataFolder() + L"..\\outside.dat";
    ::DeleteFileW(outside.c_str());
    MessageBoxAnswerer user(IDYES);
    OpenPanel();
    EXPECT_EQ(user.OnlyText(), L"Start with last correct setting?");
    EXPECT_EQ(TargetsByCell()[0], kept);
    Store().AddFileItem(MakeFile(L"more.txt"));
    Store().AddPage();
    SwitchTo(2);
    Store().DeletePage();
    Settle();
    EXPECT_FALSE(lhltest::FileExists(outside)) << "a page file was written outside the data folder";
    for (const std::wstring& name : PageFiles()) EXPECT_TRUE(IsPlainFileName(name)) << "kept a bad name";
}

// Two groups made within one second by an older version share a file name. The file holds the
// pages its header names; the other group starts empty, and both get files of their own at once.
TEST_F(PageStoreTest, GroupsSharingAFileKeepWhatItHoldsAndGetFilesOfTheirOwn) {
    ClosePanel();
    PageGroup first, second;
    first.fileName = second.fileName = L"pages_info_2010_3_7_9_5_30.dat";
    for (int i = 0; i < 5; ++i) first.pages.push_back(LauncherPage{1, 2, 3, 4, L"A" + std::to_wstring(i), L""});
    second.pages = {LauncherPage{1, 2, 3, 4, L"B0", L""}, LauncherPage{1, 2, 3, 4, L"B1", L""}};
    lhltest::WriteBytes(DataFolder() + L"pages_info.dat", EncodeIndex(7, {first, second}));
    const PageItems b1{LauncherItem{kKindLink, 3, L"kept", L"www.example.org"}};
    const PageItems empty;
    lhltest::WriteBytes(DataFolder() + first.fileName, EncodePageFile(5, 7, {&empty, &b1})); // the second wrote last
    OpenPanel();
    ASSERT_EQ(Store().GetPageCount(), 7u) << "the index was refused";
    ASSERT_EQ(Store().Groups().size(), 2u);
    EXPECT_FALSE(SameFileName(Store().Groups()[0].fileName, Store().Groups()[1].fileName)) << "still one file";
    const auto itemsOf = [&](uint32_t page) {
        size_t n = 0;
        if (page < Store().ItemLists().size())
            for (const LauncherItem& i : Store().ItemLists()[page]) n += i.HoldsItem() ? 1 : 0;
        return n;
    };
    EXPECT_EQ(itemsOf(6), 1u) << "the file's own pages lost their item";
    EXPECT_EQ(itemsOf(1), 0u) << "the other group took the item too";
    Restart();
    EXPECT_EQ(Store().GetPageCount(), 7u);
    EXPECT_EQ(itemsOf(6), 1u) << "the new file names were not written";
    EXPECT_EQ(IndexOnDisk().groups[1].fileName, Store().Groups()[1].fileName);
}

// With the grid made smaller a page can look empty and still hold items; Delete asks first.
TEST_F(PageStoreTest, DeletingAPageThatHoldsItemsOutOfViewAsksFirst) {
    ClosePanel();
    lhltest::WriteTestSettings(5);
    OpenPanel();
    Store().AddPage();
    SwitchTo(2);
    const POINT outer = CellCentre(25);
    ASSERT_TRUE(Store().AddFileItemAt(outer.x, outer.y, MakeFile(L"far.txt")));
    ClosePanel();
    lhltest::WriteTestSettings(4);
    OpenPanel();
    ASSERT_EQ(Store().GetCurrentPage(), 1u);
    {
        MessageBoxAnswerer user(IDNO);
        Store().DeletePage();
        Settle();
        EXPECT_NE(user.OnlyText().find(L"holds 1 item out of view (beyond the current grid). Delete the page with it?"),
                  std::wstring::npos) << user.OnlyText();
        EXPECT_EQ(Store().GetPageCount(), 2u) << "deleted without asking";
    }
    MessageBoxAnswerer user(IDYES);
    Store().DeletePage();
    Settle();
    EXPECT_EQ(Store().GetPageCount(), 1u);
}

// Any program can send the switch message with the "moving" flag while nothing moves: no box.
TEST_F(PageStoreTest, AMoveToSwitchWithNothingMovingSaysNothing) {
    Store().AddPage();
    MessageBoxAnswerer user(IDOK);
    EXPECT_EQ(::SendMessageW(PanelWindow(), UM_SWITCH_PAGE, 2, 1), 1);
    Settle();
    EXPECT_EQ(user.Count(), 0u) << user.OnlyText();
    EXPECT_EQ(Store().GetCurrentPage(), 0u);
}
