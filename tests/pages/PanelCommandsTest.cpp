// The panel's page menu, keys and wheel on a real panel.
#include "ButtonEx.h"
#include "DialogDriver.h"
#include "MessageBoxAnswerer.h"
#include "PanelHarness.h"
#include "PanelMessages.h"
#include "resource.h"
#include <algorithm>
#include <atomic>
#include <thread>

using namespace lhl;
using lhltest::MessageBoxAnswerer;

namespace {

class PanelCommands : public lhltest::PanelTest {
protected:
    bool KeyUp(WPARAM key) {
        MSG msg{PanelWindow(), WM_KEYUP, key, 0, 0, {}};
        const bool consumed = m_panel->PreTranslateMessage(&msg);
        Settle();
        return consumed;
    }
    void Pages(int count) {
        while (static_cast<int>(Store().GetPageCount()) < count) m_panel->SendMessage(WM_COMMAND, ID_PAGE_NEW);
    }
    uint32_t Current() { return Store().GetCurrentPage(); }
    bool PageHolds(uint32_t page, const std::wstring& target) {
        const PageItems& items = Store().ItemLists().at(page);
        return std::any_of(items.begin(), items.end(), [&](const LauncherItem& i) { return i.HoldsItem() && i.target == target; });
    }
};

constexpr UINT kMoveToFirstPage = 40000; // the item menu's "Move To" entries, page by page

} // namespace

TEST_F(PanelCommands, TabGoesRoundThePagesEitherWay) {
    EXPECT_TRUE(KeyUp(VK_TAB));
    EXPECT_EQ(Current(), 0u) << "with one page Tab does nothing";
    Pages(3);
    KeyUp(VK_TAB);
    KeyUp(VK_TAB);
    EXPECT_EQ(Current(), 2u);
    KeyUp(VK_TAB);
    EXPECT_EQ(Current(), 0u) << "after the last page comes the first";
    Config().Settings().reverseTabOrder = 1;
    KeyUp(VK_TAB);
    EXPECT_EQ(Current(), 2u) << "reversed, before the first comes the last";
}

TEST_F(PanelCommands, DigitKeysSwitchToExistingPagesOnly) {
    Pages(5);
    EXPECT_TRUE(KeyUp('7'));
    EXPECT_EQ(Current(), 0u) << "there is no page 7";
    EXPECT_TRUE(KeyUp(VK_NUMPAD2));
    EXPECT_EQ(Current(), 1u);
    KeyUp('5');
    EXPECT_EQ(Current(), 4u);
    EXPECT_FALSE(KeyUp('A')) << "other keys go on as usual";
}

TEST_F(PanelCommands, DeleteRefusesTheFirstPageAndItsMenuEntryIsGrey) {
    Pages(2);
    HMENU menu = m_panel->BuildPageMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(::GetMenuState(menu, ID_PAGE_DELETE, MF_BYCOMMAND) & MF_GRAYED);
    ::DestroyMenu(menu);
    EXPECT_FALSE(KeyUp(VK_DELETE)) << "Delete is processed as usual after the page command";
    EXPECT_EQ(Store().GetPageCount(), 2u);
    KeyUp('2');
    menu = m_panel->BuildPageMenu();
    EXPECT_FALSE(::GetMenuState(menu, ID_PAGE_DELETE, MF_BYCOMMAND) & MF_GRAYED);
    ::DestroyMenu(menu);
    KeyUp(VK_DELETE);
    EXPECT_EQ(Store().GetPageCount(), 1u) << "Delete on page 2 deletes it without a question";
}

