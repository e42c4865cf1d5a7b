// Paths that the options change: moving items between pages and tidying the desktop with and
// without the page tint on switching, a grid made smaller and larger again, and a page switch
// asked for while an item's Move frame follows the mouse.
#include "ButtonEx.h"
#include "MessageBoxAnswerer.h"
#include "PageCodec.h"
#include "PanelHarness.h"
#include "PanelMessages.h"
#include "resource.h"
#include <atomic>
#include <commctrl.h>
#include <map>
#include <thread>

using namespace lhl;
using lhltest::MessageBoxAnswerer;

namespace {

constexpr UINT kMoveToFirstCommand = 40000; // the item menu's "Move To" entries, page by page

class OptionCombinations : public lhltest::PanelTest {
protected:
    void FillShownPage(const std::wstring& stem, uint32_t count) {
        for (uint32_t i = 0; i < count; ++i)
            ASSERT_EQ(Store().AddFileItem(MakeFile(stem + std::to_wstring(i) + L".txt")), 0) << stem << i;
    }
    void PutAt(uint32_t cell, const std::wstring& path) {
        const POINT p = CellCentre(cell);
        ASSERT_TRUE(Store().AddFileItemAt(p.x, p.y, path));
    }
    // The item's own "Move To" menu command, as the user picks it.
    void MoveToPage(uint32_t cell, uint32_t pageNumber) {
        CButtonEx* button = Store().ButtonAtCell(cell);
        ASSERT_NE(button, nullptr);
        Config().m_moveSourcePage = Store().GetCurrentPage();
        ::SendMessageW(button->m_hWnd, WM_COMMAND, kMoveToFirstCommand + pageNumber - 1, 0);
        Settle();
    }
    // What each page's file holds, by cell; read back from disk after a restart.
    std::map<uint32_t, std::wstring> OnDisk(uint32_t page) {
        std::map<uint32_t, std::wstring> cells;
        if (page >= Store().ItemLists().size()) return cells;
        for (const LauncherItem& item : Store().ItemLists()[page])
            if (item.HoldsItem()) cells[item.cell] = item.target;
        return cells;
    }
    size_t ItemCount(uint32_t page) { return OnDisk(page).size(); }
};

class MoveAndTidyWithTint : public OptionCombinations, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        OptionCombinations::SetUp();
        RestartWith([](ConfigSettings& s) {
            s.unitsPerRow = 3;
            s.changeBackgroundOnSwitch = GetParam() ? 1 : 0;
        });
    }
};

TEST_P(MoveAndTidyWithTint, MoveToAFullSourcesNeighbourPlacesTheItemInItsFirstFreeCell) {
    Store().AddPage();
    SwitchTo(2);
    const std::wstring there = MakeFile(L"there.txt");
    PutAt(5, there);
    SwitchTo(1);
    FillShownPage(L"src", 9);
    const std::wstring moving = Store().ButtonAtCell(5)->GetTarget();

    MessageBoxAnswerer user(IDOK);
    MoveToPage(5, 2);
    EXPECT_EQ(user.Count(), 0u) << user.OnlyText();
    EXPECT_EQ(Store().GetCurrentPage(), 1u) << "Move To shows the target page";
    ASSERT_NE(Store().ButtonAtCell(1), nullptr);
    EXPECT_EQ(Store().ButtonAtCell(1)->GetTarget(), moving) << "the moved item is not in the first free cell";
    EXPECT_EQ(Store().ButtonAtCell(5)->GetTarget(), there);

    Restart();
    EXPECT_EQ(OnDisk(1), (std::map<uint32_t, std::wstring>{{1, moving}, {5, there}}));
    EXPECT_EQ(ItemCount(0), 8u) << "the source page still holds the moved item, or lost another";
    EXPECT_EQ(OnDisk(0).count(5), 0u);
}

