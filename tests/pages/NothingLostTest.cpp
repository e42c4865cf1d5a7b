// A long seeded run of everything a user does to pages and items, with saves and restarts at
// random moments; after every restart each page must hold exactly what the operations made.
// A second run changes the options that change those paths as it goes: the page tint, the grid
// size, the background picture and the moving of dropped shortcuts into the launcher's folder.
#include "ButtonEx.h"
#include "DropData.h"
#include "MessageBoxAnswerer.h"
#include "PanelHarness.h"
#include "PanelMessages.h"
#include <wincodec.h>
#include <cstdio>
#include <deque>
#include <map>
#include <optional>
#include <random>

using namespace lhl;

namespace {

struct ModelPage {
    LauncherPage props;
    std::map<uint32_t, LauncherItem> items; // by cell
};

// What the panel's undo would put back for one destructive change, as the user expects it.
struct ModelStep {
    std::optional<std::pair<uint32_t, ModelPage>> page;          // a deleted page and its place
    std::vector<std::pair<uint32_t, LauncherItem>> restore, takeAway; // page and item, cell included
};

class NothingLost : public lhltest::PanelTest {
protected:
    uint32_t m_units = 4;
    uint32_t Cells() const { return m_units * m_units; }

    void SetUp() override {
        PanelTest::SetUp();
        ModelPage first;
        first.props.title = L"1";
        m_pages.push_back(first);
    }

    ModelPage& Shown() { return m_pages[m_current]; }
    uint32_t Pick(uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(m_rng); }
    std::wstring Text(const wchar_t* stem) {
        std::wstring text = stem + std::to_wstring(m_serial++);
        if (Pick(3) == 0) text += std::wstring(Pick(40), L'\x6587'); // long and non-Latin sometimes
        return text;
    }
    LauncherItem RandomItem() {
        switch (Pick(3)) {
        case 0: return LauncherItem{kKindFile, 0, L"", L"C:\\data\\" + Text(L"file") + L".txt"};
        case 1: return LauncherItem{kKindClipboardText, 0, Text(L"note"), Text(L"clip ")};
        default: return LauncherItem{kKindLink, 0, Text(L"site"), Text(L"www.example.org/")};
        }
    }
    // Cells the grid shows; items beyond a smaller grid wait there untouched.
    std::vector<uint32_t> UsedCells() {
        std::vector<uint32_t> cells;
        for (const auto& [cell, item] : Shown().items)
            if (cell <= Cells()) cells.push_back(cell);
        return cells;
    }
    uint32_t FirstFree(const ModelPage& page) {
        for (uint32_t c = 1; c <= Cells(); ++c)
            if (!page.items.count(c)) return c;
        return 0;
    }
    void Put(ModelPage& page, uint32_t cell, LauncherItem item) {
        item.cell = cell;
        page.items[cell] = item;
    }