// Pages 1 to 5 share one file. A deleted page 3 whose file cannot be written stays, and the
// user is told: an index giving the file four pages, written then or by a later save, would read
// the old page 3 as page 3 and page 5 not at all.
TEST_F(PanelCommands, ADeletedPageWhoseFileCannotBeWrittenStaysAndTakesNoOtherPageWithIt) {
    Pages(5);
    ASSERT_EQ(Store().Groups().size(), 1u);
    KeyUp('5');
    const std::wstring last = MakeFile(L"last page.txt");
    ASSERT_EQ(Store().AddFileItem(last), 0);
    KeyUp('3');
    const std::wstring file = lhltest::DataFolder() + Store().Groups()[0].fileName;
    HANDLE holder = ::CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    {
        MessageBoxAnswerer user(IDOK);
        m_panel->SendMessage(WM_COMMAND, ID_PAGE_DELETE);
        EXPECT_NE(user.OnlyText().find(L"Page 3 could not be deleted"), std::wstring::npos) << "the user was not told";
    }
    ::CloseHandle(holder);
    EXPECT_EQ(Store().GetPageCount(), 5u) << "the page went from the panel but not from its file";
    EXPECT_TRUE(PageHolds(4, last));
    KeyUp('1');
    Store().SetPageProperties(L"renamed", L"", RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9), RGB(10, 11, 12));
    Restart();
    ASSERT_EQ(Store().GetPageCount(), 5u) << "the index and the page file disagree";
    EXPECT_TRUE(PageHolds(4, last)) << "the last page's item is gone";
}

TEST_F(PanelCommands, ClearAllAsksOnlyWhenThereIsSomethingToClear) {
    {
        MessageBoxAnswerer user(IDYES);
        m_panel->SendMessage(WM_COMMAND, ID_PAGE_CLEAR_ALL);
        EXPECT_EQ(user.Count(), 0u) << "an empty page asked to be cleared";
    }
    Store().AddFileItem(MakeFile(L"a.txt"));
    {
        MessageBoxAnswerer user(IDNO);
        m_panel->SendMessage(WM_COMMAND, ID_PAGE_CLEAR_ALL);
        EXPECT_EQ(user.OnlyText(), L"Clear current page?");
        EXPECT_NE(Store().ButtonAtCell(1), nullptr);
    }
    MessageBoxAnswerer user(IDYES);
    m_panel->SendMessage(WM_COMMAND, ID_PAGE_CLEAR_ALL);
    EXPECT_EQ(Store().ButtonAtCell(1), nullptr) << "Yes must clear the page";
}

TEST_F(PanelCommands, TheWheelTurnsThePages) {
    Pages(3);
    m_panel->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(Current(), 2u) << "down from the first goes to the last";
    m_panel->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(Current(), 0u);
}

TEST_F(PanelCommands, NewPageAddsAPageWithTheNewPageColoursAndKeepsTheShownOne) {
    const std::wstring before = Config().m_page.title;
    m_panel->SendMessage(WM_COMMAND, ID_PAGE_NEW);
    EXPECT_EQ(Store().GetPageCount(), 2u);
    EXPECT_EQ(Store().PageRecord(1)->focusTextColor, 0x0000FFu);
    EXPECT_EQ(Store().PageRecord(1)->title, L"2");
    EXPECT_EQ(Config().m_page.title, before) << "the shown page's block was not restored";
}

TEST_F(PanelCommands, DockSideFlipsTheFlagAndSavesAtOnce) {
    ASSERT_EQ(Config().Settings().dockSide, 1);
    m_panel->SendMessage(WM_COMMAND, ID_TRAY_DOCK);
    EXPECT_EQ(Config().Settings().dockSide, 0);
    LauncherConfig saved;
    ASSERT_EQ(saved.LoadConfig(kConfigFileName), 0);
    EXPECT_EQ(saved.Settings().dockSide, 0) << "the flag was not saved at once";
}

