// Type to find on a real panel: keys posted to the panel and handled by its own message loop.
#include "ButtonEx.h"
#include "DialogDriver.h"
#include "DropData.h"
#include "FindView.h"
#include "HandOff.h"
#include "IndexButton.h"
#include "MessageBoxAnswerer.h"
#include "PanelHarness.h"
#include "PanelMessages.h"
#include "Snapshot.h"
#include "resource.h"
#include <commctrl.h>
#include <algorithm>
#include <map>

using namespace lhl;
using lhltest::MessageBoxAnswerer;

namespace {

using FolderBytes = std::map<std::wstring, std::vector<uint8_t>>;

// What the open context menu offers, read from inside its own loop by a timer, which closes it.
struct MenuStates {
    bool seen = false;
    bool runEnabled = false, propertiesEnabled = false;
    bool clearGreyed = false, moveGreyed = false, moveToGreyed = false;
};
MenuStates g_menu;

void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = ::FindWindowW(L"#32768", nullptr);
    HMENU menu = window ? reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0)) : nullptr;
    if (menu) {
        auto greyed = [&](UINT id, UINT by) { return (::GetMenuState(menu, id, by) & MF_GRAYED) != 0; };
        g_menu.seen = true;
        g_menu.runEnabled = !greyed(ID_ITEM_RUN, MF_BYCOMMAND);
        g_menu.propertiesEnabled = !greyed(ID_ITEM_PROPERTIES, MF_BYCOMMAND);
        g_menu.clearGreyed = greyed(ID_ITEM_DELETE, MF_BYCOMMAND);
        g_menu.moveGreyed = greyed(ID_ITEM_MOVE, MF_BYCOMMAND);
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
            if (::GetSubMenu(menu, i)) g_menu.moveToGreyed = greyed(static_cast<UINT>(i), MF_BYPOSITION);
    }
    ::EndMenu();
}

// Counts the key releases that reach a window, past the panel's own key handling.
LRESULT CALLBACK CountReleases(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR count) {
    if (msg == WM_KEYUP) ++*reinterpret_cast<int*>(count);
    return ::DefSubclassProc(window, msg, wParam, lParam);
}

void ReadFolder(const std::wstring& folder, FolderBytes& bytes) {
    WIN32_FIND_DATAW data{};
    HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ReadFolder(folder + name + L"\\", bytes);
        else bytes[folder + name] = lhltest::ReadBytes(folder + name);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
}

class PanelFind : public lhltest::PanelTest {
protected:
    CFindView& Finder() { return *m_panel->Find(); }
    uint32_t Current() { return Store().GetCurrentPage(); }

