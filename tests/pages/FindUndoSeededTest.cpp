// A seeded run of finding, opening what is found, clearing items and pages and taking that back,
// with restarts between: after each restart every page holds exactly what the user left there.
// Opening a found note puts its text on the clipboard; opening a found file that is gone asks
// whether to clear it, and the answer is followed.
#include "ButtonEx.h"
#include "FindView.h"
#include "MessageBoxAnswerer.h"
#include "PanelHarness.h"
#include "PanelMessages.h"
#include "resource.h"
#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <optional>
#include <random>

using namespace lhl;

namespace {

struct Item {
    uint32_t kind = kKindClipboardText;
    std::wstring word; // found by this, and by nothing else
    std::wstring target;
    bool operator==(const Item&) const = default;
};
struct Page {
    std::wstring title;
    std::map<uint32_t, Item> items; // by cell
};

// What one undo puts back: a page at its place, or an item on its page.
struct Step {
    std::optional<std::pair<uint32_t, Page>> page;
    uint32_t itemPage = 0;
    uint32_t cell = 0;
    Item item;
};

std::wstring ClipboardText() {
    std::wstring text;
    if (!::OpenClipboard(nullptr)) return text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) text = chars;
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

class FindUndoSeeded : public lhltest::PanelTest {
protected:
    static constexpr uint32_t kCells = 16;      // the test settings' 4 x 4 grid
    static constexpr uint32_t kMostPages = 5;   // added by the user; an undo may add more

    void SetUp() override {
        PanelTest::SetUp();
        RestartWith([](ConfigSettings& s) { s.autoHide = false; }); // the panel stays for the next key
        m_pages.assign(1, Page{L"1", {}});
    }

    uint32_t Pick(uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(m_rng); }
    uint32_t Current() { return Store().GetCurrentPage(); }
    CFindView& Finder() { return *m_panel->Find(); }
    static uint32_t FirstFree(const Page& page) {
        for (uint32_t c = 1; c <= kCells; ++c)
            if (!page.items.count(c)) return c;
        return 0;
    }
    void Remember(Step step) {
        m_undo.push_back(std::move(step));
        if (m_undo.size() > UndoHistory::kMaxSteps) m_undo.pop_front();
    }
    void TypeChars(const std::wstring& text) {
        for (wchar_t ch : text) ::PostMessageW(PanelWindow(), WM_CHAR, ch, 1);
        SettleThroughPanelLoop();
    }
    void EndQuery() {
        if (Finder().IsActive()) PressKey(VK_ESCAPE);
        ASSERT_FALSE(Finder().IsActive());
    }