    void AddInFreeCell() {
        const LauncherItem item{kKindFile, 0, L"", L"C:\\data\\" + Text(L"free") + L".txt"};
        const uint32_t cell = FirstFree(Shown());
        EXPECT_EQ(Store().AddFileItem(item.target), cell ? 0 : 1);
        if (cell) Put(Shown(), cell, item);
    }
    void AddAtPoint() {
        LauncherItem item = RandomItem();
        const uint32_t cell = 1 + Pick(Cells());
        const POINT p = CellCentre(cell);
        if (item.kind == kKindFile) Store().AddFileItemAt(p.x, p.y, item.target);
        else if (item.kind == kKindClipboardText) Store().AddTextItemAt(p.x, p.y, item.title, item.target);
        else Store().AddLinkItemAt(p.x, p.y, item.title, item.target);
        RememberReplacement(cell, item);
        Put(Shown(), cell, item); // an occupied cell asks, and the answer is Yes
    }
    void MoveWithinPage() {
        const std::vector<uint32_t> used = UsedCells();
        if (used.empty()) return;
        const uint32_t from = used[Pick(static_cast<uint32_t>(used.size()))];
        const uint32_t to = 1 + Pick(Cells());
        const POINT p = CellCentre(to);
        Store().MoveItemTo(p.x, p.y, Store().ButtonAtCell(from));
        if (from == to) return;
        LauncherItem item = Shown().items[from];
        if (Shown().items.count(to)) {
            LauncherItem placed = item;
            placed.cell = to;
            Remember(ModelStep{{}, {{m_current, Shown().items[to]}, {m_current, item}}, {{m_current, placed}}});
        }
        Shown().items.erase(from);
        Put(Shown(), to, item);
    }
    void MoveToOtherPage() {
        const std::vector<uint32_t> used = UsedCells();
        if (used.empty() || m_pages.size() < 2) return;
        uint32_t target = Pick(static_cast<uint32_t>(m_pages.size()));
        if (target == m_current) return;
        const uint32_t from = used[Pick(static_cast<uint32_t>(used.size()))];
        CButtonEx* source = Store().ButtonAtCell(from);
        ASSERT_NE(source, nullptr);
        const LauncherItem item = Shown().items[from];
        Config().m_movingKind = static_cast<uint32_t>(source->GetKind() + 1);
        Config().m_movingTitle = source->GetTitle();
        Config().m_movingTarget = source->GetTarget();
        Config().m_moveSourcePage = m_current;
        Config().m_pMovingSource = source;
        source->ResetButton();
        ::SendMessageW(PanelWindow(), UM_SWITCH_PAGE, target + 1, 1);
        Settle();
        const uint32_t free = FirstFree(m_pages[target]);
        if (!free) return; // refused: the item is back on its button
        LauncherItem placed = item;
        placed.cell = free;
        Remember(ModelStep{{}, {{m_current, item}}, {{target, placed}}});
        Shown().items.erase(from);
        m_current = target;
        Put(Shown(), free, item);
    }
    void Align() {
        Store().AlignItems();
        Settle();
        std::map<uint32_t, LauncherItem> packed;
        uint32_t cell = 1;
        for (auto& [old, item] : Shown().items) {
            if (old > Cells()) {
                packed[old] = item;
                continue;
            }
            item.cell = cell;
            packed[cell++] = item;
        }
        Shown().items = packed;
    }
    void Clear() {
        ModelStep step;
        for (const auto& [cell, item] : Shown().items)
            if (cell <= Cells()) step.restore.push_back({m_current, item});
        if (!step.restore.empty()) Remember(step);
        Store().ClearPage();
        std::erase_if(Shown().items, [this](const auto& entry) { return entry.first <= Cells(); });
    }
    void AddPage() {
        Config().SaveCurrentPageAside();
        const uint32_t before = Store().GetPageCount();
        Store().AddPage();
        Config().RestoreCurrentPage();
        if (before == 17) return;
        ModelPage page;
        page.props.title = std::to_wstring(before + 1);
        page.props.focusTextColor = 0x0000FF;
        m_pages.push_back(page);
    }
    void DeletePage() {
        Store().DeletePage();
        Settle();
        if (m_current == 0) return;
        Remember(ModelStep{std::make_pair(m_current, Shown()), {}, {}});
        m_pages.erase(m_pages.begin() + m_current);
        --m_current;
    }
    void Switch() {
        const uint32_t target = Pick(static_cast<uint32_t>(m_pages.size()));
        ::SendMessageW(PanelWindow(), UM_SWITCH_PAGE, target + 1, 0);
        Settle();
        m_current = target;
    }
    void EditPage() {
        LauncherPage props{Pick(0xFFFFFF), Pick(0xFFFFFF), Pick(0xFFFFFF), Pick(0xFFFFFF), Text(L"Page"), Text(L"tip")};
        Store().SetPageProperties(props.title, props.tip, props.focusBackColor, props.normalBackColor,
                                  props.focusTextColor, props.normalTextColor);
        Shown().props = props;
    }
    void EditItem() {
        const std::vector<uint32_t> used = UsedCells();
        if (used.empty()) return;
        const uint32_t cell = used[Pick(static_cast<uint32_t>(used.size()))];
        LauncherItem item{kKindClipboardText, 0, Text(L"edited"), Text(L"new text ")};
        Store().ButtonAtCell(cell)->SetTextItem(item.title, item.target);
        ::SendMessageW(PanelWindow(), UM_SAVE_PAGE, 0, 0);
        Put(Shown(), cell, item);
    }
    void DeleteItem() {
        const std::vector<uint32_t> used = UsedCells();
        if (used.empty()) return;
        const uint32_t cell = used[Pick(static_cast<uint32_t>(used.size()))];
        Remember(ModelStep{{}, {{m_current, Shown().items[cell]}}, {}});
        Store().ButtonAtCell(cell)->DeleteItem();
        Shown().items.erase(cell);
    }