TEST_P(MoveAndTidyWithTint, MoveToAFullPageLeavesTheItemWhereItWasWithTheMessage) {
    Store().AddPage();
    SwitchTo(2);
    FillShownPage(L"full", 9);
    SwitchTo(1);
    FillShownPage(L"mine", 2);
    const std::wstring mine = Store().ButtonAtCell(2)->GetTarget();
    MessageBoxAnswerer user(IDOK);
    MoveToPage(2, 2);
    EXPECT_EQ(user.OnlyText(), L"Target page is full, operate failed.");
    EXPECT_EQ(Store().GetCurrentPage(), 0u);
    ASSERT_NE(Store().ButtonAtCell(2), nullptr);
    EXPECT_EQ(Store().ButtonAtCell(2)->GetTarget(), mine);
    EXPECT_TRUE(::IsWindowEnabled(Store().ButtonAtCell(2)->m_hWnd)) << "the returned item cannot be clicked";
    Restart();
    EXPECT_EQ(ItemCount(0), 2u);
    EXPECT_EQ(ItemCount(1), 9u);
}

// A page switch while a Move To is pending sees the target's cells as the target's records say,
// whatever the previous page left on the buttons: here every cell of the shown page is taken.
TEST_P(MoveAndTidyWithTint, MovesBackAndForthBetweenFullishPagesLoseNothing) {
    Store().AddPage();
    FillShownPage(L"a", 8);
    SwitchTo(2);
    FillShownPage(L"b", 8);
    MessageBoxAnswerer user(IDOK);
    for (int round = 0; round < 6; ++round) {
        const uint32_t shown = Store().GetCurrentPage();
        const uint32_t cell = 1 + static_cast<uint32_t>(round) % 8;
        if (!Store().ButtonAtCell(cell) || Store().ButtonAtCell(cell)->IsEmptyItem()) continue;
        MoveToPage(cell, shown == 0 ? 2 : 1);
    }
    Restart();
    EXPECT_EQ(ItemCount(0) + ItemCount(1), 16u);
}

TEST_P(MoveAndTidyWithTint, TidyDesktopWithAFullPageShownFillsItsNewPages) {
    FillShownPage(L"taken", 9);
    const std::wstring desktop = lhltest::DataFolder() + L"fake desktop\\";
    ::CreateDirectoryW(desktop.c_str(), nullptr);
    std::vector<std::wstring> paths;
    for (int i = 0; i < 12; ++i) {
        paths.push_back(desktop + L"desk" + std::to_wstring(i) + L".txt");
        lhltest::WriteBytes(paths.back(), {'x'});
    }
    Store().TidyDesktop(paths);
    Settle();
    ASSERT_EQ(Store().GetPageCount(), 3u) << "empty or missing desktop pages";
    Restart();
    EXPECT_EQ(ItemCount(0), 9u);
    EXPECT_EQ(ItemCount(1), 9u);
    EXPECT_EQ(ItemCount(2), 3u);
}

INSTANTIATE_TEST_SUITE_P(TintOnSwitch, MoveAndTidyWithTint, ::testing::Bool());

TEST_F(OptionCombinations, ItemsBeyondALoweredGridStayInTheirCellsUntilItGrowsAgain) {
    RestartWith([](ConfigSettings& s) { s.unitsPerRow = 5; });
    FillShownPage(L"p1-", 25);
    const std::map<uint32_t, std::wstring> before = OnDisk(0);
    Store().AddPage();
    SwitchTo(2);
    FillShownPage(L"p2-", 20);
    const std::map<uint32_t, std::wstring> second = OnDisk(1);

    RestartWith([](ConfigSettings& s) { s.unitsPerRow = 4; });
    ASSERT_EQ(Store().Cells().size(), 16u);
    SwitchTo(1);
    // Everyday changes on the smaller grid: a page save, a cleared cell refilled, a tidy-up.
    Store().ButtonAtCell(3)->DeleteItem();
    Settle();
    const std::wstring refill = MakeFile(L"refill.txt");
    ASSERT_EQ(Store().AddFileItem(refill), 0);
    Store().AlignItems();
    Settle();
    SwitchTo(2);
    Store().ClearPage();
    SwitchTo(1);
    Restart();
    EXPECT_EQ(ItemCount(0), 25u) << "items beyond the smaller grid left the files";

    RestartWith([](ConfigSettings& s) { s.unitsPerRow = 5; });
    std::map<uint32_t, std::wstring> expected = before;
    expected[3] = refill;
    EXPECT_EQ(OnDisk(0), expected) << "items did not come back in their cells";
    for (uint32_t cell = 17; cell <= 20; ++cell) {
        ASSERT_TRUE(OnDisk(1).count(cell)) << "page 2 lost cell " << cell << " to Clear All on the small grid";
        EXPECT_EQ(OnDisk(1)[cell], second.at(cell));
    }
    EXPECT_EQ(ItemCount(1), 4u);
    SwitchTo(1);
    ASSERT_NE(Store().ButtonAtCell(25), nullptr);
    EXPECT_EQ(Store().ButtonAtCell(25)->GetTarget(), before.at(25)) << "the grown grid does not show it";
}