    void AddItem() {
        EndQuery();
        Page& page = m_pages[Current()];
        const uint32_t cell = FirstFree(page);
        if (!cell) return;
        const std::wstring serial = std::to_wstring(m_serial++);
        const POINT p = CellCentre(cell);
        Item item;
        if (Pick(3) == 0) {
            // A file that is gone by the time it is opened.
            item = Item{kKindFile, L"f" + serial + L"z", MakeFile(L"f" + serial + L"z.gone")};
            ASSERT_TRUE(Store().AddFileItemAt(p.x, p.y, item.target));
            ::DeleteFileW(item.target.c_str());
        } else {
            item = Item{kKindClipboardText, L"n" + serial + L"z", L"text of " + serial};
            ASSERT_EQ(Store().AddTextItemAt(p.x, p.y, item.word, item.target), 0);
        }
        Settle();
        page.items[cell] = item;
        m_done.filled += FirstFree(page) == 0;
    }
    void AddPage() {
        EndQuery();
        if (m_pages.size() >= kMostPages) return;
        m_panel->SendMessage(WM_COMMAND, ID_PAGE_NEW);
        Settle();
        m_pages.push_back(Page{std::to_wstring(m_pages.size() + 1), {}});
    }
    void Switch() {
        EndQuery();
        ::SendMessageW(PanelWindow(), UM_SWITCH_PAGE, Pick(static_cast<uint32_t>(m_pages.size())) + 1, 0);
        Settle();
    }
    void ClearItem() {
        EndQuery();
        Page& page = m_pages[Current()];
        if (page.items.empty()) return;
        auto chosen = std::next(page.items.begin(), Pick(static_cast<uint32_t>(page.items.size())));
        ::PostMessageW(Store().ButtonAtCell(chosen->first)->m_hWnd, WM_COMMAND, ID_ITEM_DELETE, 0);
        SettleThroughPanelLoop();
        Remember(Step{{}, Current(), chosen->first, chosen->second});
        page.items.erase(chosen);
    }
    // The Delete key; during a query it belongs to the query and deletes nothing.
    void DeletePage() {
        const uint32_t current = Current();
        const bool finding = Finder().IsActive();
        PressKey(VK_DELETE);
        if (finding || current == 0) return;
        Remember(Step{std::make_pair(current, m_pages[current]), 0, 0, {}});
        m_pages.erase(m_pages.begin() + current);
    }
    // Ctrl+Z, now and then in the middle of a query. What a full page has no room for goes, on the
    // user's Yes, to the first page with room, else to a new page; on No the step stays.
    void Undo() {
        const bool finding = Finder().IsActive();
        const bool yes = Pick(2) == 0;
        size_t asked = 0;
        {
            lhltest::MessageBoxAnswerer user(yes ? IDYES : IDNO);
            PressKey('Z', true);
            asked = user.Count();
        }
        EXPECT_FALSE(Finder().IsActive()) << "the undo left the query running";
        if (m_undo.empty()) return;
        size_t questions = 0;
        const bool done = UndoInModel(m_undo.back(), yes, questions);
        EXPECT_EQ(asked, questions) << "the undo asked " << asked << " times, not " << questions;
        if (!done) return;
        m_undo.pop_back();
        ++(finding ? m_done.undoneInQuery : m_done.undone);
    }
    bool UndoInModel(const Step& step, bool yes, size_t& questions) {
        constexpr size_t kMaxPages = 17;
        if (step.page) {
            if (m_pages.size() < kMaxPages) {
                const auto at = std::min(step.page->first, static_cast<uint32_t>(m_pages.size()));
                m_pages.insert(m_pages.begin() + at, step.page->second);
                return true;
            }
            questions = 1; // let the step go?
            return yes;
        }
        Page& page = m_pages[step.itemPage < m_pages.size() ? step.itemPage : Current()];
        const uint32_t cell = page.items.count(step.cell) ? FirstFree(page) : step.cell;
        if (cell) {
            page.items[cell] = step.item;
            return true;
        }
        questions = 1;
        auto room = std::find_if(m_pages.begin(), m_pages.end(), [](const Page& p) { return FirstFree(p) != 0; });
        if (room == m_pages.end()) {
            if (m_pages.size() >= kMaxPages || !yes) return false;
            m_pages.push_back(Page{std::to_wstring(m_pages.size() + 1), {}});
            room = std::prev(m_pages.end());
        } else if (!yes) {
            return false;
        }
        room->items[FirstFree(*room)] = step.item;
        ++m_done.undoneElsewhere;
        return true;
    }
    // A query for one item anywhere, opened with Enter or left as it is.
    void FindAndOpen() {
        EndQuery();
        std::vector<std::pair<uint32_t, uint32_t>> all; // page, cell
        for (uint32_t p = 0; p < m_pages.size(); ++p)
            for (const auto& [cell, item] : m_pages[p].items) all.emplace_back(p, cell);
        if (all.empty()) return;
        const auto [page, cell] = all[Pick(static_cast<uint32_t>(all.size()))];
        const Item item = m_pages[page].items.at(cell);
        const uint32_t shown = Current();
        TypeChars(item.word);
        ASSERT_EQ(Finder().ShownCount(), 1u) << "the query " << std::string(item.word.begin(), item.word.end());
        if (Pick(3) == 0) return; // the query runs into the next step
        if (item.kind == kKindClipboardText) {
            PressKey(VK_RETURN);
            EXPECT_EQ(ClipboardText(), item.target) << "Enter did not open the found note";
            ++m_done.opened;
            if (Pick(2) == 0) EndQuery();
            return;
        }
        const bool clear = Pick(2) == 0;
        lhltest::MessageBoxAnswerer user(clear ? IDYES : IDNO);
        PressKey(VK_RETURN);
        EXPECT_EQ(user.OnlyText(), L"Open file fail, clear it?");
        if (!clear) {
            EndQuery();
            EXPECT_EQ(Current(), shown) << "a question answered No left another page shown";
            return;
        }
        Remember(Step{{}, page, cell, item});
        m_pages[page].items.erase(cell);
        ++m_done.clearedByFind;
    }