    // Options, as the options sheet applies them: the grid at the next start, the picture and
    // the tint at once (the buttons are rebuilt later, from a posted message).
    void ChangeGrid() {
        m_units = 3 + Pick(3);
        Config().Settings().unitsPerRow = static_cast<int>(m_units);
        RestartSession();
    }
    // Every kind of picture the options accept, the one shipped with the program, or none.
    void ChangePicture() {
        struct Kind {
            const wchar_t* name;
            const GUID* container; // null: written byte by byte
        };
        static const Kind kinds[] = {{L"picture.bmp", &GUID_ContainerFormatBmp},
                                     {L"picture.jpg", &GUID_ContainerFormatJpeg},
                                     {L"picture.png", &GUID_ContainerFormatPng},
                                     {L"picture.gif", nullptr}};
        const uint32_t choice = Pick(6);
        std::wstring picture = L"default.bmp";
        if (choice < 4) {
            const Kind& kind = kinds[choice];
            picture = lhltest::DataFolder() + kind.name;
            if (!lhltest::FileExists(picture)) {
                if (kind.container) {
                    ASSERT_TRUE(lhltest::WritePicture(picture, *kind.container, RGB(40, 90, 160)));
                } else {
                    lhltest::WriteBytes(picture, lhltest::kRedGif);
                }
            }
        }
        Config().Settings().useBackgroundImage = choice == 5 ? 0 : 1;
        Config().Settings().backgroundImage = picture;
        Config().Settings().changeBackgroundOnSwitch = Pick(2);
        EXPECT_TRUE(m_panel->LoadBackground() || choice == 5) << "the panel cannot read " << std::string(picture.begin(), picture.end());
        Store().RefreshButtons(1);
        if (Pick(2) == 0) Switch(); // before the rebuild message is handled
    }
    // A shortcut dropped on a cell moves into the launcher's own folder and the item points there.
    void DropShortcut() {
        const uint32_t cell = 1 + Pick(Cells());
        const std::wstring name = L"link" + std::to_wstring(m_serial++) + L".lnk";
        const std::wstring dropped = lhltest::DataFolder() + L"items\\" + name;
        ASSERT_TRUE(lhltest::MakeShortcut(dropped, MakeFile(L"linked" + std::to_wstring(m_serial) + L".txt")));
        POINT p = CellCentre(cell);
        ::ClientToScreen(PanelWindow(), &p);
        ::SetCursorPos(p.x, p.y);
        m_panel->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(lhltest::MakeDropBlock({dropped})));
        const LauncherItem item{kKindFile, cell, L"", Config().ShortcutFolder() + name};
        RememberReplacement(cell, item);
        Put(Shown(), cell, item);
    }
    // Undo: each destructive change is remembered with what it took away, twenty at most, for
    // the session. An item goes back to its cell, else the first free one; what a full page has
    // no room for goes, on the user's Yes, to the first page with room for all of it, else to a
    // new page. A deleted page with all pages in use is let go of on the user's Yes.
    void Remember(ModelStep step) {
        m_undo.push_back(std::move(step));
        if (m_undo.size() > 20) m_undo.pop_front();
    }
    void RememberReplacement(uint32_t cell, LauncherItem item) {
        if (!Shown().items.count(cell)) return;
        item.cell = cell;
        Remember(ModelStep{{}, {{m_current, Shown().items[cell]}}, {{m_current, item}}});
    }
    void RestartSession() {
        Restart();
        m_undo.clear();
    }
    static void TakeAway(ModelPage& page, const LauncherItem& item) {
        auto found = page.items.find(item.cell);
        if (found == page.items.end() || found->second != item)
            found = std::find_if(page.items.begin(), page.items.end(), [&](const auto& entry) {
                return entry.second.kind == item.kind && entry.second.title == item.title && entry.second.target == item.target;
            });
        if (found != page.items.end()) page.items.erase(found);
    }
    uint32_t CellToRestore(const ModelPage& page, uint32_t cell) {
        if (cell >= 1 && cell <= Cells() && !page.items.count(cell)) return cell;
        return FirstFree(page);
    }
    void UndoLast() {
        PressKey('Z', true);
        UndoInModel();
        Settle();
        ExpectStoreMatchesModel(-1);
    }
    void UndoInModel() {
        if (m_undo.empty()) return;
        const ModelStep step = m_undo.back();
        if (step.page) {
            m_undo.pop_back();
            if (m_pages.size() >= 17) {
                ++m_pagesLetGo;
                ForgetPageInModel(step.page->first);
                return;
            }
            m_current = std::min(step.page->first, static_cast<uint32_t>(m_pages.size()));
            m_pages.insert(m_pages.begin() + m_current, step.page->second);
            ++m_pagesBack;
            return;
        }
        std::vector<ModelPage> pages = m_pages;
        // What went with a page let go is taken from nowhere; what came from it returns to the
        // shown page.
        const auto pageOf = [&](uint32_t page) { return page < pages.size() ? page : m_current; };
        for (const auto& [page, item] : step.takeAway)
            if (page < pages.size()) TakeAway(pages[page], item);
        std::vector<LauncherItem> homeless;
        for (const auto& [page, item] : step.restore) {
            const uint32_t cell = CellToRestore(pages[pageOf(page)], item.cell);
            if (cell == 0) homeless.push_back(item);
            else Put(pages[pageOf(page)], cell, item);
        }
        m_current = pageOf(step.restore.front().first);
        if (!homeless.empty() && !PlaceHomeless(pages, homeless)) return;
        m_pages = std::move(pages);
        m_undo.pop_back();
        ++m_itemStepsBack;
    }
    // A deleted page let go: the older steps' pages after it move down one, its own are no page.
    // Each step counts the pages as they stand once the later ones are undone: behind an older
    // deleted page that comes back in front of it, the page let go stands one place further on.
    void ForgetPageInModel(uint32_t position) {
        constexpr uint32_t kNoPage = 0xFFFFFFFF;
        for (auto older = m_undo.rbegin(); older != m_undo.rend(); ++older) {
            for (auto* placed : {&older->restore, &older->takeAway})
                for (auto& entry : *placed)
                    if (entry.first != kNoPage && entry.first >= position)
                        entry.first = entry.first == position ? kNoPage : entry.first - 1;
            if (!older->page) continue;
            if (older->page->first > position) --older->page->first;
            else ++position;
        }
    }
    size_t FreeCells(const ModelPage& page) {
        size_t free = 0;
        for (uint32_t c = 1; c <= Cells(); ++c) free += page.items.count(c) ? 0 : 1;
        return free;
    }
    bool PlaceHomeless(std::vector<ModelPage>& pages, const std::vector<LauncherItem>& homeless) {
        uint32_t target = 0;
        while (target < pages.size() && FreeCells(pages[target]) < homeless.size()) ++target;
        if (target == pages.size()) {
            if (pages.size() >= 17) return false;
            ModelPage added;
            added.props.title = std::to_wstring(pages.size() + 1);
            added.props.focusTextColor = 0x0000FF;
            pages.push_back(added);
            m_pages.push_back(added); // the new page stays whatever the undo does
        }
        for (const LauncherItem& item : homeless) Put(pages[target], FirstFree(pages[target]), item);
        m_current = target;
        ++m_elsewhere;
        return true;
    }

