#include "PageStore.h"
#include "LanguageTable.h"
#include "LanguageKeys.h"
#include "ButtonEx.h"
#include "Dpi.h"
#include "IndexButton.h"
#include "LauncherConfig.h"
#include "PanelMessages.h"
#include "ShellFolder.h"
#include <algorithm>

namespace lhl {
namespace {

constexpr DWORD kTabStyle = WS_CHILD | WS_VISIBLE;
constexpr uint32_t kDeleteRefused = 2;

int Width(const RECT& rc) { return rc.right - rc.left; }

LauncherPage PageFromConfig(const LauncherConfig& config) {
    const PageBlock& b = config.m_page;
    LauncherPage page;
    page.title = b.title;
    page.tip = b.tip;
    page.focusBackColor = b.focusBackColor;
    page.normalBackColor = b.normalBackColor;
    page.focusTextColor = b.focusTextColor;
    page.normalTextColor = b.normalTextColor;
    return page;
}

} // namespace

PageStore::PageStore(LauncherConfig* config) : m_pConfig(config) {}

PageStore::~PageStore() {
    // The session's undo steps end here; the shortcut copies they kept go now.
    m_undo.DropAll();
    // Buttons and created tabs go with the store; the first tab belongs to the panel.
    m_buttons.clear();
    m_ownedTabs.clear();
}

RECT PageStore::ToClient(RECT rc) const {
    ::MapWindowPoints(HWND_DESKTOP, m_hParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void PageStore::SetTabWidth(const RECT& endMarkerScreen) { m_nTabWidth = Width(ToClient(endMarkerScreen)); }

std::wstring PageStore::NewGroupFileName() const {
    SYSTEMTIME t{};
    ::GetLocalTime(&t);
    wchar_t base[96];
    swprintf(base, std::size(base), L"pages_info_%d_%d_%d_%d_%d_%d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
             t.wSecond);
    // Two groups made within one second must not share a file.
    for (int suffix = 1;; ++suffix) {
        const std::wstring name = suffix == 1 ? std::wstring(base) + L".dat"
                                              : std::wstring(base) + L"_" + std::to_wstring(suffix) + L".dat";
        const bool taken = std::any_of(m_groups.begin(), m_groups.end(),
                                       [&](const PageGroup& g) { return g.fileName == name; }) ||
                           fw::PathExists(DataPath(name));
        if (!taken) return name;
    }
}

void PageStore::AppendPageToGroups(const LauncherPage& page) {
    if (m_groups.empty() || m_groups.back().pages.size() >= kMaxPagesPerGroup) {
        PageGroup group;
        group.fileName = NewGroupFileName();
        m_groups.push_back(std::move(group));
    }
    m_groups.back().pages.push_back(page);
}

bool PageStore::FindGroupOf(uint32_t page, size_t& group, uint32_t& first) const {
    uint32_t start = 0;
    for (size_t g = 0; g < m_groups.size(); ++g) {
        const uint32_t count = static_cast<uint32_t>(m_groups[g].pages.size());
        if (page < start + count) {
            group = g;
            first = start;
            return true;
        }
        start += count;
    }
    return false;
}

const LauncherPage* PageStore::PageRecord(uint32_t index) const {
    size_t group = 0;
    uint32_t first = 0;
    return FindGroupOf(index, group, first) ? &m_groups[group].pages[index - first] : nullptr;
}

void PageStore::InitFirstPage(CIndexButton* firstTab, const RECT& firstTabScreen, const RECT& endMarkerScreen) {
    const RECT first = ToClient(firstTabScreen);
    const RECT end = ToClient(endMarkerScreen);
    m_rcTabStrip = RECT{first.left, first.top, end.right, first.bottom};
    m_tabs.assign(1, PageTab{first, firstTab});
    LauncherPage page = PageFromConfig(*m_pConfig);
    page.title = firstTab ? firstTab->GetWindowText() : L"1";
    AppendPageToGroups(page);
}

void PageStore::BuildGrid(int left, int top, int right, int bottom) {
    const int n = m_pConfig->GetUnitsPerRow();
    if (n < 1) return;
    m_nUnits = n;
    ++m_nChanges;
    m_cells.clear();
    LayOutCells(left, top, right, bottom);
    LoadAll();
}

// The n x n cells of the rectangle (screen coordinates), a scaled gap after each.
void PageStore::LayOutCells(int left, int top, int right, int bottom) {
    const int n = m_nUnits;
    const int gap = fw::Scale(kCellGap, m_nDpi);
    const int w = (right - left - gap * n) / n;
    const int h = (bottom - top - gap * n) / n;
    std::vector<GridCell> cells(static_cast<size_t>(n) * n);
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            const int x = left + c * w + gap * c;
            const int y = top + r * h + gap * r;
            const size_t i = static_cast<size_t>(r) * n + c;
            cells[i].rect = ToClient(RECT{x, y, x + w, y + h});
            if (i < m_cells.size()) cells[i].hasButton = m_cells[i].hasButton; // laid out again
        }
    }
    m_cells = std::move(cells);
}

void PageStore::SetDpi(UINT dpi, HFONT tabFont) {
    m_nDpi = dpi ? dpi : fw::kBaseDpi;
    m_hTabFont = tabFont;
}

void PageStore::Relayout(const RECT& firstTabScreen, const RECT& endMarkerScreen) {
    if (m_tabs.empty() || m_nUnits < 1) return;
    const RECT first = ToClient(firstTabScreen);
    const RECT end = ToClient(endMarkerScreen);
    m_nTabWidth = Width(end);
    m_rcTabStrip = RECT{first.left, first.top, end.right, first.bottom};
    LayOutTabs();
    LayOutCells(firstTabScreen.left, firstTabScreen.bottom, endMarkerScreen.right, endMarkerScreen.bottom);
    for (PlacedButton& placed : m_buttons) {
        if (!placed.button) continue;
        placed.button->SetDpi(m_nDpi);
        if (placed.cell == 0 || placed.cell > m_cells.size()) continue;
        const RECT& rc = m_cells[placed.cell - 1].rect;
        ::MoveWindow(placed.button->m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, FALSE);
    }
}

// Every tab in the strip as BuildTabs places them: the tab width while they fit, else an equal
// share of the strip.
void PageStore::LayOutTabs() {
    const int count = static_cast<int>(m_tabs.size());
    const int stripWidth = Width(m_rcTabStrip);
    const int w = count * m_nTabWidth <= stripWidth ? m_nTabWidth : stripWidth / count;
    for (size_t i = 0; i < m_tabs.size(); ++i) {
        m_tabs[i].rect.top = m_rcTabStrip.top;
        m_tabs[i].rect.bottom = m_rcTabStrip.bottom;
        if (m_tabs[i].button) {
            m_tabs[i].button->SetDpi(m_nDpi);
            if (m_hTabFont) m_tabs[i].button->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_hTabFont), FALSE);
        }
        MoveTab(i, m_rcTabStrip.left + static_cast<int>(i) * w, w);
    }
}