    // Now and then in the middle of a query: nothing of its view may reach the files.
    void RestartAndCheck(int step) {
        if (Pick(3) == 0) TypeChars(L"n");
        m_done.restartsInQuery += Finder().IsActive();
        ++m_done.restarts;
        Restart();
        m_undo.clear();
        ASSERT_EQ(Store().GetPageCount(), m_pages.size()) << "after step " << step;
        for (uint32_t p = 0; p < m_pages.size(); ++p) {
            const LauncherPage* props = Store().PageRecord(p);
            ASSERT_NE(props, nullptr);
            EXPECT_EQ(props->title, m_pages[p].title) << "page " << p + 1 << "'s title after step " << step;
            std::map<uint32_t, std::pair<uint32_t, std::wstring>> stored, expected;
            for (const LauncherItem& record : Store().ItemLists().at(p))
                if (record.HoldsItem()) stored[record.cell] = {record.kind, record.target};
            for (const auto& [cell, item] : m_pages[p].items) expected[cell] = {item.kind, item.target};
            EXPECT_EQ(stored, expected) << "page " << p + 1 << " after step " << step;
        }
    }

    std::vector<Page> m_pages;
    std::deque<Step> m_undo;
    std::mt19937 m_rng{19};
    int m_serial = 0;
    struct {
        int opened = 0, clearedByFind = 0, undone = 0, undoneInQuery = 0, restarts = 0, restartsInQuery = 0;
        int filled = 0, undoneElsewhere = 0; // pages filled to the last cell; undos a full page sent on
    } m_done;
};

} // namespace

TEST_F(FindUndoSeeded, FindsOpensClearsAndUndosWithRestartsLoseNothing) {
    constexpr int kSteps = 500;
    for (int step = 0; step < kSteps && !HasFatalFailure(); ++step) {
        switch (Pick(12)) {
        case 0: case 1: case 2: AddItem(); break;
        case 3: AddPage(); break;
        case 4: Switch(); break;
        case 5: case 6: FindAndOpen(); break;
        case 7: ClearItem(); break;
        case 8: DeletePage(); break;
        case 9: case 10: Undo(); break;
        default:
            if (Pick(2) == 0) RestartAndCheck(step);
            else FindAndOpen();
            break;
        }
    }
    RestartAndCheck(kSteps);
    // The run did what it is for, not a few steps on empty pages.
    EXPECT_GE(m_done.opened, 20);
    EXPECT_GE(m_done.clearedByFind, 3);
    EXPECT_GE(m_done.undone, 10);
    EXPECT_GE(m_done.undoneInQuery, 3);
    EXPECT_GE(m_done.restarts, 10);
    EXPECT_GE(m_done.restartsInQuery, 1);
    EXPECT_GE(m_done.filled, 3);
    EXPECT_GE(m_done.undoneElsewhere, 1);
    std::printf("opened %d, cleared by a find %d, undone %d (%d during a query, %d onto another page), restarts %d "
                "(%d during a query), pages filled %d\n",
                m_done.opened, m_done.clearedByFind, m_done.undone, m_done.undoneInQuery, m_done.undoneElsewhere,
                m_done.restarts, m_done.restartsInQuery, m_done.filled);
}