TEST_F(OptionCombinations, AFullGridWithItemsBeyondItIsStillFullAndAMovedItemFindsFreeCellsOnly) {
    RestartWith([](ConfigSettings& s) { s.unitsPerRow = 4; });
    Store().AddPage();
    SwitchTo(2);
    FillShownPage(L"low", 10);
    SwitchTo(1);
    RestartWith([](ConfigSettings& s) { s.unitsPerRow = 3; });
    SwitchTo(1);
    const std::wstring mine = MakeFile(L"mine.txt");
    ASSERT_EQ(Store().AddFileItem(mine), 0);
    MessageBoxAnswerer user(IDOK);
    MoveToPage(1, 2);
    EXPECT_EQ(user.OnlyText(), L"Target page is full, operate failed.") << "the 3 x 3 part of page 2 is full";
    EXPECT_EQ(Store().ButtonAtCell(1)->GetTarget(), mine);
    RestartWith([](ConfigSettings& s) { s.unitsPerRow = 4; });
    EXPECT_EQ(ItemCount(1), 10u);
    EXPECT_EQ(ItemCount(0), 1u);
}

// Plays the user at the options sheet from another thread: the Advanced page, the grid slider
// moved, what the page then says about items out of view, OK.
void ChooseGridInOptions(int units, std::wstring& said, std::atomic<bool>& done) {
    for (int i = 0; i < 500 && !done; ++i, ::Sleep(20)) {
        HWND sheet = ::FindWindowW(L"#32770", L"Options");
        DWORD pid = 0;
        if (sheet) ::GetWindowThreadProcessId(sheet, &pid);
        if (!sheet || pid != ::GetCurrentProcessId() || !::IsWindowVisible(sheet)) continue;
        ::SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
        auto page = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        HWND slider = ::GetDlgItem(page, 1035);
        ::SendMessageW(slider, TBM_SETPOS, TRUE, units);
        ::SendMessageW(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, units), reinterpret_cast<LPARAM>(slider));
        wchar_t text[128] = {};
        ::GetDlgItemTextW(page, 1044, text, 128);
        said = text;
        ::PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        done = true;
    }
}

TEST_F(OptionCombinations, TheOptionsCountTheItemsASmallerGridHidesAndAskBeforeKeepingIt) {
    RestartWith([](ConfigSettings& s) { s.unitsPerRow = 5; });
    FillShownPage(L"p1-", 25);
    Store().AddPage();
    SwitchTo(2);
    FillShownPage(L"p2-", 20);
    for (int answer : {IDNO, IDYES}) {
        MessageBoxAnswerer user(answer);
        std::wstring said;
        std::atomic<bool> done{false};
        std::thread player([&] { ChooseGridInOptions(4, said, done); });
        m_panel->SendMessage(WM_COMMAND, ID_TRAY_OPTIONS);
        player.join();
        ASSERT_TRUE(done) << "the options sheet did not appear";
        EXPECT_EQ(said, L"Items out of view: 13 (kept on their pages)");
        ASSERT_EQ(user.Count(), 1u) << "no question before the smaller grid was kept";
        EXPECT_NE(user.Seen()[0].text.find(L"4 x 4 grid: 13."), std::wstring::npos) << "the question does not count them";
        EXPECT_EQ(Config().Settings().unitsPerRow, answer == IDYES ? 4 : 5);
    }
    Restart();
    EXPECT_EQ(Store().Cells().size(), 16u);
    EXPECT_EQ(ItemCount(0) + ItemCount(1), 45u);
}