bool PageStore::IsPageEmpty() const {
    return m_nCurrentPage >= m_pageItems.size() || m_pageItems[m_nCurrentPage].empty();
}

bool PageStore::AreButtonsEmpty() const {
    return std::all_of(m_buttons.begin(), m_buttons.end(),
                       [](const PlacedButton& p) { return !p.button || p.button->IsEmptyItem(); });
}

void PageStore::StyleTab(CIndexButton* tab, const LauncherPage& page, uint32_t number) {
    tab->SetConfig(m_pConfig);
    tab->SetDpi(m_nDpi);
    if (m_hTabFont) tab->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_hTabFont), FALSE);
    tab->SetFlatLook(true);
    tab->SetPageNumber(static_cast<int>(number));
    tab->SetTip(page.tip);
    tab->SetPageColours(page.focusBackColor, page.normalBackColor, page.focusTextColor, page.normalTextColor);
    tab->BuildBackground(6, 33, 10, 0, 0);
}

CIndexButton* PageStore::CreateTab(const std::wstring& title, const RECT& rect, uint32_t index) {
    auto tab = std::make_unique<CIndexButton>();
    if (!tab->Create(title, kTabStyle, rect, m_hParent, static_cast<UINT>(kTabIdBase + index))) return nullptr;
    m_ownedTabs.push_back(std::move(tab));
    return m_ownedTabs.back().get();
}

void PageStore::MoveTab(size_t i, int left, int width) {
    RECT& rc = m_tabs[i].rect;
    rc.left = left;
    rc.right = left + width;
    if (m_tabs[i].button) ::MoveWindow(m_tabs[i].button->m_hWnd, rc.left, rc.top, width, rc.bottom - rc.top, TRUE);
}

