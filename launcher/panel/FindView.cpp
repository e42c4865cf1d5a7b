#include "FindView.h"
#include "IndexButton.h"
#include "ItemText.h"
#include "LanguageKeys.h"
#include "LanguageTable.h"
#include "Module.h"
#include "PageStore.h"
#include "PanelMessages.h"
#include "ShellCache.h"
#include "resource.h"
#include <windowsx.h>
#include <algorithm>

namespace lhl {
namespace {

// As much of a clipboard text as its tip shows: the start is what the user remembers.
constexpr size_t kTextStart = 128;

bool IsDigit(wchar_t ch) { return ch >= L'0' && ch <= L'9'; }

// The releases the panel acts on itself (Tab, Delete and the digits switch or delete pages). Any
// other release goes on to TranslateMessage: an input method finishes its work on releases, and
// one that switches its mode on a lone Shift sees only the release.
bool IsPanelReleaseKey(WPARAM key) {
    return key == VK_TAB || key == VK_DELETE || (key >= '0' && key <= '9') || (key >= VK_NUMPAD0 && key <= VK_NUMPAD9);
}

// Control characters (Ctrl+letters, Backspace, Enter, Esc) never become part of a query.
bool IsPrintable(wchar_t ch) { return ch >= L' ' && ch != 0x7F; }

// What a query can match besides the title, and the title itself as the user sees it. A file's
// display name only when the shell already said it: a query never waits for the shell.
FindableItem FindableOf(const LauncherItem& record, uint32_t page) {
    FindableItem item{page, record.cell, record.title, record.target, 0};
    if (record.kind == kKindFile) {
        item.target = FileNameOf(record.target);
        if (!KnownShellDisplayName(record.target, item.title)) item.title = item.target;
    } else if (record.kind == kKindClipboardText) {
        item.target = record.target.substr(0, kTextStart);
    }
    return item;
}

} // namespace

FindSource CollectFindable(const PageStore& store) {
    FindSource source;
    const auto cells = static_cast<uint32_t>(store.Cells().size());
    const std::vector<PageItems>& pages = store.ItemLists();
    for (uint32_t page = 0; page < pages.size() && page < store.GetPageCount(); ++page) {
        for (const LauncherItem& record : pages[page]) {
            // An item kept for a larger grid is not on its page now, so it cannot be gone to.
            if (!record.HoldsItem() || record.cell > cells || record.target.empty()) continue;
            source.items.push_back(FindableOf(record, page));
            source.items.back().source = source.records.size();
            source.records.push_back(record);
        }
    }
    return source;
}

CFindView::CFindView(HWND panel, PageStore* store, LanguageTable* language)
    : m_hPanel(panel), m_pStore(store), m_pLanguage(language) {}

CFindView::~CFindView() = default;

bool CFindView::TakeKey(const MSG& msg) {
    switch (msg.message) {
    case WM_CHAR:
    case WM_IME_CHAR: {
        // An input method's result comes as WM_IME_CHAR, which the default handling would
        // post again as WM_CHAR: taken here, it counts once.
        const auto ch = static_cast<wchar_t>(msg.wParam);
        if (!IsPrintable(ch) || (!IsActive() && (IsDigit(ch) || ch == L' '))) return false;
        Type(ch);
        return true;
    }
    case WM_KEYDOWN:
        if (!IsActive()) return false;
        if (msg.wParam == VK_SPACE) {
            // The focused button must not press, but the layout still makes the character: after
            // a dead key that is the accent itself, not a space.
            ::TranslateMessage(&msg);
            return true;
        }
        return TakeKeyDown(msg.wParam, msg.lParam);
    case WM_KEYUP:
        return IsActive() && IsPanelReleaseKey(msg.wParam);
    default:
        return false;
    }
}

// The keys the dialog manager would take for itself (a focused button presses on Space and
// Enter, the arrows move the focus); the rest go on to become characters.
// A held Enter opens the match once: the panel may stay after a launch, and a repeat could land
// on the "file is missing" question and answer it.
bool CFindView::TakeKeyDown(WPARAM key, LPARAM flags) {
    constexpr LPARAM kRepeat = 1 << 30; // the key was already down
    const int row = std::max(1, m_pStore->UnitsPerRow());
    switch (key) {
    case VK_ESCAPE: End(); return true;
    case VK_BACK: Backspace(); return true;
    case VK_RETURN:
        if ((flags & kRepeat) == 0) OpenLit();
        return true;
    case VK_LEFT: MoveLit(-1); return true;
    case VK_RIGHT: MoveLit(1); return true;
    case VK_UP: MoveLit(-row); return true;
    case VK_DOWN: MoveLit(row); return true;
    case VK_TAB:
    case VK_DELETE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
        return true;
    default:
        return false;
    }
}

void CFindView::Type(wchar_t ch) {
    if (IsActive()) {
        m_query += ch;
        Refresh();
        return;
    }
    // The page's buttons go and the matches come in one paint.
    fw::RedrawPause pause(m_hPanel);
    Begin();
    m_query += ch;
    Refresh();
    m_shows.Apply(); // when no match changed, the page's buttons still go
}

// A letter beyond the first plane is two units, and goes as one.
void CFindView::Backspace() {
    size_t cut = m_query.size() - 1;
    if (cut > 0 && IS_LOW_SURROGATE(m_query[cut]) && IS_HIGH_SURROGATE(m_query[cut - 1])) --cut;
    if (cut == 0) {
        End();
        return;
    }
    m_query.erase(m_query.begin() + static_cast<std::ptrdiff_t>(cut), m_query.end());
    Refresh();
}

// The items are taken at a query's start when they changed since the last one: nothing can
// change them while it runs.
void CFindView::Begin() {
    m_nShownPage = m_pStore->GetCurrentPage();
    if (!m_bTaken || m_nTakenAt != m_pStore->ChangeCount()) {
        FindSource source = CollectFindable(*m_pStore);
        m_records = std::move(source.records);
        m_finder.SetItems(std::move(source.items));
        m_nTakenAt = m_pStore->ChangeCount();
        m_bTaken = true;
    }
    // The panel behind them may have changed since the last query: the page's tint, a new
    // picture. Only then, as taking the copies again costs a background paint each.
    if (m_nLookAt != m_pStore->LookCount()) {
        for (auto& button : m_buttons) button->ForgetParentCopy();
        m_nLookAt = m_pStore->LookCount();
    }
    HidePageButtons();
    MarkShownTab(false);
    ::GetCursorPos(&m_lastCursor);
}

void CFindView::Refresh() {
    m_matches = m_finder.Find(m_query);
    m_nLit = 0;
    ShowMatches();
    ShowStrip();
}

CFoundButton* CFindView::ButtonFor(size_t index) {
    const RECT& rc = m_pStore->Cells()[index].rect;
    if (index < m_buttons.size()) return m_buttons[index].get();
    auto button = std::make_unique<CFoundButton>(this);
    if (!button->Create(L"", WS_CHILD, rc, m_hPanel, static_cast<UINT>(kButtonIdBase + index))) return nullptr;
    m_buttons.push_back(std::move(button));
    return m_buttons.back().get();
}

void CFindView::Relayout(UINT dpi) {
    const std::vector<GridCell>& cells = m_pStore->Cells();
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        m_buttons[i]->SetDpi(dpi);
        if (i >= cells.size()) continue;
        const RECT& rc = cells[i].rect;
        ::MoveWindow(m_buttons[i]->m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
    }
}

// A key mostly narrows the matches and the first cells keep theirs: only the buttons whose
// match changed are shown anew, so a key costs what it changes, not a page switch.
void CFindView::ShowMatches() {
    const size_t shown = std::min(m_matches.size(), m_pStore->Cells().size());
    std::vector<size_t> sources(shown);
    for (size_t i = 0; i < shown; ++i) sources[i] = m_finder.Item(m_matches[i].index).source;
    size_t same = 0;
    while (same < shown && same < m_nShown && m_shownSources[same] == sources[same]) ++same;
    if (same < shown || shown < m_nShown) ShowFrom(same, sources);
    for (size_t i = 0; i < m_nShown; ++i) m_buttons[i]->SetLit(i == m_nLit);
}

void CFindView::ShowFrom(size_t first, const std::vector<size_t>& sources) {
    fw::RedrawPause pause(m_hPanel);
    ShellNameBatch names;
    size_t shown = first;
    for (; shown < sources.size(); ++shown) {
        CFoundButton* button = ButtonFor(shown);
        if (!button) break;
        const LauncherItem& record = m_records[sources[shown]];
        button->SetLit(false);
        button->ResetButton(false);
        m_pStore->StyleItemButton(button);
        button->SetItemOfKind(record.kind, record.title, record.target);
        m_shows.Show(button->m_hWnd);
    }
    for (size_t i = shown; i < m_nShown; ++i) {
        m_buttons[i]->SetLit(false);
        m_buttons[i]->ResetButton(false);
        m_shows.Hide(m_buttons[i]->m_hWnd);
    }
    m_nShown = shown;
    m_shownSources.assign(sources.begin(), sources.begin() + static_cast<std::ptrdiff_t>(shown));
    m_shows.Apply();
}

void CFindView::ShowStrip() const {
    std::wstring label = fw::LoadResString(IDS_FIND_STRIP);
    if (m_pLanguage) label = m_pLanguage->TextOr(kSectionMain, kKeyFindStrip, label.c_str());
    const std::wstring text = label + L" " + m_query + L"  (" + std::to_wstring(m_matches.size()) + L")";
    ::SetDlgItemTextW(m_hPanel, IDC_STRIP, text.c_str());
}

void CFindView::HidePageButtons() {
    const auto cells = static_cast<uint32_t>(m_pStore->Cells().size());
    for (uint32_t cell = 1; cell <= cells; ++cell) {
        CButtonEx* button = m_pStore->ButtonAtCell(cell);
        if (!button || !button->HasVisibleStyle()) continue;
        button->EndHover();
        m_shows.Hide(button->m_hWnd);
    }
}

// While a query runs no page is the shown one: its tab loses its mark.
void CFindView::MarkShownTab(bool marked) {
    const std::vector<PageTab>& tabs = m_pStore->Tabs();
    for (size_t i = 0; i < tabs.size(); ++i)
        if (tabs[i].button) tabs[i].button->SetCurrentMark(marked && i == m_nShownPage ? static_cast<int>(i + 1) : 0);
}

void CFindView::End() {
    if (!IsActive()) return;
    m_query.clear();
    m_matches.clear();
    {
        fw::RedrawPause pause(m_hPanel);
        for (auto& button : m_buttons) {
            button->SetLit(false);
            button->ResetButton(); // hidden, not destroyed: it may be running its own command
        }
        m_nShown = 0;
        m_shownSources.clear();
        m_pStore->RefreshButtons(0);
        MarkShownTab(true);
    }
    ::SetDlgItemTextW(m_hPanel, IDC_STRIP, TextOf(m_pLanguage, texts::kStrip).c_str());
}

bool CFindView::HoldsButtonId(WORD id) const {
    return id >= kButtonIdBase && id < kButtonIdBase + m_buttons.size();
}

const CButtonEx* CFindView::ShownButton(size_t index) const {
    return index < m_nShown ? m_buttons[index].get() : nullptr;
}

void CFindView::MoveLit(int step) {
    if (m_nShown == 0) return;
    const auto target = static_cast<long long>(m_nLit) + step;
    if (target < 0 || target >= static_cast<long long>(m_nShown)) return;
    m_buttons[m_nLit]->SetLit(false);
    m_nLit = static_cast<size_t>(target);
    m_buttons[m_nLit]->SetLit(true);
}

// Exactly what a click on the lit match does.
void CFindView::OpenLit() {
    if (m_nLit < m_nShown) m_buttons[m_nLit]->LaunchItem();
}

void CFindView::HoverStarted(const CFoundButton* button) {
    for (size_t i = 0; i < m_nShown; ++i) {
        if (m_buttons[i].get() == button) m_nLit = i;
        else m_buttons[i]->SetLit(false);
    }
}

bool CFindView::CursorMoved() {
    const DWORD at = ::GetMessagePos();
    const POINT cursor{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (cursor.x == m_lastCursor.x && cursor.y == m_lastCursor.y) return false;
    m_lastCursor = cursor;
    return true;
}

// Enter opens the lit match: it stays drawn lit when the mouse is no longer on it.
void CFindView::HoverEnded() {
    if (!IsActive()) return;
    if (m_nLit < m_nShown) m_buttons[m_nLit]->SetLit(true);
    ShowStrip();
}

// The query ends and the item's page is shown, as a tab would show it; the button there must
// still hold the same item, or nothing is done to whatever holds its cell now.
CButtonEx* CFindView::GoToRealItem(const CFoundButton* button) {
    size_t index = 0;
    while (index < m_nShown && m_buttons[index].get() != button) ++index;
    if (index >= m_nShown) return nullptr;
    const LauncherItem record = m_records[m_finder.Item(m_matches[index].index).source];
    const uint32_t page = m_finder.Item(m_matches[index].index).page;
    End();
    ::SendMessageW(m_hPanel, UM_SWITCH_PAGE, page + 1, 0);
    CButtonEx* real = m_pStore->GetCurrentPage() == page ? m_pStore->ButtonAtCell(record.cell) : nullptr;
    return real && real->GetTarget() == record.target ? real : nullptr;
}

void CFindView::ClearRealItem(const CFoundButton* button) {
    if (CButtonEx* real = GoToRealItem(button)) real->DeleteItem();
}

void CFindView::EditRealItem(const CFoundButton* button) {
    if (CButtonEx* real = GoToRealItem(button)) real->ShowItemProperties();
}

} // namespace lhl
