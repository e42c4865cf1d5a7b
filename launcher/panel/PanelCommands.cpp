// What the user asks of the panel through its page menu, keys, wheel and double click.
#include "AboutDlg.h"
#include "LanguageKeys.h"
#include "ButtonEx.h"
#include "ItemDialogs.h"
#include "ItemText.h"
#include "LanguageTable.h"
#include "LanternhopDlg.h"
#include "OpenAddress.h"
#include "OptionsSheet.h"
#include "PageProperties.h"
#include "TidyDesktopDlg.h"
#include "Module.h"
#include "PanelMessages.h"
#include "resource.h"
#include <algorithm>
#include <commdlg.h>
#include <cwchar>
#include <shellapi.h>
#include <vector>

namespace lhl {
namespace {

constexpr UINT kPageMenuIds[] = {ID_PAGE_NEW, ID_PAGE_DELETE, ID_PAGE_SET_CLIPBOARD, ID_PAGE_PASTE,
                                 ID_PAGE_ADD_LINK, ID_PAGE_ALIGN, ID_PAGE_CLEAR_ALL, ID_PAGE_PROPERTIES};
constexpr UINT kTrayCommandIds[] = {ID_TRAY_ACTIVATE, ID_TRAY_OPTIONS, ID_TRAY_DOCK, ID_TRAY_MANUAL,
                                    ID_TRAY_ABOUT, ID_TRAY_TIDY_DESKTOP, ID_TRAY_EXIT};
constexpr int kMaxOwnedDepth = 8;
// The Chinese manual beside the English one (string 106 names that).
constexpr const wchar_t* kChineseManualFile = L"helpstart_chs.htm";

bool IsMenuCommand(WORD id) {
    return std::ranges::find(kPageMenuIds, id) != std::end(kPageMenuIds) ||
           std::ranges::find(kTrayCommandIds, id) != std::end(kTrayCommandIds);
}

struct OwnedSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<OwnedSearch*>(lParam);
    wchar_t cls[8] = {};
    ::GetClassNameW(window, cls, 8);
    if (::GetWindow(window, GW_OWNER) != search->owner || !::IsWindowVisible(window) || wcscmp(cls, L"#32770") != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

// The dialog the user answers now: the one the panel owns, or, while that one waits for a
// dialog of its own (the options' file picker), the one in front of it.
HWND FrontDialogOf(HWND panel) {
    HWND front = nullptr;
    for (int depth = 0; depth < kMaxOwnedDepth; ++depth) {
        OwnedSearch search{front ? front : panel, nullptr};
        ::EnumThreadWindows(::GetWindowThreadProcessId(panel, nullptr), FindOwnedDialog,
                            reinterpret_cast<LPARAM>(&search));
        if (!search.found) break;
        front = search.found;
        if (::IsWindowEnabled(front)) break;
    }
    return front;
}

// Whole notches of the wheel, from deltas that may come in parts (a touchpad sends 10 or 30 at
// a time); the rest waits for the next part. A turn the other way starts counting afresh.
int TakeWheelNotches(int& pending, int delta) {
    if ((pending > 0 && delta < 0) || (pending < 0 && delta > 0)) pending = 0;
    pending += delta;
    const int notches = pending / WHEEL_DELTA;
    pending -= notches * WHEEL_DELTA;
    return notches;
}

} // namespace

// The clipboard's text: Unicode when it is offered, so no character is lost to a code page.
std::wstring ClipboardText() {
    std::wstring text;
    if (!::OpenClipboard(nullptr)) return text;
    if (HANDLE wide = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* data = static_cast<const wchar_t*>(::GlobalLock(wide))) {
            text = data;
            ::GlobalUnlock(wide);
        }
    } else if (HANDLE narrow = ::GetClipboardData(CF_TEXT)) {
        if (const auto* data = static_cast<const char*>(::GlobalLock(narrow))) {
            const int length = ::MultiByteToWideChar(CP_ACP, 0, data, -1, nullptr, 0);
            if (length > 1) {
                text.resize(static_cast<size_t>(length - 1));
                ::MultiByteToWideChar(CP_ACP, 0, data, -1, text.data(), length);
            }
            ::GlobalUnlock(narrow);
        }
    }
    ::CloseClipboard();
    return text;
}

HMENU CLanternhopDlg::BuildPageMenu() {
    HMENU menu = ::LoadMenuW(fw::ResourceInstance(), MAKEINTRESOURCEW(IDR_PAGE_MENU));
    if (!menu) return nullptr;
    HMENU popup = ::GetSubMenu(menu, 0);
    ::RemoveMenu(menu, 0, MF_BYPOSITION); // the popup outlives its bar
    ::DestroyMenu(menu);
    if (m_language.IsActive()) {
        for (UINT id : kPageMenuIds) {
            std::wstring text;
            m_language.Lookup(text, kSectionMain, id);
            if (!text.empty()) ::ModifyMenuW(popup, id, MF_BYCOMMAND | MF_STRING, id, text.c_str());
        }
        ::EnableMenuItem(popup, ID_PAGE_PASTE, MF_BYCOMMAND | (ClipboardText().empty() ? MF_GRAYED : MF_ENABLED));
    }
    if (!m_pPageStore || m_pPageStore->GetCurrentPage() == 0)
        ::EnableMenuItem(popup, ID_PAGE_DELETE, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
    AddUndoEntry(popup);
    return popup;
}

void CLanternhopDlg::ShowPageMenu() {
    HMENU popup = BuildPageMenu();
    if (!popup) return;
    ::GetCursorPos(&m_ptMenu);
    ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, m_ptMenu.x, m_ptMenu.y, 0, m_hWnd, nullptr);
    ::DestroyMenu(popup);
}

POINT CLanternhopDlg::MenuPointInClient() {
    POINT point = m_ptMenu;
    ::ScreenToClient(m_hWnd, &point);
    return point;
}

// The block of LauncherConfig is what the dialog edits: the shown page's, or a new page's.
bool CLanternhopDlg::RunPageProperties() {
    if (m_language.IsActive()) m_language.LoadSection(kSectionNewPage);
    CPageProperties dialog(&m_config.m_page, &m_language, this);
    return dialog.DoModal() == IDOK;
}

void CLanternhopDlg::NewPage() {
    m_config.SaveCurrentPageAside();
    if (!m_config.Settings().newPageWizard || RunPageProperties()) m_pPageStore->AddPage();
    m_config.RestoreCurrentPage();
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CLanternhopDlg::EditPageProperties() {
    const COLORREF focusBefore = m_config.m_page.focusBackColor;
    if (!RunPageProperties()) return;
    const PageBlock page = m_config.m_page;
    m_pPageStore->SetPageProperties(page.title, page.tip, page.focusBackColor, page.normalBackColor,
                                    page.focusTextColor, page.normalTextColor);
    if (page.focusBackColor != focusBefore) {
        // The focus colour is the panel's background with this option, and every button's face.
        if (m_config.Settings().changeBackgroundOnSwitch) ::InvalidateRect(m_hWnd, nullptr, TRUE);
        m_pPageStore->RefreshButtons(1);
    }
    const uint32_t current = m_pPageStore->GetCurrentPage();
    if (m_config.m_pageTitles.size() <= current) m_config.m_pageTitles.resize(current + 1);
    m_config.m_pageTitles[current] = page.title;
}

void CLanternhopDlg::ShowOptions() {
    const std::wstring caption = m_language.TextOr(kSectionMain, ID_TRAY_OPTIONS, L"Options");
    if (m_language.IsActive()) {
        m_language.LoadSection(kSectionOptionsBasic);
        m_language.LoadSection(kSectionOptionsAdvanced);
    }
    COptPropertySht sheet(&m_config, caption);
    sheet.m_psh.dwFlags &= ~PSH_HASHELP;
    if (m_pPageStore)
        sheet.Advanced().SetItemsBeyondGrid([store = m_pPageStore.get()](int units) { return store->CountItemsBeyond(units); });
    // Owned by the panel, even a hidden one: no taskbar button of its own, never under the
    // always-on-top panel, and the panel waits while it is open.
    if (sheet.DoModal(m_hWnd) == IDOK) ApplyOptions(sheet);
}

// After OK: the keys first, so the tip names what works, then the settings and the look.
void CLanternhopDlg::ApplyOptions(COptPropertySht& sheet) {
    const ConfigSettings& s = m_config.Settings();
    ApplyHotKey(s.hotKeyModifiers, s.hotKeyVirtualKey);
    ApplyCtrlTwice();
    ModifyTrayIcon();
    sheet.Apply();
    if (!s.useBackgroundImage) m_hBackground.reset();
    else if (!LoadBackground()) ReportUnreadableBackground();
    if (m_pPageStore) m_pPageStore->RefreshButtons(1);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::UpdateWindow(m_hWnd);
}

// Said when the user has just chosen the picture; start-up and page switches stay quiet.
void CLanternhopDlg::ReportUnreadableBackground() {
    const std::wstring text = TextOf(&m_language, texts::kBackgroundUnreadable) + L"\n\n" + BackgroundPath() +
                              L"\n\n" + TextOf(&m_language, texts::kPlainBackgroundKept);
    ::MessageBoxW(m_hWnd, text.c_str(), kProductTitle, MB_OK | MB_ICONWARNING);
}

void CLanternhopDlg::TidyDesktop() {
    if (!m_pPageStore) return;
    std::vector<std::wstring> chosen;
    CTidyDesktopDlg dialog(&m_config, m_pPageStore.get(), this);
    dialog.SetResultList(&chosen);
    if (dialog.DoModal() == IDOK) m_pPageStore->TidyDesktop(chosen);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CLanternhopDlg::AddTextFromDialog(const std::wstring& text) {
    CTextClipboardDlg dialog(&m_config, this);
    dialog.SetText(text);
    if (dialog.DoModal() != IDOK) return;
    const POINT point = MenuPointInClient();
    if (!dialog.GetText().empty() && m_pPageStore->AddTextItemAt(point.x, point.y, dialog.GetTitle(), dialog.GetText()) == 1)
        ReportPageFull();
}

void CLanternhopDlg::AddLinkFromDialog() {
    CUrlDlg dialog(&m_config, this);
    if (dialog.DoModal() != IDOK) return;
    const POINT point = MenuPointInClient();
    if (!dialog.GetAddress().empty() &&
        m_pPageStore->AddLinkItemAt(point.x, point.y, dialog.GetTitle(), dialog.GetAddress()) == 1)
        ReportPageFull();
}

// What the user typed did not find a cell; said, so it is not thought kept.
void CLanternhopDlg::ReportPageFull() {
    ::MessageBoxW(m_hWnd, TextOf(&m_language, texts::kPageFullAddFail).c_str(), kProductTitle, MB_OK);
}

void CLanternhopDlg::ClearAll() {
    if (m_pPageStore->IsPageEmpty()) return;
    const std::wstring text = m_language.TextOr(kSectionMain, 15, L"Clear current page?");
    const std::wstring caption = m_language.TextOr(kSectionMain, 16, L"Warning");
    if (::MessageBoxW(m_hWnd, text.c_str(), caption.c_str(), MB_YESNO) == IDYES) m_pPageStore->ClearPage();
}

void CLanternhopDlg::Activate() {
    m_bVisible = true;
    if (m_config.Settings().animate) ::AnimateWindow(m_hWnd, 260, AW_ACTIVATE | AW_CENTER);
    else ShowWindow(SW_SHOWNORMAL);
    ::SetForegroundWindow(m_hWnd);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    PlayShowSound();
}

void CLanternhopDlg::Exit() {
    if (m_config.Settings().rememberLocation) m_config.Settings().windowRect = SavedWindowRect();
    m_config.SaveConfig(kConfigFileName);
    SendMessage(WM_CLOSE);
}

// The manual is a page in the program folder, so it opens offline and always matches the
// program beside it. The Chinese page follows the interface; a folder copied from an older
// version may lack it, and then the English page still opens.
std::wstring CLanternhopDlg::ManualPath() const {
    const std::wstring& folder = m_config.ProgramFolder();
    if (m_language.Language() == LanguageTable::kChinese) {
        const std::wstring chinese = folder + kChineseManualFile;
        if (::GetFileAttributesW(chinese.c_str()) != INVALID_FILE_ATTRIBUTES) return chinese;
    }
    return folder + fw::LoadResString(IDS_HELP_FILE);
}

// The manual's title as the tray menu shows it, without the menu's doubled ampersand.
// Opened with whatever the user has for web pages; when the shell cannot, the ".htm" command.
void CLanternhopDlg::OpenManual() {
    OpenAddress(m_hWnd, ManualPath(), SW_SHOW);
}

// While a dialog of the panel is open the panel is disabled and the menus' commands wait: the
// open dialog comes forward instead, so a second request never opens a second dialog.
bool CLanternhopDlg::BringOpenDialogForward() {
    if (::IsWindowEnabled(m_hWnd)) return false;
    if (HWND dialog = FrontDialogOf(m_hWnd)) ::SetForegroundWindow(dialog);
    return true;
}

void CLanternhopDlg::ShowAbout() {
    CAboutDlg about(&m_language, this);
    about.SetManual(ManualPath());
    about.DoModal();
}

bool CLanternhopDlg::OnTrayCommand(WORD id) {
    switch (id) {
    case ID_TRAY_ACTIVATE: Activate(); return true;
    case ID_TRAY_DOCK:
        m_config.Settings().dockSide = m_config.Settings().dockSide ? 0 : 1;
        m_config.SaveConfig(kConfigFileName);
        return true;
    case ID_TRAY_MANUAL: OpenManual(); return true;
    case ID_TRAY_TIDY_DESKTOP: TidyDesktop(); return true;
    case ID_TRAY_OPTIONS: ShowOptions(); return true;
    case ID_TRAY_ABOUT: ShowAbout(); return true;
    case ID_TRAY_EXIT: Exit(); return true;
    default: return false;
    }
}

bool CLanternhopDlg::OnPageCommand(WORD id) {
    if (id == ID_PAGE_UNDO) {
        UndoLastChange();
        return true;
    }
    if (!IsMenuCommand(id)) return false;
    if (BringOpenDialogForward() || OnTrayCommand(id)) return true;
    if (!m_pPageStore) return false;
    switch (id) {
    case ID_PAGE_NEW: NewPage(); return true;
    case ID_PAGE_DELETE: DeleteShownPage(); return true;
    case ID_PAGE_SET_CLIPBOARD: AddTextFromDialog(L""); return true;
    case ID_PAGE_PASTE: AddTextFromDialog(ClipboardText()); return true;
    case ID_PAGE_ADD_LINK: AddLinkFromDialog(); return true;
    case ID_PAGE_ALIGN: m_pPageStore->AlignItems(); return true;
    case ID_PAGE_CLEAR_ALL: ClearAll(); return true;
    case ID_PAGE_PROPERTIES: EditPageProperties(); return true;
    default: return false;
    }
}

// Switches to page `number` (1-based) as a tab would; nothing when it is the shown page.
void CLanternhopDlg::SwitchByKey(uint32_t number) {
    if (m_pPageStore && number >= 1 && number - 1 != m_pPageStore->GetCurrentPage())
        OnSwitchPage(number, 0);
}

uint32_t CLanternhopDlg::NeighbourPage(bool forward) const {
    const uint32_t count = m_pPageStore->GetPageCount();
    const uint32_t current = m_pPageStore->GetCurrentPage();
    return forward ? (current + 1) % count : (current + count - 1) % count;
}

bool CLanternhopDlg::PreTranslateMessage(MSG* msg) {
    if (m_pPageStore && IsUndoKey(*msg)) {
        // What comes back lands on a real page, never in the find view.
        if (IsFinding()) m_pFind->End();
        UndoLastChange();
        return true;
    }
    if (IsKeyOutOfSight(*msg)) return true;
    if (FindTakesKey(msg)) return true;
    if (msg->message != WM_KEYUP || !m_pPageStore) return false;
    const WPARAM key = msg->wParam;
    if (key == VK_TAB) {
        SwitchByKey(NeighbourPage(!m_config.Settings().reverseTabOrder) + 1);
        return true;
    }
    if (key == VK_DELETE) {
        DeleteShownPage();
        return false; // the key goes on as usual
    }
    if (key >= '1' && key <= '9') {
        OnSwitchPage(static_cast<WPARAM>(key - '0'), 0);
        return true;
    }
    if (key >= VK_NUMPAD1 && key <= VK_NUMPAD9) {
        OnSwitchPage(static_cast<WPARAM>(key - VK_NUMPAD0), 0);
        return true;
    }
    return false;
}

// Up (a positive delta) goes to the next page, down to the previous, both round the ends; a fast
// turn of several notches at once skips as many pages.
void CLanternhopDlg::OnMouseWheel(short delta) {
    const int notches = TakeWheelNotches(m_nWheelDelta, delta);
    if (!m_pPageStore || notches == 0) return;
    const auto count = static_cast<int>(m_pPageStore->GetPageCount());
    const int target = ((static_cast<int>(m_pPageStore->GetCurrentPage()) + notches) % count + count) % count;
    SwitchByKey(static_cast<uint32_t>(target) + 1);
}

void CLanternhopDlg::OnDoubleClick(POINT point) {
    if (!m_pPageStore) return;
    std::vector<wchar_t> file(MAX_PATH + 1, L'\0');
    OPENFILENAMEW open{};
    open.lStructSize = sizeof(open);
    open.hwndOwner = m_hWnd;
    // Two strings, each ended by its nul, and one more nul after the pair.
    const std::wstring filter = TextOf(&m_language, texts::kAllFilesFilter) + std::wstring(L"\0*.*\0", 6);
    open.lpstrFilter = filter.c_str();
    open.lpstrFile = file.data();
    open.nMaxFile = MAX_PATH;
    open.Flags = OFN_EXPLORER;
    if (::GetOpenFileNameW(&open) && file[0]) m_pPageStore->AddFileItemAt(point.x, point.y, file.data());
}

} // namespace lhl