uint32_t PageStore::AddPage() {
    if (m_tabs.size() >= kMaxPages) {
        ::MessageBoxW(m_hParent, TextOf(m_pConfig->GetLanguageTable(), texts::kPageFullShort).c_str(), kProductTitle, MB_OK);
        return GetPageCount();
    }
    const uint32_t k = GetPageCount() + 1;
    const int stripWidth = Width(m_rcTabStrip);
    RECT rect{0, m_tabs[0].rect.top, 0, m_tabs[0].rect.bottom};
    if (m_nTabWidth * static_cast<int>(k) <= stripWidth) {
        rect.left = m_rcTabStrip.left + static_cast<int>(k - 1) * m_nTabWidth;
        rect.right = rect.left + m_nTabWidth;
    } else {
        const int w = stripWidth / static_cast<int>(k);
        for (size_t i = 0; i < m_tabs.size(); ++i) MoveTab(i, m_rcTabStrip.left + static_cast<int>(i) * w, w);
        rect.left = m_rcTabStrip.left + static_cast<int>(k - 1) * w;
        rect.right = rect.left + w;
    }
    if (m_pConfig->m_page.title.empty()) m_pConfig->m_page.title = std::to_wstring(k);
    m_pConfig->m_pageTitles.push_back(m_pConfig->m_page.title);
    const LauncherPage page = PageFromConfig(*m_pConfig);
    CIndexButton* tab = CreateTab(page.title, rect, k - 1);
    if (tab) StyleTab(tab, page, k);
    m_tabs.push_back(PageTab{rect, tab});
    m_pageItems.resize(k);
    AppendPageToGroups(page);
    SavePagesInfo();
    SavePage(k - 1);
    return k;
}

void PageStore::LayoutTabsAfterDelete(int firstWidth, int firstLeft) {
    const int count = static_cast<int>(m_tabs.size());
    const int width = (firstWidth < m_nTabWidth && count * m_nTabWidth <= Width(m_rcTabStrip)) ? m_nTabWidth : firstWidth;
    for (int i = 0; i < count; ++i) MoveTab(static_cast<size_t>(i), firstLeft + i * width, width);
}

uint32_t PageStore::DeletePage() {
    const uint32_t shown = m_nCurrentPage;
    if (m_tabs.size() < 2 || shown == 0 || shown >= m_tabs.size()) return kDeleteRefused;
    if (!MayDeleteItemsOutOfView(shown)) return kDeleteRefused;
    const int firstWidth = Width(m_tabs[0].rect);
    const int firstLeft = m_tabs[0].rect.left;

    size_t group = 0;
    uint32_t first = 0;
    const bool found = FindGroupOf(shown, group, first);
    if (found) RecordDeletedPage(group, first);

    CIndexButton* gone = m_tabs[shown].button;
    m_tabs.erase(m_tabs.begin() + shown);
    std::erase_if(m_ownedTabs, [gone](const std::unique_ptr<CIndexButton>& t) { return t.get() == gone; });

    bool groupRemains = false;
    if (found) {
        m_groups[group].pages.erase(m_groups[group].pages.begin() + (shown - first));
        if (m_groups[group].pages.empty()) {
            ::DeleteFileW(DataPath(m_groups[group].fileName).c_str());
            m_groups.erase(m_groups.begin() + static_cast<ptrdiff_t>(group));
        } else {
            groupRemains = true;
        }
    }
    for (PlacedButton& placed : m_buttons) {
        placed.cell = 0;
        if (placed.button) placed.button->ResetButton();
    }
    for (GridCell& cell : m_cells) cell.hasButton = false;
    if (shown < m_pageItems.size()) m_pageItems.erase(m_pageItems.begin() + shown);

    const uint32_t next = shown - 1;
    LayoutTabsAfterDelete(firstWidth, firstLeft);
    RebuildTitleList();
    for (size_t i = 0; i < m_tabs.size(); ++i) {
        CIndexButton* tab = m_tabs[i].button;
        if (!tab) continue;
        tab->SetPageNumber(static_cast<int>(i + 1));
        const LauncherPage* page = PageRecord(static_cast<uint32_t>(i));
        tab->SetWindowText(page && !page->title.empty() ? page->title : std::to_wstring(i + 1));
        if (page) tab->SetTip(page->tip);
    }
    // The shown page is gone: the panel switches whatever else runs (a dialog, a Move frame).
    m_bLeavingDeletedPage = true;
    ::SendMessageW(m_hParent, UM_SWITCH_PAGE, next + 1, 0);
    m_bLeavingDeletedPage = false;
    // A panel that did not switch (no panel, say) still must not point past the last page.
    if (m_nCurrentPage >= m_tabs.size()) SetCurrentPage(next);
    // The group's file before the index, and the index only once the file is written: an index
    // that gives the group one page fewer than its old file holds would read the deleted page in
    // place of the next one and leave the group's last page unread. Unwritten, the page comes
    // back, so that the panel, the index and the file agree again for every later save.
    if (groupRemains && WriteGroupFile(group, first) != 0) {
        PutBackUnsavedDeletion();
        return kDeleteNotSaved;
    }
    SavePagesInfo();
    WriteCurrentIndex();
    return next;
}