    void ExpectShortcutCopiesOfItemsExist(int step) {
        for (const ModelPage& page : m_pages) {
            for (const auto& [cell, item] : page.items) {
                if (item.target.rfind(Config().ShortcutFolder(), 0) != 0) continue;
                EXPECT_TRUE(lhltest::FileExists(item.target)) << "an item's shortcut copy is gone, step " << step;
            }
        }
    }

    // After a restart: the pages as the model has them, the picture the options chose, and the
    // shortcut copies the items point to.
    void ExpectRestartKeptEverything(int step) {
        ExpectStoreMatchesModel(step);
        ExpectShortcutCopiesOfItemsExist(step);
        const bool pictureBack = !Config().Settings().useBackgroundImage || m_panel->Background();
        EXPECT_TRUE(pictureBack) << "the chosen picture did not come back, step " << step;
    }

    void ExpectStoreMatchesModel(int step) {
        ASSERT_EQ(Store().GetPageCount(), m_pages.size()) << "step " << step;
        ASSERT_EQ(Store().GetCurrentPage(), m_current) << "step " << step;
        for (uint32_t p = 0; p < m_pages.size(); ++p) {
            const LauncherPage* record = Store().PageRecord(p);
            ASSERT_NE(record, nullptr);
            EXPECT_EQ(*record, m_pages[p].props) << "page " << p << " properties, step " << step;
            std::map<uint32_t, LauncherItem> loaded;
            if (p < Store().ItemLists().size())
                for (const LauncherItem& item : Store().ItemLists()[p])
                    if (item.kind != kKindNone && item.cell != 0) loaded[item.cell] = item;
            EXPECT_EQ(loaded, m_pages[p].items) << "page " << p << " items, step " << step;
        }
        for (uint32_t cell = 1; cell <= Cells(); ++cell) {
            CButtonEx* button = Store().ButtonAtCell(cell);
            const std::wstring shown = button && !button->IsEmptyItem() ? button->GetTarget() : L"";
            const auto it = Shown().items.find(cell);
            EXPECT_EQ(shown, it == Shown().items.end() ? L"" : it->second.target) << "cell " << cell << ", step " << step;
        }
    }