    // Keys go where the system sends them: the focused control of the panel, else the panel.
    HWND KeyWindow() {
        HWND focus = ::GetFocus();
        return focus && (focus == PanelWindow() || ::IsChild(PanelWindow(), focus)) ? focus : PanelWindow();
    }
    void Pump() {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) m_panel->HandleLoopMessage(msg);
    }
    void Press(WORD key) {
        const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
        ::PostMessageW(KeyWindow(), WM_KEYDOWN, key, 1 | scan);
        Pump();
        ::PostMessageW(KeyWindow(), WM_KEYUP, key, 1 | scan | static_cast<LPARAM>(0xC0000000));
        Pump();
    }
    // A key held down: once its first press is handled, the system repeats its key-down with
    // the "was down" bit set.
    void Hold(WORD key, int repeats) {
        const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
        ::PostMessageW(KeyWindow(), WM_KEYDOWN, key, 1 | scan);
        Pump();
        for (int i = 0; i < repeats; ++i) {
            ::PostMessageW(KeyWindow(), WM_KEYDOWN, key, 1 | scan | (1 << 30));
            Pump();
        }
        ::PostMessageW(KeyWindow(), WM_KEYUP, key, 1 | scan | static_cast<LPARAM>(0xC0000000));
        Pump();
    }
    // Small letters and digits as key presses the loop turns into characters; the rest as the
    // characters a keyboard layout or an input method delivers.
    void Type(const std::wstring& text) {
        for (wchar_t ch : text) {
            if ((ch >= L'a' && ch <= L'z') || (ch >= L'0' && ch <= L'9')) {
                Press(static_cast<WORD>(::towupper(ch)));
            } else {
                ::PostMessageW(KeyWindow(), WM_CHAR, ch, 1);
                Pump();
            }
        }
    }

    // The mouse on a match's middle, and the move its window gets (the system sends one to a
    // button shown under a cursor at rest, too).
    void MouseOnMatch(size_t index, int nudge = 0) {
        HWND button = Finder().ShownButton(index)->m_hWnd;
        RECT rc{};
        ::GetClientRect(button, &rc);
        POINT p{rc.right / 2 + nudge, rc.bottom / 2};
        POINT screen = p;
        ::ClientToScreen(button, &screen);
        ::SetCursorPos(screen.x, screen.y);
        ::PostMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
        Pump();
    }

    void Pages(uint32_t count) {
        while (Store().GetPageCount() < count) m_panel->SendMessage(WM_COMMAND, ID_PAGE_NEW);
    }
    void AddLink(uint32_t page, uint32_t cell, const std::wstring& title, const std::wstring& address) {
        SwitchTo(page);
        const POINT p = CellCentre(cell);
        ASSERT_EQ(Store().AddLinkItemAt(p.x, p.y, title, address), 0);
    }
    void AddText(uint32_t page, uint32_t cell, const std::wstring& title, const std::wstring& text) {
        SwitchTo(page);
        const POINT p = CellCentre(cell);
        ASSERT_EQ(Store().AddTextItemAt(p.x, p.y, title, text), 0);
    }
    void AddFile(uint32_t page, uint32_t cell, const std::wstring& path) {
        SwitchTo(page);
        const POINT p = CellCentre(cell);
        ASSERT_TRUE(Store().AddFileItemAt(p.x, p.y, path));
    }

    std::vector<std::wstring> ShownTitles() {
        std::vector<std::wstring> titles;
        for (size_t i = 0; i < Finder().ShownCount(); ++i) titles.push_back(Finder().ShownButton(i)->GetTitle());
        return titles;
    }
    std::wstring StripText() {
        wchar_t text[200] = {};
        ::GetDlgItemTextW(PanelWindow(), IDC_STRIP, text, 200);
        return text;
    }
    bool PageButtonShown(uint32_t cell) {
        const CButtonEx* button = Store().ButtonAtCell(cell);
        return button && button->HasVisibleStyle() && !button->IsEmptyItem();
    }
    int MarkedTabs() {
        int marked = 0;
        for (const PageTab& tab : Store().Tabs()) marked += tab.button && tab.button->GetCurrentMark() != 0;
        return marked;
    }
    FolderBytes DataFiles() {
        FolderBytes bytes;
        ReadFolder(lhltest::DataFolder(), bytes);
        return bytes;
    }
    // The width the strip's text is painted over.
    int StripInkWidth() {
        const lhltest::Snapshot strip(::GetDlgItem(PanelWindow(), IDC_STRIP), WM_PRINTCLIENT);
        return strip.ColumnsUnlikeCorner(0, strip.Rect().bottom);
    }
    // Docked at the right edge by a drag, then slid out beyond it once the cursor is at `away`.
    bool DockAndPark(POINT away) {
        const int screen = ::GetSystemMetrics(SM_CXSCREEN);
        ::SetCursorPos(screen - 5, 300);
        RECT moving = m_panel->GetWindowRect();
        ::OffsetRect(&moving, -moving.left + 100, 0);
        m_panel->SendMessage(WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&moving));
        ::MoveWindow(PanelWindow(), moving.left, moving.top, moving.right - moving.left, moving.bottom - moving.top, TRUE);
        ::SetCursorPos(away.x, away.y);
        m_panel->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(screen - 5, moving.top + 5));
        const int parkedLeft = screen - ::GetSystemMetrics(SM_CXFRAME);
        return lhltest::PumpUntil([&] { return m_panel->IsParked() && m_panel->GetWindowRect().left == parkedLeft; }, 5000);
    }
};

} // namespace