// A page may look empty on a grid made smaller and still hold items: those are not deleted
// without a word.
bool PageStore::MayDeleteItemsOutOfView(uint32_t page) const {
    if (page >= m_pageItems.size()) return true;
    const auto hidden = std::count_if(m_pageItems[page].begin(), m_pageItems[page].end(), [this](const LauncherItem& i) {
        return i.HoldsItem() && i.cell > m_cells.size();
    });
    if (hidden == 0) return true;
    LanguageTable* table = m_pConfig->GetLanguageTable();
    const std::wstring text = hidden == 1 ? TextOf(table, texts::kItemOutOfView)
                                          : FormatNumbers(TextOf(table, texts::kItemsOutOfView), {static_cast<int>(hidden)});
    return ::MessageBoxW(m_hParent, text.c_str(), TextOf(table, texts::kWarning).c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void PageStore::SetPageProperties(const std::wstring& title, const std::wstring& tip, COLORREF focusBack,
                                  COLORREF normalBack, COLORREF focusText, COLORREF normalText) {
    size_t group = 0;
    uint32_t first = 0;
    if (!FindGroupOf(m_nCurrentPage, group, first)) return;
    LauncherPage& page = m_groups[group].pages[m_nCurrentPage - first];
    page = LauncherPage{focusBack, normalBack, focusText, normalText, title, tip};
    m_pConfig->m_page = PageBlock{title, tip, focusBack, normalBack, focusText, normalText};
    if (CIndexButton* tab = m_tabs[m_nCurrentPage].button) {
        tab->SetTip(tip);
        if (!title.empty()) tab->SetWindowText(title);
        tab->SetPageColours(focusBack, normalBack, focusText, normalText);
        tab->BuildBackground(6, 33, 10, 0, 0); // the texture is made from the colours
        ::InvalidateRect(tab->m_hWnd, nullptr, TRUE);
    }
    SavePagesInfo();
}

void PageStore::CopyPageToConfig(uint32_t index) {
    if (const LauncherPage* page = PageRecord(index)) {
        m_pConfig->m_page = PageBlock{page->title, page->tip, page->focusBackColor, page->normalBackColor,
                                      page->focusTextColor, page->normalTextColor};
    }
    m_pConfig->m_shownPage = index;
}

void PageStore::SetCurrentPage(uint32_t index) {
    if (index == m_nCurrentPage || index >= m_tabs.size()) return;
    for (size_t i = 0; i < m_tabs.size(); ++i) {
        if (!m_tabs[i].button) continue;
        m_tabs[i].button->SetCurrentMark(i == index ? static_cast<int>(i + 1) : 0);
        m_tabs[i].button->SetPageNumber(static_cast<int>(i + 1));
    }
    m_nCurrentPage = index;
    CopyPageToConfig(index);
}

void PageStore::RebuildTitleList() {
    m_pConfig->m_pageTitles.clear();
    for (const PageGroup& group : m_groups)
        for (const LauncherPage& page : group.pages) m_pConfig->m_pageTitles.push_back(page.title);
}

void PageStore::BuildTabs() {
    BuildButtons();
    m_ownedTabs.clear();
    m_tabs.resize(1);
    RebuildTitleList();
    std::vector<LauncherPage> pages;
    for (const PageGroup& group : m_groups) pages.insert(pages.end(), group.pages.begin(), group.pages.end());
    if (pages.empty()) return;

    const int count = static_cast<int>(pages.size());
    const int stripWidth = Width(m_rcTabStrip);
    const int w = count * m_nTabWidth <= stripWidth ? m_nTabWidth : stripWidth / count;
    MoveTab(0, m_rcTabStrip.left, w); // first, so its texture is built at its new size
    if (CIndexButton* firstTab = m_tabs[0].button) {
        firstTab->SetWindowText(pages[0].title.empty() ? L"1" : pages[0].title);
        StyleTab(firstTab, pages[0], 1);
    }
    if (pages[0].title.empty() && !m_pConfig->m_pageTitles.empty()) m_pConfig->m_pageTitles[0] = L"1";
    for (int i = 1; i < count; ++i) {
        RECT rect{m_rcTabStrip.left + i * w, m_tabs[0].rect.top, m_rcTabStrip.left + (i + 1) * w, m_tabs[0].rect.bottom};
        const std::wstring caption = pages[i].title.empty() ? std::to_wstring(i + 1) : pages[i].title;
        CIndexButton* tab = CreateTab(caption, rect, static_cast<uint32_t>(i));
        if (tab) StyleTab(tab, pages[i], static_cast<uint32_t>(i + 1));
        m_tabs.push_back(PageTab{rect, tab});
    }
    for (size_t i = 0; i < m_tabs.size(); ++i)
        if (m_tabs[i].button) m_tabs[i].button->SetCurrentMark(i == m_nCurrentPage ? static_cast<int>(i + 1) : 0);
    CopyPageToConfig(m_nCurrentPage);
    RefreshButtons(0);
}

} // namespace lhl
