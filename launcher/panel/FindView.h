#pragma once
// Type to find: the query the user types on the panel and the transient view of its matches.
// The view has buttons of its own in the grid's cells and hides the page's buttons meanwhile, so
// nothing of it can reach a page record or a page file; ending the query shows the page again.
#include "FoundButton.h"
#include "ItemFinder.h"
#include "ShowBatch.h"
#include "PageRecords.h"
#include <windows.h>
#include <memory>
#include <string>
#include <vector>

namespace lhl {

class LanguageTable;
class PageStore;

// Every page's items as a query sees them, and the records they stand for (by source).
struct FindSource {
    std::vector<FindableItem> items;
    std::vector<LauncherItem> records;
};
FindSource CollectFindable(const PageStore& store);

class CFindView : public FoundButtonOwner {
public:
    static constexpr int kButtonIdBase = 20000;

    CFindView(HWND panel, PageStore* store, LanguageTable* language);
    ~CFindView();
    CFindView(const CFindView&) = delete;
    CFindView& operator=(const CFindView&) = delete;

    bool IsActive() const { return !m_query.empty(); }
    // A key message for the panel: true when the query took it. A digit as the first key is
    // left alone (it switches pages on release), and so is every key while no query runs.
    bool TakeKey(const MSG& msg);
    // Shows the page that was shown before the query, as it was.
    void End();
    bool HoldsButtonId(WORD id) const;
    // The panel came onto a screen of another scaling and its cells moved: the view's buttons,
    // made once and kept for later queries, follow them.
    void Relayout(UINT dpi);

    // What the view shows, for the panel and for checks.
    const std::wstring& Query() const { return m_query; }
    size_t MatchCount() const { return m_matches.size(); }
    size_t ShownCount() const { return m_nShown; }
    size_t LitIndex() const { return m_nLit; }
    const CButtonEx* ShownButton(size_t index) const;

    void ClearRealItem(const CFoundButton* button) override;
    void EditRealItem(const CFoundButton* button) override;
    bool CursorMoved() override;
    void HoverStarted(const CFoundButton* button) override;
    void HoverEnded() override;

private:
    bool TakeKeyDown(WPARAM key, LPARAM flags);
    void Type(wchar_t ch);
    void Backspace();
    void Begin();
    void Refresh();
    void ShowMatches();
    void ShowFrom(size_t first, const std::vector<size_t>& sources);
    void ShowStrip() const;
    void HidePageButtons();
    void MarkShownTab(bool marked);
    void MoveLit(int step);
    void OpenLit();
    CFoundButton* ButtonFor(size_t index);
    // The real item behind a shown button, back on its own page; null when it is gone.
    CButtonEx* GoToRealItem(const CFoundButton* button);

    HWND m_hPanel;
    PageStore* m_pStore;
    LanguageTable* m_pLanguage;
    std::wstring m_query;
    ItemFinder m_finder;
    std::vector<LauncherItem> m_records; // by FindableItem::source
    std::vector<FoundItem> m_matches;
    std::vector<std::unique_ptr<CFoundButton>> m_buttons; // kept, never destroyed while a query runs
    size_t m_nShown = 0;
    std::vector<size_t> m_shownSources; // the record each shown button holds
    size_t m_nLit = 0;
    uint32_t m_nShownPage = 0;
    bool m_bTaken = false;     // m_records and m_finder hold the items as the store had them
    uint32_t m_nTakenAt = 0;   // at this count of the store's changes
    uint32_t m_nLookAt = 0;    // the store's look when the buttons last took their background
    ShowBatch m_shows;         // the page's buttons going and the matches coming, in one move
    POINT m_lastCursor{}; // where the last mouse move counted was, on the screen
};

} // namespace lhl