TEST_F(PanelFind, TypingFindsItemsOfEveryPageBestFirstAndEscLeavesEverythingAsItWas) {
    Pages(3);
    AddLink(1, 2, L"Piano", L"http://piano.example");
    AddLink(1, 5, L"My notes", L"http://a.example");
    AddLink(1, 1, L"Other", L"http://b.example");
    AddText(2, 3, L"Nomad", L"text one");
    AddLink(3, 1, L"Site", L"http://nowhere.example");
    AddText(3, 4, L"Normal", L"text two");
    SwitchTo(1);
    const FolderBytes before = DataFiles();

    Type(L"no");
    ASSERT_TRUE(Finder().IsActive()) << "typing on the panel started no query";
    const std::vector<std::wstring> expected{L"Nomad", L"Normal", L"My notes", L"Piano", L"Site"};
    EXPECT_EQ(ShownTitles(), expected) << "title starts, word starts, title contains, target contains";
    EXPECT_EQ(StripText(), L"Find: no  (5)");
    EXPECT_TRUE(Finder().ShownButton(0)->IsHot()) << "the first match is not lit";
    EXPECT_FALSE(Finder().ShownButton(1)->IsHot());
    EXPECT_EQ(MarkedTabs(), 0) << "a tab still shows a current page during the query";
    EXPECT_FALSE(PageButtonShown(2)) << "the shown page's buttons stay under the matches";

    Press(VK_ESCAPE);
    EXPECT_FALSE(Finder().IsActive());
    EXPECT_EQ(Current(), 0u);
    EXPECT_TRUE(PageButtonShown(2) && PageButtonShown(5) && PageButtonShown(1)) << "the page did not come back";
    EXPECT_EQ(Finder().ShownCount(), 0u);
    EXPECT_EQ(MarkedTabs(), 1);
    EXPECT_TRUE(Store().Tabs()[0].button->GetCurrentMark() != 0);
    EXPECT_EQ(StripText(), L"click here to minimize");
    EXPECT_EQ(DataFiles(), before) << "finding changed the data files";
}

TEST_F(PanelFind, AQueryFindsTheItemsAsTheyAreNowNotAsTheLastQueryTookThem) {
    Pages(2);
    Type(L"zeb");
    EXPECT_EQ(Finder().MatchCount(), 0u);
    Press(VK_ESCAPE);
    AddLink(2, 4, L"zebra", L"http://zebra.example");
    SwitchTo(1);
    Type(L"zeb");
    EXPECT_EQ(ShownTitles(), std::vector<std::wstring>{L"zebra"}) << "an item added since the last query is not found";
    Press(VK_ESCAPE);
    SwitchTo(2);
    ::PostMessageW(Store().ButtonAtCell(4)->m_hWnd, WM_COMMAND, ID_ITEM_DELETE, 0);
    Pump();
    Type(L"zeb");
    EXPECT_EQ(Finder().MatchCount(), 0u) << "a cleared item is still found";
}