TEST_F(PanelCommands, ExitStoresThePositionWhenAskedAndSaves) {
    Config().Settings().rememberLocation = 1;
    ::SetWindowPos(PanelWindow(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const RECT shown = m_panel->GetWindowRect();
    m_panel->SendMessage(WM_COMMAND, ID_TRAY_EXIT);
    LauncherConfig saved;
    ASSERT_EQ(saved.LoadConfig(kConfigFileName), 0);
    EXPECT_TRUE(::EqualRect(&saved.Settings().windowRect, &shown)) << "Exit did not store the panel's place";
    EXPECT_FALSE(m_panel->IsWindowVisible()) << "Exit must end the panel";
}

TEST_F(PanelCommands, SetClipboardAndAddLinkPutTheirItemUnderTheMenuPoint) {
    POINT cell = CellCentre(6);
    ::ClientToScreen(PanelWindow(), &cell);
    m_panel->SetMenuPoint(cell);
    {
        lhltest::DialogDriver user(L"Add Text Clipboard", 1004, 2); // Esc: cancelled
        m_panel->SendMessage(WM_COMMAND, ID_PAGE_SET_CLIPBOARD);
        EXPECT_TRUE(user.Seen());
    }
    EXPECT_EQ(Store().ButtonAtCell(6), nullptr) << "a cancelled dialog added an item";
    {
        // The driver types nothing: an empty link is not added either.
        lhltest::DialogDriver user(L"Address or Email", 1014, 1061);
        m_panel->SendMessage(WM_COMMAND, ID_PAGE_ADD_LINK);
        EXPECT_TRUE(user.Seen());
    }
    EXPECT_EQ(Store().ButtonAtCell(6), nullptr) << "an empty address was added";
    if (::OpenClipboard(nullptr)) {
        ::EmptyClipboard();
        const std::wstring text = L"pasted \x00E9t\x00E9";
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        memcpy(::GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        ::GlobalUnlock(block);
        ::SetClipboardData(CF_UNICODETEXT, block);
        ::CloseClipboard();
    }
    lhltest::DialogDriver user(L"Add Text Clipboard", 1004, 1061);
    m_panel->SendMessage(WM_COMMAND, ID_PAGE_PASTE);
    EXPECT_EQ(user.ReadText(), L"pasted \x00E9t\x00E9") << "Paste did not fill the dialog with the clipboard";
    ASSERT_NE(Store().ButtonAtCell(6), nullptr);
    EXPECT_EQ(Store().ButtonAtCell(6)->GetTarget(), L"pasted \x00E9t\x00E9");
}

// The double click's file dialog, played by a helper thread: it types a path and presses Open.
TEST_F(PanelCommands, DoubleClickOpensTheFilePickerAndAddsTheChosenFileThere) {
    const std::wstring file = MakeFile(L"picked.txt");
    std::atomic<bool> seen{false};
    std::thread user([&] {
        for (int i = 0; i < 500 && !seen; ++i, ::Sleep(20)) {
            HWND dialog = ::FindWindowW(L"#32770", L"Open");
            DWORD pid = 0;
            if (dialog) ::GetWindowThreadProcessId(dialog, &pid);
            if (!dialog || pid != ::GetCurrentProcessId() || !::IsWindowVisible(dialog)) continue;
            seen = true;
            ::SetDlgItemTextW(dialog, 0x047C, file.c_str()); // the file name box
            ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        }
    });
    const POINT cell = CellCentre(7);
    m_panel->SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(cell.x, cell.y));
    user.join();
    ASSERT_TRUE(seen) << "no file dialog appeared";
    Settle();
    CButtonEx* button = Store().ButtonAtCell(7);
    ASSERT_NE(button, nullptr) << "the chosen file was not added under the double click";
    EXPECT_EQ(button->GetTarget(), file);
}

TEST_F(PanelCommands, WithTheWizardNewPageAddsOnlyOnOkAndKeepsTheShownPageBlock) {
    Config().Settings().newPageWizard = 1;
    const PageBlock before = Config().m_page;
    {
        lhltest::DialogDriver user(L"Page Properties", 1007, 1062); // Cancel
        m_panel->SendMessage(WM_COMMAND, ID_PAGE_NEW);
        ASSERT_TRUE(user.Seen()) << "New Page did not open the wizard";
        EXPECT_EQ(user.ReadText(), L"") << "a new page starts without a title";
    }
    EXPECT_EQ(Store().GetPageCount(), 1u) << "a cancelled wizard added a page";
    EXPECT_EQ(Config().m_page.title, before.title);
    {
        lhltest::DialogDriver user(L"Page Properties", 1007, 1061); // OK
        m_panel->SendMessage(WM_COMMAND, ID_PAGE_NEW);
        ASSERT_TRUE(user.Seen());
    }
    EXPECT_EQ(Store().GetPageCount(), 2u);
    EXPECT_EQ(Config().m_page.title, before.title) << "the shown page's block was not restored";
    EXPECT_EQ(Config().m_page.focusBackColor, before.focusBackColor);
}

TEST_F(PanelCommands, PropertiesRetitlesTheShownPageAndItsTab) {
    Config().m_page.title = L"Tools";
    Config().m_page.tip = L"my tools";
    {
        lhltest::DialogDriver user(L"Page Properties", 1007, 1061);
        m_panel->SendMessage(WM_COMMAND, ID_PAGE_PROPERTIES);
        ASSERT_TRUE(user.Seen());
        EXPECT_EQ(user.ReadText(), L"Tools");
    }
    Settle();
    EXPECT_EQ(Store().PageRecord(0)->title, L"Tools");
    EXPECT_EQ(Store().PageRecord(0)->tip, L"my tools");
    wchar_t tab[64] = {};
    ::GetWindowTextW(Store().Tabs()[0].button->m_hWnd, tab, 64);
    EXPECT_STREQ(tab, L"Tools");
    ASSERT_FALSE(Config().m_pageTitles.empty());
    EXPECT_EQ(Config().m_pageTitles[0], L"Tools");
}

// More desktop files than a page holds: "Desktop 1" fills up and "Desktop 2" takes the rest.
TEST_F(PanelCommands, TidyingMoreFilesThanAPageHoldsMakesTwoDesktopPages) {
    ASSERT_EQ(Store().AddFileItem(MakeFile(L"kept.txt")), 0); // the shown page is taken
    const std::wstring desktop = lhltest::DataFolder() + L"fake desktop\\";
    ::CreateDirectoryW(desktop.c_str(), nullptr);
    ::CreateDirectoryW(Config().DesktopBackupFolder().c_str(), nullptr);
    std::vector<std::wstring> paths;
    for (int i = 0; i < 20; ++i) {
        paths.push_back(desktop + L"file" + std::to_wstring(i) + L".txt");
        lhltest::WriteBytes(paths.back(), {'x'});
    }
    Store().TidyDesktop(paths);
    Settle();
    ASSERT_EQ(Store().GetPageCount(), 3u);
    EXPECT_EQ(Store().PageRecord(1)->title, L"Desktop 1");
    EXPECT_EQ(Store().PageRecord(2)->title, L"Desktop 2");
    const auto filled = [&](size_t page) {
        size_t n = 0;
        for (const LauncherItem& item : Store().ItemLists()[page]) n += item.target.empty() ? 0 : 1;
        return n;
    };
    EXPECT_EQ(filled(1), 16u);
    EXPECT_EQ(filled(2), 4u);
    for (const std::wstring& path : paths) EXPECT_FALSE(lhltest::FileExists(path)) << "left on the desktop";
    EXPECT_TRUE(lhltest::FileExists(Config().DesktopBackupFolder() + L"file19.txt"));
    EXPECT_EQ(filled(0), 1u) << "the first page changed";
}

// A page file that another program holds open without sharing (a scanner, a backup tool) cannot
// be written: "Move To" that page keeps the item on its button and in its file, and says so.
TEST_F(PanelCommands, MoveToAPageWhoseFileCannotBeWrittenKeepsTheItemWhereItWas) {
    Pages(6); // the sixth page is in a second group, in a file of its own
    ASSERT_EQ(Store().Groups().size(), 2u);
    const std::wstring mine = MakeFile(L"mine.txt");
    ASSERT_EQ(Store().AddFileItem(mine), 0);
    CButtonEx* button = Store().ButtonAtCell(1);
    ASSERT_NE(button, nullptr);
    const std::wstring target = lhltest::DataFolder() + Store().Groups()[1].fileName;
    HANDLE holder = ::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    {
        MessageBoxAnswerer user(IDOK);
        ::PostMessageW(button->m_hWnd, WM_COMMAND, kMoveToFirstPage + 5, 0);
        Settle();
        EXPECT_NE(user.OnlyText().find(L"Page 6 could not be saved"), std::wstring::npos) << "the user was not told";
    }
    ::CloseHandle(holder);
    EXPECT_EQ(Current(), 0u);
    ASSERT_EQ(Store().ButtonAtCell(1), button) << "the item left its cell";
    EXPECT_EQ(button->GetTarget(), mine);
    EXPECT_TRUE(::IsWindowEnabled(button->m_hWnd));
    EXPECT_EQ(Store().LastUndoStep(), nullptr) << "a move that did not happen can be undone";
    Restart();
    EXPECT_TRUE(PageHolds(0, mine)) << "the item is gone after a restart";
    EXPECT_FALSE(PageHolds(5, mine));

    // Page 2 shares the shown page's file: the item keeps its own cell, not the first free one.
    ASSERT_EQ(Store().AddFileItem(MakeFile(L"neighbour.txt")), 0);
    ::SendMessageW(Store().ButtonAtCell(1)->m_hWnd, WM_COMMAND, ID_ITEM_DELETE, 0); // cell 1 left free
    button = Store().ButtonAtCell(2);
    ASSERT_NE(button, nullptr);
    const std::wstring shared = lhltest::DataFolder() + Store().Groups()[0].fileName;
    holder = ::CreateFileW(shared.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    {
        MessageBoxAnswerer user(IDOK);
        ::PostMessageW(button->m_hWnd, WM_COMMAND, kMoveToFirstPage + 1, 0);
        Settle();
        EXPECT_NE(user.OnlyText().find(L"Page 2 could not be saved"), std::wstring::npos);
    }
    ::CloseHandle(holder);
    EXPECT_EQ(Current(), 0u);
    EXPECT_EQ(Store().ButtonAtCell(2), button) << "the item did not stay in its cell";
    EXPECT_EQ(Store().ButtonAtCell(1), nullptr);
}

// Other programs may ask for a page at any time. While a box of the panel waits, the page stays:
// the answer is for the item the user asked about. A page deleted during a Move frame is left
// all the same, so the page after it keeps its items.
TEST_F(PanelCommands, ASwitchWaitsForTheOpenBoxButNeverForADeletedPage) {
    Pages(3);
    const std::wstring second = MakeFile(L"second.txt");
    SwitchTo(2);
    ASSERT_EQ(Store().AddFileItem(second), 0);
    SwitchTo(1);
    const std::wstring unopenable = MakeFile(L"unopenable.nosuchtype");
    ASSERT_EQ(Store().AddFileItem(unopenable), 0);
    HWND panel = PanelWindow();
    size_t boxes = 0;
    std::thread other([&] {
        for (int i = 0; i < 500 && ::IsWindowEnabled(panel); ++i) ::Sleep(20);
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(panel, UM_SWITCH_PAGE, 2, 0, SMTO_BLOCK, 5000, &result);
        MessageBoxAnswerer user(IDYES); // "Open file fail, clear it?"
        for (int i = 0; i < 500 && !::IsWindowEnabled(panel); ++i) ::Sleep(20);
        boxes = user.Count();
    });
    ::PostMessageW(Store().ButtonAtCell(1)->m_hWnd, WM_COMMAND, ID_ITEM_RUN, 0);
    Settle();
    other.join();
    ASSERT_EQ(boxes, 1u);
    EXPECT_EQ(Current(), 0u) << "the page switched under the open box";
    Restart();
    EXPECT_FALSE(PageHolds(0, unopenable)) << "Yes did not clear the item the box asked about";
    EXPECT_TRUE(PageHolds(1, second)) << "the box cleared an item of another page";

    SwitchTo(3);
    const std::wstring third = MakeFile(L"third.txt");
    ASSERT_EQ(Store().AddFileItem(third), 0);
    SwitchTo(2);
    CButtonEx* moving = Store().ButtonAtCell(1);
    ASSERT_NE(moving, nullptr);
    const POINT to = CellCentre(7);
    ::PostMessageW(PanelWindow(), WM_COMMAND, ID_PAGE_DELETE, 0);
    ::PostMessageW(PanelWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(to.x, to.y));
    ::PostMessageW(PanelWindow(), WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    ::SendMessageW(moving->m_hWnd, WM_COMMAND, ID_ITEM_MOVE, 0);
    Settle();
    ASSERT_EQ(Store().GetPageCount(), 2u) << "the page was not deleted during the move";
    EXPECT_EQ(Current(), 0u) << "the deleted page was not left";
    Restart();
    EXPECT_TRUE(PageHolds(1, third)) << "the page after the deleted one lost its items";
}