    std::mt19937 m_rng{20261209};
    std::vector<ModelPage> m_pages;
    std::deque<ModelStep> m_undo;
    int m_pagesBack = 0, m_itemStepsBack = 0; // undos that put something back
    int m_elsewhere = 0, m_pagesLetGo = 0;    // undos a full page or a full launcher turned aside
    uint32_t m_current = 0;
    int m_serial = 0;
};

} // namespace

TEST_F(NothingLost, ThousandsOfOperationsWithRestartsKeepEveryItem) {
    lhltest::MessageBoxAnswerer user(IDYES); // replace questions: Yes; notices: OK
    int restarts = 0;
    for (int step = 0; step < 3000; ++step) {
        switch (Pick(18)) {
        case 0: case 1: case 2: AddInFreeCell(); break;
        case 3: case 4: AddAtPoint(); break;
        case 5: MoveWithinPage(); break;
        case 6: MoveToOtherPage(); break;
        case 7: Align(); break;
        case 8: if (Pick(4) == 0) Clear(); break;
        case 9: AddPage(); break;
        case 10: if (Pick(2) == 0) DeletePage(); break;
        case 11: case 12: Switch(); break;
        case 13: EditPage(); break;
        case 14: EditItem(); break;
        case 15: DeleteItem(); break;
        default: UndoLast(); break;
        }
        Settle();
        if (HasFatalFailure()) return;
        if (Pick(60) == 0) {
            RestartSession();
            ++restarts;
            ExpectStoreMatchesModel(step);
            if (HasFailure()) return;
        }
    }
    RestartSession();
    ExpectStoreMatchesModel(3000);
    EXPECT_GT(restarts, 20);
    EXPECT_GT(m_pagesBack, 10) << "the run hardly undid a page deletion";
    EXPECT_GT(m_itemStepsBack, 50) << "the run hardly undid an item change";
    std::printf("undos: %d pages back, %d item steps back, %d put on another page, %d pages let go\n", m_pagesBack,
                m_itemStepsBack, m_elsewhere, m_pagesLetGo);
}

TEST_F(NothingLost, ThousandsOfOperationsUnderChangingOptionsKeepEveryItem) {
    lhltest::MessageBoxAnswerer user(IDYES);
    m_rng.seed(20261210);
    Config().Settings().removeShortcutFiles = 1;
    int restarts = 0, gridChanges = 0;
    for (int step = 0; step < 3000; ++step) {
        switch (Pick(22)) {
        case 0: case 1: AddInFreeCell(); break;
        case 2: case 3: AddAtPoint(); break;
        case 4: DropShortcut(); break;
        case 5: MoveWithinPage(); break;
        case 6: case 7: MoveToOtherPage(); break;
        case 8: Align(); break;
        case 9: if (Pick(4) == 0) Clear(); break;
        case 10: AddPage(); break;
        case 11: if (Pick(2) == 0) DeletePage(); break;
        case 12: case 13: Switch(); break;
        case 14: EditItem(); break;
        case 15: DeleteItem(); break;
        case 16: ChangePicture(); break;
        case 17:
            if (Pick(3) != 0) break;
            ChangeGrid();
            ++gridChanges;
            ExpectRestartKeptEverything(step);
            break;
        case 18: case 19: UndoLast(); break;
        default: EditPage(); break;
        }
        Settle();
        if (HasFatalFailure()) return;
        if (Pick(60) == 0) {
            RestartSession();
            ++restarts;
            ExpectRestartKeptEverything(step);
            if (HasFailure()) return;
        }
    }
    Settle();
    RestartSession();
    ExpectRestartKeptEverything(3000);
    EXPECT_GT(restarts, 20);
    EXPECT_GT(gridChanges, 20);
    EXPECT_GT(m_pagesBack, 10) << "the run hardly undid a page deletion";
    EXPECT_GT(m_itemStepsBack, 50) << "the run hardly undid an item change";
    std::printf("undos: %d pages back, %d item steps back, %d put on another page, %d pages let go\n", m_pagesBack,
                m_itemStepsBack, m_elsewhere, m_pagesLetGo);
}