TEST_F(PanelFind, DigitsSwitchPagesFirstAndBelongToAQueryAfterwards) {
    Pages(3);
    AddLink(2, 1, L"a2 tool", L"http://a2.example");
    AddLink(3, 1, L"a3 tool", L"http://a3.example");
    SwitchTo(1);
    Type(L"2");
    EXPECT_FALSE(Finder().IsActive()) << "a digit as the first key started a query";
    EXPECT_EQ(Current(), 1u) << "a digit as the first key no longer switches pages";

    Type(L"a3");
    EXPECT_EQ(Finder().Query(), L"a3");
    EXPECT_EQ(ShownTitles(), std::vector<std::wstring>{L"a3 tool"});
    EXPECT_EQ(Current(), 1u) << "a digit in a query switched pages";
    Press(VK_TAB);
    Press(VK_DELETE);
    ::SendMessageW(PanelWindow(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    Pump();
    EXPECT_TRUE(Finder().IsActive()) << "Tab, Delete or the wheel ended the query";
    EXPECT_EQ(Store().GetPageCount(), 3u) << "Delete during a query deleted a page";

    Press(VK_BACK);
    EXPECT_EQ(Finder().Query(), L"a");
    EXPECT_EQ(Finder().MatchCount(), 2u);
    Press(VK_BACK);
    EXPECT_FALSE(Finder().IsActive()) << "Backspace on a one-letter query did not end it";
    EXPECT_EQ(Current(), 1u) << "the query did not return to the page that was shown";
    EXPECT_TRUE(PageButtonShown(1));
    Press(VK_TAB);
    EXPECT_EQ(Current(), 2u) << "Tab lost its meaning after a query";
}

TEST_F(PanelFind, CaseAndAccentsAreIgnoredAndAChineseTitleIsFound) {
    AddLink(1, 1, L"Caf\u00E9 Cr\u00E8me", L"http://cafe.example");
    AddText(1, 2, L"\u8BB0\u4E8B\u672C\u7A0B\u5E8F", L"notes"); // "notepad program"
    Type(L"CAFE");
    EXPECT_EQ(ShownTitles(), std::vector<std::wstring>{L"Caf\u00E9 Cr\u00E8me"});
    Press(VK_ESCAPE);
    Type(L"\u4E8B\u672C");
    EXPECT_EQ(ShownTitles(), std::vector<std::wstring>{L"\u8BB0\u4E8B\u672C\u7A0B\u5E8F"});
}

TEST_F(PanelFind, BackspaceTakesALetterBeyondTheFirstPlaneAsOne) {
    const std::wstring party = L"\U0001F389"; // two UTF-16 units
    AddLink(1, 1, L"Party " + party, L"http://party.example");
    Type(party);
    EXPECT_EQ(Finder().MatchCount(), 1u);
    Press(VK_BACK);
    EXPECT_FALSE(Finder().IsActive()) << "Backspace on a one-letter query did not end it";
    Type(L"y" + party);
    Press(VK_BACK);
    EXPECT_EQ(Finder().Query(), L"y") << "Backspace left half a letter";
    EXPECT_EQ(ShownTitles(), std::vector<std::wstring>{L"Party " + party});
}

TEST_F(PanelFind, TheStripSpeaksTheInterfaceLanguage) {
    RestartWith([](ConfigSettings& s) { s.languageIndex = 1; });
    AddLink(1, 1, L"Piano", L"http://piano.example");
    Type(L"pi");
    EXPECT_EQ(StripText(), L"\u67E5\u627E\uFF1A pi  (1)") << "the Chinese interface shows the English label";
}

TEST_F(PanelFind, ArrowsMoveTheLitMatchAndEnterOpensItAsAClick) {
    const std::wstring helper = lhltest::BinFolder() + L"lhl_record_run.exe";
    const std::wstring marker = lhltest::BinFolder() + L"ran.txt";
    ::DeleteFileW(marker.c_str());
    Pages(2);
    AddText(1, 3, L"lhl notes", L"not a program");
    AddFile(2, 1, helper);
    SwitchTo(1);
    Type(L"lhl");
    ASSERT_EQ(Finder().ShownCount(), 2u);
    Press(VK_RIGHT);
    EXPECT_EQ(Finder().LitIndex(), 1u);
    EXPECT_TRUE(Finder().ShownButton(1)->IsHot() && !Finder().ShownButton(0)->IsHot());
    Press(VK_RIGHT);
    EXPECT_EQ(Finder().LitIndex(), 1u) << "the lit match went past the last one";
    Press(VK_RETURN);
    EXPECT_TRUE(lhltest::PumpUntil([&] { return lhltest::FileExists(marker); }, 20000)) << "Enter did not start it";
    EXPECT_FALSE(m_panel->IsShown()) << "the panel did not hide after the launch";
    EXPECT_FALSE(Finder().IsActive()) << "hiding the panel did not end the query";
    EXPECT_EQ(Current(), 0u);
    ::DeleteFileW(marker.c_str());

    m_panel->SendMessage(WM_HOTKEY, 1, 0);
    Type(L"lhl_");
    ASSERT_EQ(Finder().ShownCount(), 1u);
    ::SendMessageW(Finder().ShownButton(0)->m_hWnd, BM_CLICK, 0, 0);
    EXPECT_TRUE(lhltest::PumpUntil([&] { return lhltest::FileExists(marker); }, 20000)) << "a click on a match did not start it";
    ::DeleteFileW(marker.c_str());
}

TEST_F(PanelFind, ACursorAtRestOnAMatchDoesNotTakeTheLitOneButAMoveDoes) {
    AddLink(1, 1, L"tool one", L"http://one.example");
    AddLink(1, 2, L"tool two", L"http://two.example");
    Type(L"t");
    ASSERT_EQ(Finder().ShownCount(), 2u);
    MouseOnMatch(1);
    Type(L"o"); // the buttons are shown anew under the resting cursor
    const HWND second = Finder().ShownButton(1)->m_hWnd;
    RECT rc{};
    ::GetClientRect(second, &rc);
    ::PostMessageW(second, WM_MOUSEMOVE, 0, MAKELPARAM(rc.right / 2, rc.bottom / 2));
    Pump();
    EXPECT_EQ(Finder().LitIndex(), 0u) << "a cursor that did not move took the lit match";
    EXPECT_TRUE(Finder().ShownButton(0)->IsHot() && !Finder().ShownButton(1)->IsHot());
    MouseOnMatch(1, 3);
    EXPECT_EQ(Finder().LitIndex(), 1u) << "moving the mouse onto a match does not light it";
    EXPECT_TRUE(Finder().ShownButton(1)->IsHot() && !Finder().ShownButton(0)->IsHot());
}

TEST_F(PanelFind, TheMatchEnterOpensStaysLitAndTheQueryStaysInTheStripWhenTheMouseGoes) {
    AddLink(1, 1, L"tool one", L"http://one.example");
    AddLink(1, 2, L"tool two", L"http://two.example");
    Type(L"to");
    MouseOnMatch(1);
    ASSERT_EQ(Finder().LitIndex(), 1u);
    const HWND second = Finder().ShownButton(1)->m_hWnd;
    ::PostMessageW(second, WM_MOUSELEAVE, 0, 0);
    Pump();
    EXPECT_TRUE(Finder().ShownButton(1)->IsHot()) << "the match Enter opens is no longer drawn lit";
    EXPECT_FALSE(Finder().ShownButton(0)->IsHot());
    EXPECT_EQ(StripText(), L"Find: to  (2)");
    ::SendMessageW(second, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(StripText(), L"Find: to  (2)") << "the strip lost the query";
    EXPECT_TRUE(Finder().ShownButton(1)->IsHot());
}

TEST_F(PanelFind, UpAndDownMoveByARowOfTheGridAsItIsBuilt) {
    const int row = Store().UnitsPerRow();
    ASSERT_GE(row, 2);
    for (int i = 1; i <= row + 2; ++i) AddLink(1, static_cast<uint32_t>(i), L"match " + std::to_wstring(i), L"http://m.example");
    // The options ask for another grid, which the panel builds at its next start.
    Config().Settings().unitsPerRow = row + 1;
    Type(L"match");
    ASSERT_EQ(Finder().ShownCount(), static_cast<size_t>(row + 2));
    Press(VK_DOWN);
    EXPECT_EQ(Finder().LitIndex(), static_cast<size_t>(row)) << "Down did not go to the cell below";
    Press(VK_DOWN);
    EXPECT_EQ(Finder().LitIndex(), static_cast<size_t>(row)) << "Down went past the last match";
    Press(VK_RIGHT);
    Press(VK_UP);
    EXPECT_EQ(Finder().LitIndex(), 1u) << "Up did not go to the cell above";
    EXPECT_TRUE(Finder().ShownButton(1)->IsHot() && !Finder().ShownButton(static_cast<size_t>(row + 1))->IsHot());
    Press(VK_UP);
    EXPECT_EQ(Finder().LitIndex(), 1u) << "Up went before the first match";
}

TEST_F(PanelFind, AMatchThatCannotBeOpenedIsClearedOnItsOwnPage) {
    Pages(2);
    AddFile(2, 4, MakeFile(L"gone.nosuchtype"));
    AddLink(2, 5, L"gone too", L"http://x.example");
    SwitchTo(1);
    Type(L"gone");
    ASSERT_EQ(Finder().ShownCount(), 2u);
    {
        MessageBoxAnswerer user(IDYES);
        Press(VK_RETURN);
        EXPECT_EQ(user.OnlyText(), L"Open file fail, clear it?");
    }
    Pump();
    EXPECT_EQ(Current(), 1u) << "the page of the cleared item is not shown";
    EXPECT_FALSE(PageButtonShown(4)) << "the real item was not cleared";
    EXPECT_TRUE(PageButtonShown(5)) << "another item went with it";
    Restart();
    const PageItems& items = Store().ItemLists().at(1);
    EXPECT_FALSE(std::any_of(items.begin(), items.end(), [](const LauncherItem& i) { return i.HoldsItem() && i.cell == 4; }))
        << "the cleared item came back after a restart";
}

TEST_F(PanelFind, AHeldEnterOpensTheMatchOnceOnAPanelThatStays) {
    RestartWith([](ConfigSettings& s) { s.autoHide = false; });
    Pages(2);
    AddFile(2, 4, MakeFile(L"kept.nosuchtype"));
    SwitchTo(1);
    Type(L"kept");
    ASSERT_EQ(Finder().ShownCount(), 1u);
    {
        MessageBoxAnswerer user(IDNO);
        Hold(VK_RETURN, 3);
        EXPECT_EQ(user.Count(), 1u) << "the repeats of a held Enter opened the match again";
    }
    Pump();
    SwitchTo(2);
    EXPECT_TRUE(PageButtonShown(4)) << "the item that could not be opened was cleared";
}

TEST_F(PanelFind, AMatchChangesNothingItselfAndItsPropertiesAreTheRealItems) {
    Pages(2);
    AddLink(2, 1, L"keep me", L"http://keep.example");
    SwitchTo(1);
    const FolderBytes before = DataFiles();
    Type(L"keep");
    ASSERT_EQ(Finder().ShownCount(), 1u);
    HWND match = Finder().ShownButton(0)->m_hWnd;
    g_menu = {};
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 200, ReadOpenMenu);
    ::PostMessageW(match, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    Pump();
    ::KillTimer(nullptr, timer);
    ASSERT_TRUE(g_menu.seen) << "a right click on a match opened no menu";
    EXPECT_TRUE(g_menu.runEnabled && g_menu.propertiesEnabled) << "Run or Properties is greyed on a match";
    EXPECT_TRUE(g_menu.clearGreyed && g_menu.moveGreyed && g_menu.moveToGreyed) << "a match offers to change or move the item";
    EXPECT_TRUE(Finder().IsActive() && Finder().ShownButton(0)->IsHot()) << "after the menu the match is not drawn lit";
    EXPECT_EQ(StripText(), L"Find: keep  (1)");
    // Should a greyed command come all the same, the match does nothing with it.
    ::SendMessageW(match, WM_COMMAND, ID_ITEM_DELETE, 0);
    ::SendMessageW(match, WM_COMMAND, ID_ITEM_MOVE, 0);
    Pump();
    EXPECT_TRUE(Finder().IsActive());
    EXPECT_EQ(Finder().ShownButton(0)->GetTarget(), L"http://keep.example") << "Clear Icon worked on a match";
    {
        lhltest::DialogDriver user(L"Address or Email", 1014, IDCANCEL);
        ::SendMessageW(match, WM_COMMAND, ID_ITEM_PROPERTIES, 0);
        EXPECT_EQ(user.ReadText(), L"http://keep.example") << "the real item's editor did not open";
    }
    Pump();
    EXPECT_FALSE(Finder().IsActive());
    EXPECT_EQ(Current(), 1u) << "the item's editor opened away from its page";
    EXPECT_TRUE(PageButtonShown(1));
    EXPECT_EQ(DataFiles(), before) << "a command on a match changed the files";
}

TEST_F(PanelFind, CtrlZDuringAQueryEndsItAndTheItemComesBackOnItsPage) {
    Pages(2);
    AddLink(2, 3, L"lost link", L"http://lost.example");
    AddLink(1, 1, L"list", L"http://list.example");
    SwitchTo(2);
    ::PostMessageW(Store().ButtonAtCell(3)->m_hWnd, WM_COMMAND, ID_ITEM_DELETE, 0);
    Pump();
    ASSERT_FALSE(PageButtonShown(3));
    SwitchTo(1);
    Type(L"l");
    ASSERT_EQ(ShownTitles(), std::vector<std::wstring>{L"list"});
    PressKey('Z', true);
    EXPECT_FALSE(Finder().IsActive()) << "the undo left the query running";
    EXPECT_EQ(Finder().ShownCount(), 0u) << "matches are still shown";
    EXPECT_EQ(StripText(), L"click here to minimize");
    EXPECT_EQ(MarkedTabs(), 1);
    SwitchTo(2);
    ASSERT_TRUE(PageButtonShown(3)) << "the cleared item did not come back to its cell";
    EXPECT_EQ(Store().ButtonAtCell(3)->GetTarget(), L"http://lost.example");
    Restart();
    const PageItems& items = Store().ItemLists().at(1);
    EXPECT_TRUE(std::any_of(items.begin(), items.end(), [](const LauncherItem& i) { return i.cell == 3 && i.target == L"http://lost.example"; }))
        << "the item undone during a query was not saved";
}

TEST_F(PanelFind, ADropOrAHandOverDuringAQueryLandsOnThePageThatWasShown) {
    Pages(2);
    AddLink(2, 1, L"far away", L"http://far.example");
    SwitchTo(1);
    Type(L"far");
    ASSERT_EQ(Finder().ShownCount(), 1u);
    const std::wstring dropped = MakeFile(L"dropped.txt");
    POINT p = CellCentre(3);
    ::ClientToScreen(PanelWindow(), &p);
    ::SetCursorPos(p.x, p.y);
    m_panel->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(lhltest::MakeDropBlock({dropped})));
    Pump();
    EXPECT_FALSE(Finder().IsActive()) << "the drop did not end the query";
    EXPECT_EQ(Current(), 0u);
    ASSERT_TRUE(PageButtonShown(3));
    EXPECT_EQ(Store().ButtonAtCell(3)->GetTarget(), dropped);

    Type(L"far");
    const std::wstring handed = MakeFile(L"handed.txt");
    ASSERT_TRUE(HandOffFile(Config().ProgramFolder(), Config().DataFolder()).Write(handed));
    m_panel->SendMessage(UM_HANDOVER);
    Pump();
    EXPECT_FALSE(Finder().IsActive()) << "the hand-over did not end the query";
    ASSERT_TRUE(PageButtonShown(1)) << "the handed-over file did not reach the first free cell";
    EXPECT_EQ(Store().ButtonAtCell(1)->GetTarget(), handed);

    Restart();
    const PageItems& first = Store().ItemLists().at(0);
    for (const auto& [cell, path] : {std::pair{3u, dropped}, std::pair{1u, handed}})
        EXPECT_TRUE(std::any_of(first.begin(), first.end(), [&](const LauncherItem& i) { return i.cell == cell && i.target == path; }))
            << "an item given during a query was not saved on the shown page";
    SwitchTo(2);
    EXPECT_EQ(Store().ButtonAtCell(1)->GetTitle(), L"far away") << "the match's page was changed";
}

TEST_F(PanelFind, EveryWayOfShowingThePanelGivesItTheKeys) {
    struct Way {
        const char* name;
        UINT message;
        LPARAM lParam;
    };
    const Way ways[] = {{"the hot key", WM_HOTKEY, 0},
                        {"the tray or Ctrl twice", UM_TRAY_NOTIFY, WM_LBUTTONDOWN},
                        {"the gesture", UM_SHOW_AT_CURSOR, 0}};
    // What this guards is the outcome: no way of showing leaves the keys with the window that had
    // them. It cannot tell taking the keys from the activation that showing the hidden panel
    // brings anyway: under Wine, and in the test's own process, no foreground lock holds.
    HWND elsewhere = ::CreateWindowExW(0, L"STATIC", L"elsewhere", WS_POPUP | WS_VISIBLE, 0, 0, 60, 60, nullptr,
                                       nullptr, nullptr, nullptr);
    for (const Way& way : ways) {
        m_panel->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_FALSE(m_panel->IsShown());
        ::SetForegroundWindow(elsewhere);
        ::SetFocus(elsewhere);
        ASSERT_EQ(::GetForegroundWindow(), elsewhere);
        m_panel->SendMessage(way.message, 0, way.lParam);
        // Checked at once: under Wine on an X server without a window manager the panel, a
        // pop-up without a caption, is a window X does not manage, and X takes its focus back a
        // moment later. Windows keeps it.
        EXPECT_EQ(::GetForegroundWindow(), PanelWindow()) << way.name << " showed the panel without the foreground";
        HWND focus = ::GetFocus();
        EXPECT_TRUE(focus == PanelWindow() || ::IsChild(PanelWindow(), focus)) << way.name << ": the keys go elsewhere";
    }
    ::DestroyWindow(elsewhere);
}

// The view's buttons are made once and kept for later queries; on a screen of other scaling they
// must stand on the cells as laid out there, not where the first query put them.
TEST_F(PanelFind, MatchesStandOnTheCellsAfterAScalingChangeDuringAndAfterAQuery) {
    AddLink(1, 1, L"Nordic news", L"news.example");
    AddLink(1, 3, L"Northwind", L"north.example");
    AddText(2, 2, L"Note to self", L"milk");
    SwitchTo(1);
    auto onTheirCells = [&](const char* when) {
        ASSERT_EQ(Finder().ShownCount(), 3u) << when;
        for (size_t i = 0; i < Finder().ShownCount(); ++i) {
            RECT rc{};
            ::GetWindowRect(Finder().ShownButton(i)->m_hWnd, &rc);
            ::MapWindowPoints(nullptr, PanelWindow(), reinterpret_cast<POINT*>(&rc), 2);
            const RECT& cell = Store().Cells()[i].rect;
            EXPECT_TRUE(::EqualRect(&rc, &cell)) << when << ": match " << i << " is off its cell";
        }
    };
    Type(L"no");
    onTheirCells("at 96 DPI");
    ChangeDpi(192, 40, 30);
    onTheirCells("during the query, after the change to 192 DPI");
    Press(VK_ESCAPE);
    ChangeDpi(96, 40, 30);
    Type(L"no");
    onTheirCells("in a later query, back at 96 DPI");
    Press(VK_ESCAPE);
}

// What the user cannot see must not start anything: on a hidden or parked panel a letter starts
// no query and Enter opens no match, and sliding out gives the keys to where the cursor went.
TEST_F(PanelFind, APanelOutOfSightStartsNothingByKeyAndSlidingOutGivesTheKeysBack) {
    AddFile(1, 4, MakeFile(L"kept.nosuchtype"));
    MessageBoxAnswerer user(IDNO); // any try to open the item asks about the missing file
    auto typeAndEnter = [&](const char* where) {
        Type(L"kept");
        EXPECT_FALSE(Finder().IsActive()) << where << ": a letter started a query";
        Press(VK_RETURN);
        EXPECT_EQ(user.Count(), 0u) << where << ": Enter opened an item";
        if (Finder().IsActive()) Press(VK_ESCAPE);
    };
    m_panel->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    typeAndEnter("hidden");

    m_panel->SendMessage(WM_HOTKEY, 1, 0);
    ASSERT_TRUE(m_panel->IsShown());
    // SS_NOTIFY: a plain static is transparent to the cursor, and the window under it is another.
    HWND elsewhere = ::CreateWindowExW(0, L"STATIC", L"elsewhere", WS_POPUP | WS_VISIBLE | SS_NOTIFY, 0, 0, 80, 80,
                                       nullptr, nullptr, nullptr, nullptr);
    ::SetForegroundWindow(PanelWindow());
    ASSERT_TRUE(DockAndPark(POINT{10, 10})) << "the panel did not slide out";
    // Checked at once: without a window manager X may take the focus back a moment later.
    EXPECT_EQ(::GetForegroundWindow(), elsewhere) << "the parked panel kept the keys";
    typeAndEnter("parked");
    ::DestroyWindow(elsewhere);
}

// What a keyboard layout and an input method send during a query, as Windows sends it. Wine has
// no input method here and its X keyboard no dead keys, so the messages are posted as Windows'
// TranslateMessage and IME make them: a key the IME takes comes as VK_PROCESSKEY, its result as
// WM_IME_CHAR (what the default handling of WM_IME_COMPOSITION with GCS_RESULTSTR sends); a
// dead key as WM_DEADCHAR, the letter after it as one composed WM_CHAR. That an IME really needs
// the releases it is given (a lone Shift switching its mode, keys it finishes on release) and
// that a real layout composes the letter, only Windows shows.
TEST_F(PanelFind, InputMethodsDeadKeysAndAmpersandsReachTheQueryAsTyped) {
    Pages(2);
    AddLink(1, 1, L"\u4E2D\u6587 notes", L"http://zh.example");
    AddLink(1, 2, L"Caf\u00E9 & bar", L"http://cafe.example");
    SwitchTo(1);
    HWND keys = KeyWindow();
    int released = 0;
    ASSERT_TRUE(::SetWindowSubclass(keys, CountReleases, 0x4B4559, reinterpret_cast<DWORD_PTR>(&released)));
    auto post = [&](UINT msg, WPARAM wParam) {
        ::PostMessageW(keys, msg, wParam, msg == WM_KEYUP ? static_cast<LPARAM>(0xC0000001) : 1);
        Pump();
    };
    post(WM_KEYDOWN, VK_PROCESSKEY);
    post(WM_KEYUP, VK_PROCESSKEY);
    post(WM_IME_CHAR, 0x4E2D);
    released = 0;
    post(WM_KEYDOWN, VK_PROCESSKEY);
    post(WM_KEYUP, VK_PROCESSKEY);
    post(WM_KEYUP, VK_SHIFT);
    EXPECT_EQ(released, 2) << "releases during a query were kept from the input method";
    post(WM_IME_CHAR, 0x6587);
    EXPECT_EQ(Finder().Query(), L"\u4E2D\u6587") << "the input method's text did not reach the query once";
    EXPECT_EQ(ShownTitles(), std::vector<std::wstring>{L"\u4E2D\u6587 notes"});
    Press(VK_ESCAPE);

    Type(L"caf");
    released = 0;
    post(WM_DEADCHAR, 0x00B4);
    post(WM_KEYUP, VK_OEM_6);
    post(WM_CHAR, 0x00E9);
    post(WM_KEYUP, 'E');
    post(WM_KEYUP, VK_NUMPAD2);
    EXPECT_EQ(Finder().Query(), L"caf\u00E9") << "a dead key and its letter did not give the composed letter";
    EXPECT_EQ(released, 2) << "the dead key's and the letter's releases were kept from the layout";
    EXPECT_EQ(Current(), 0u) << "a keypad digit's release in a query switched pages";
    ::RemoveWindowSubclass(keys, CountReleases, 0x4B4559);
    Press(VK_SPACE); // translated once, and the focused control does not press
    Type(L"& b");
    EXPECT_EQ(ShownTitles(), std::vector<std::wstring>{L"Caf\u00E9 & bar"});
    const int withAmpersand = StripInkWidth();
    Press(VK_ESCAPE);
    Type(L"caf\u00E9  b");
    EXPECT_GT(StripInkWidth(), 0);
    EXPECT_GT(withAmpersand, StripInkWidth() + 2) << "the strip shows no \"&\"";
}