// Plays the user at an item's Properties dialog: waits for it, asks the panel meanwhile to change
// its buttons (Align from the page menu), types a new text, OK.
void EditTextWhileThePanelRefreshes(HWND panel, std::atomic<bool>& done) {
    for (int i = 0; i < 500 && !done; ++i, ::Sleep(20)) {
        HWND dialog = ::FindWindowW(L"#32770", L"Add Text Clipboard");
        DWORD pid = 0;
        if (dialog) ::GetWindowThreadProcessId(dialog, &pid);
        if (!dialog || pid != ::GetCurrentProcessId() || !::IsWindowVisible(dialog)) continue;
        ::SendMessageW(panel, WM_COMMAND, ID_PAGE_ALIGN, 0);
        ::SetDlgItemTextW(dialog, 1004, L"edited while the panel changed");
        ::PostMessageW(dialog, WM_COMMAND, 1061, 0);
        done = true;
    }
}

// While an item's own dialog is open the panel takes no commands that change its buttons, and the
// edit lands on the item it was made for.
TEST_F(OptionCombinations, AnItemsPropertiesDialogKeepsThePanelsButtonsUntilItCloses) {
    RestartWith([](ConfigSettings& s) { s.changeBackgroundOnSwitch = 1; });
    const POINT at = CellCentre(6);
    ASSERT_EQ(Store().AddTextItemAt(at.x, at.y, L"note", L"old text"), 0);
    CButtonEx* button = Store().ButtonAtCell(6);
    ASSERT_NE(button, nullptr);
    MessageBoxAnswerer user(IDYES); // "replace?" when the edited text is stored
    std::atomic<bool> done{false};
    std::thread player([&] { EditTextWhileThePanelRefreshes(PanelWindow(), done); });
    ::SendMessageW(button->m_hWnd, WM_COMMAND, ID_ITEM_PROPERTIES, 0);
    player.join();
    Settle();
    ASSERT_TRUE(done) << "the Properties dialog did not appear";
    ASSERT_NE(Store().ButtonAtCell(6), nullptr) << "the buttons changed under the open dialog";
    EXPECT_EQ(Store().ButtonAtCell(6)->GetTarget(), L"edited while the panel changed");
    Restart();
    EXPECT_EQ(OnDisk(0), (std::map<uint32_t, std::wstring>{{6, L"edited while the panel changed"}}));
}

// The Move frame runs its own message loop and hands other messages on; a wheel turn there must
// not switch the page under the button that runs it, tint or not.
TEST_F(OptionCombinations, AWheelTurnDuringAMoveNeitherSwitchesNorLosesTheItem) {
    RestartWith([](ConfigSettings& s) { s.changeBackgroundOnSwitch = 1; });
    Store().AddPage();
    SwitchTo(1);
    const std::wstring mine = MakeFile(L"mine.txt");
    ASSERT_EQ(Store().AddFileItem(mine), 0);
    CButtonEx* button = Store().ButtonAtCell(1);
    ASSERT_NE(button, nullptr);
    const POINT to = CellCentre(7);
    ::PostMessageW(PanelWindow(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    ::PostMessageW(PanelWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(to.x, to.y));
    ::PostMessageW(PanelWindow(), WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    ::SendMessageW(button->m_hWnd, WM_COMMAND, ID_ITEM_MOVE, 0);
    Settle();
    EXPECT_EQ(Store().GetCurrentPage(), 0u) << "the page switched during the move";
    ASSERT_NE(Store().ButtonAtCell(7), nullptr);
    EXPECT_EQ(Store().ButtonAtCell(7)->GetTarget(), mine);
    SwitchTo(2); // afterwards pages switch as before
    EXPECT_EQ(Store().GetCurrentPage(), 1u);
    Restart();
    EXPECT_EQ(OnDisk(0), (std::map<uint32_t, std::wstring>{{7, mine}}));
}

} // namespace
