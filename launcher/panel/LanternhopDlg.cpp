#include "LanternhopDlg.h"
#include "LanguageTable.h"
#include "LanguageKeys.h"
#include "AboutDlg.h"
#include "Dpi.h"
#include "Module.h"
#include "PanelMessages.h"
#include "ShellCache.h"
#include "WinApp.h"
#include "resource.h"
#include <mmsystem.h>
#include <shellapi.h>

namespace lhl {
namespace {

// The monitors moved, were rescaled or their taskbars moved; the work area may still be settling,
// so the panel looks again once the message is through.
bool MonitorsChange(UINT msg, WPARAM wParam) {
    return msg == WM_DISPLAYCHANGE || msg == WM_DPICHANGED || (msg == WM_SETTINGCHANGE && wParam == SPI_SETWORKAREA);
}

} // namespace

CLanternhopDlg::CLanternhopDlg() : fw::CDialog(IDD_LANTERNHOP_DIALOG) {}

BOOL CLanternhopDlg::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    ::SetPropW(m_hWnd, kPanelProperty, m_hWnd);
    TakeDpi(fw::WindowDpi(m_hWnd));
    fw::KeepOwnLayoutOnDpiChange(m_hWnd);
    // Registered before the icon is added, so a taskbar restarting from here on brings it back.
    m_uTaskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    AddTrayIcon();
    RegisterDropTarget();
    m_indexButton.SubclassDlgItem(IDC_INDEX_FIRST, this);
    m_strip.SubclassDlgItem(IDC_STRIP, this);
    m_config.SetLanguageTable(&m_language);
    m_config.SetPanelWindow(m_hWnd);
    m_config.LoadConfig(kConfigFileName);
    ApplyLayout();
    ChooseLanguage();
    AddAboutToSystemMenu();
    ::SetDlgItemTextW(m_hWnd, IDC_STRIP, TextOf(&m_language, texts::kStrip).c_str());
    SetUpKeysAtStartup();
    PlaceAtStartup();
    StartGestures();
    SetWindowText(kProductTitle);
    LoadBackground();
    return TRUE;
}

void CLanternhopDlg::AddAboutToSystemMenu() {
    HMENU system = ::GetSystemMenu(m_hWnd, FALSE);
    const std::wstring about = TextOf(&m_language, texts::kAboutMenu);
    if (!system) return;
    if (!about.empty()) {
        ::AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(system, MF_STRING, IDM_ABOUTBOX, about.c_str());
    }
    ::RemoveMenu(system, 0, MF_BYPOSITION);
    ::RemoveMenu(system, 3, MF_BYPOSITION);
}

// Only the saved position is restored: the size follows the dimension, which may have changed
// since the rectangle was saved.
void CLanternhopDlg::PlaceAtStartup() {
    const ConfigSettings& s = m_config.Settings();
    const RECT saved = s.rememberLocation ? s.windowRect : RECT{};
    const MonitorList monitors = CurrentMonitors();
    const POINT corner = StartupPlace(monitors, saved, PanelSize96());
    const MonitorArea* there = MonitorOfPoint(monitors, corner);
    const UINT dpi = there ? there->dpi : m_nDpi;
    const SIZE size = PanelPixels(dpi);
    PlaceWhole(RECT{corner.x, corner.y, corner.x + size.cx, corner.y + size.cy}, dpi, nullptr,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void CLanternhopDlg::HidePanel() {
    if (m_pFind) m_pFind->End();
    // The position reaches the file with the next save of the settings.
    if (m_config.Settings().rememberLocation) m_config.Settings().windowRect = SavedWindowRect();
    ShowWindow(SW_HIDE);
    m_bVisible = false;
}

void CLanternhopDlg::ChooseLanguage() {
    const int index = m_config.Settings().languageIndex;
    if (index == 2) {
        m_language.SetLanguage(LanguageTable::kOff);
    } else if (index == 1 || ::GetSystemDefaultLangID() == 2052) {
        m_language.SetLanguage(LanguageTable::kChinese);
        m_language.LoadSection(kSectionMain);
    }
}

// The pages are built once the panel is first shown, from the template's first tab and the
// hidden End button that marks the page area's bottom right corner.
void CLanternhopDlg::OnFirstShow() {
    m_bFirstShow = false;
    m_pPageStore = std::make_unique<PageStore>(&m_config);
    RECT first{}, end{};
    ::GetWindowRect(m_indexButton.m_hWnd, &first);
    ::GetWindowRect(GetDlgItem(IDC_PAGE_END), &end);
    m_pPageStore->SetParentWindow(m_hWnd);
    m_pPageStore->SetDpi(m_nDpi, m_hFont.get());
    m_pPageStore->SetTabWidth(end);
    m_pPageStore->InitFirstPage(&m_indexButton, first, end);
    m_pPageStore->BuildGrid(first.left, first.bottom, end.right, end.bottom);
    m_pFind = std::make_unique<CFindView>(m_hWnd, m_pPageStore.get(), &m_language);
    OpenHelpOnFirstRun();
    m_nEdgeStrip = ::GetSystemMetricsForDpi(SM_CXFRAME, fw::kBaseDpi);
    if (!m_strPendingPath.empty() && m_pPageStore->AddFileItem(m_strPendingPath) == 1)
        ReportPageFull();
    // Paths still to be added may name a file of the shortcut folder too.
    std::vector<std::wstring> waiting(m_handedOverPaths.begin(), m_handedOverPaths.end());
    waiting.push_back(m_strPendingPath);
    m_pPageStore->RemoveLeftOverCopies(waiting);
    MakeTranslucent();
    ResumeHandOver();
}

// The first start opens the help page and leaves an empty settings file, so it happens once;
// CREATE_NEW never truncates a file that exists.
void CLanternhopDlg::OpenHelpOnFirstRun() {
    const std::wstring settings = m_config.ConfigPath(kConfigFileName);
    if (::GetFileAttributesW(settings.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    const std::wstring help = ManualPath(); // in the interface's language
    if (::GetFileAttributesW(help.c_str()) != INVALID_FILE_ATTRIBUTES)
        ::ShellExecuteW(nullptr, L"open", help.c_str(), nullptr, nullptr, SW_SHOW);
    HANDLE file = ::CreateFileW(settings.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
}

// A switch waits while the page's own work runs: a dialog of the panel (it is disabled then)
// answers for an item or the page shown, and a button's Move frame moves an item of the shown
// page. "Move To" asks for its switch itself. A deleted page is left whatever runs.
bool CLanternhopDlg::MaySwitchPageNow(LPARAM moving) const {
    if (m_pPageStore->IsLeavingDeletedPage()) return true;
    if (m_config.m_bTrackingMove) return false;
    return moving == 1 || ::IsWindowEnabled(m_hWnd);
}

// A page switch from a tab, a key, the wheel, another program, a deleted page or "Move To"
// (moving = 1).
LRESULT CLanternhopDlg::OnSwitchPage(WPARAM number, LPARAM moving) {
    PageStore* store = m_pPageStore.get();
    if (!store || number == 0 || number - 1 == store->GetCurrentPage() || number > store->GetPageCount() ||
        !MaySwitchPageNow(moving)) {
        if (store && moving == 1) store->ReturnMovingItem();
        return 1;
    }
    const auto target = static_cast<uint32_t>(number - 1);
    if (moving == 1) {
        const int placed = store->MoveItemToPage(target);
        if (placed != PageStore::kMoved) {
            // Nothing moved: the item goes back on its button, and the user hears why.
            store->ReturnMovingItem();
            ReportMoveRefused(placed, target);
            return 1;
        }
    }
    store->SwitchPage(target);
    const ConfigSettings& s = m_config.Settings();
    if (s.soundEnabled && !m_config.SwitchSound().empty())
        ::PlaySoundW(m_config.SwitchSound().c_str(), nullptr, SND_FILENAME | SND_ASYNC);
    store->WriteCurrentIndex();
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}

void CLanternhopDlg::ReportMoveRefused(int result, uint32_t target) {
    if (result == PageStore::kMoveTargetFull)
        ::MessageBoxW(m_hWnd, TextOf(&m_language, texts::kTargetPageFull).c_str(), kProductTitle, MB_OK);
    if (result != PageStore::kMoveNotSaved) return;
    const std::wstring format = m_language.TextOr(kSectionMain, IDS_MOVE_NOT_SAVED, fw::LoadResString(IDS_MOVE_NOT_SAVED).c_str());
    const std::wstring text = FormatNumbers(format, {static_cast<int>(target) + 1});
    ::MessageBoxW(m_hWnd, text.c_str(), kProductTitle, MB_OK | MB_ICONWARNING);
}

// A deletion that could not be written is put back at once; the user is told why it stayed.
void CLanternhopDlg::DeleteShownPage() {
    const uint32_t shown = m_pPageStore->GetCurrentPage();
    if (m_pPageStore->DeletePage() != PageStore::kDeleteNotSaved) return;
    const std::wstring format =
        m_language.TextOr(kSectionMain, IDS_DELETE_NOT_SAVED, fw::LoadResString(IDS_DELETE_NOT_SAVED).c_str());
    const std::wstring text = FormatNumbers(format, {static_cast<int>(shown) + 1});
    ::MessageBoxW(m_hWnd, text.c_str(), kProductTitle, MB_OK | MB_ICONWARNING);
}

BOOL CLanternhopDlg::DestroyWindow() {
    ::RemovePropW(m_hWnd, kPanelProperty);
    AddWaitingPathsBeforeEnd();
    m_dropTarget.Revoke();
    m_pFind.reset();
    m_pPageStore.reset();
    ReleaseKeysAndHooks();
    return fw::CDialog::DestroyWindow();
}

bool CLanternhopDlg::OnSysCommand(WPARAM command, LPARAM lParam) {
    switch (command & 0xFFF0) {
    case SC_CLOSE:
        // Alt+F4 and the system menu only hide the panel; Exit in the tray menu ends it.
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        m_bVisible = false;
        return true;
    case SC_MINIMIZE:
        if (lParam == kHideAfterLaunch) {
            // Slid in from the docked edge: the leave check slides it out again.
            if (m_bEdgeShown && !m_bSlidingOut && m_config.Settings().dockSide) return true;
            if (!m_config.Settings().autoHide) {
                ::SetForegroundWindow(m_hWnd);
                return true;
            }
        }
        HidePanel();
        return true;
    case IDM_ABOUTBOX:
        if (!BringOpenDialogForward()) ShowAbout();
        return true;
    default:
        return false;
    }
}

void CLanternhopDlg::OnClose() {
    // The base handling ends the modal loop; this panel's own OK does nothing.
    fw::CDialog::OnOK();
}

bool CLanternhopDlg::OnCommand(WORD id, WORD code, HWND control) {
    if (OnPageCommand(id)) return true;
    if (id == IDC_STRIP && code == STN_CLICKED) {
        ToggleVisible(false);
        return true;
    }
    if (id == ID_HELP) {
        if (fw::CWinApp* app = fw::AfxGetApp()) app->OnHelp();
        return true;
    }
    return fw::CDialog::OnCommand(id, code, control);
}

LRESULT CLanternhopDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (m_uTaskbarCreated && msg == m_uTaskbarCreated) AddTrayIcon();
    if (MonitorsChange(msg, wParam)) PostMessage(UM_MONITORS_CHANGED);
    EndFindBefore(msg, wParam);
    switch (msg) {
    case UM_TRAY_NOTIFY:
        return OnTrayNotify(lParam);
    case UM_SHOW_AT_CURSOR:
        ToggleVisible(true);
        return 0;
    case UM_MONITORS_CHANGED:
        OnMonitorsChanged();
        return 0;
    case WM_HOTKEY:
        ToggleVisible(false);
        break;
    case UM_HANDOVER:
        return OnFileHandedOver(wParam);
    case WM_ENABLE:
        if (wParam) ResumeHandOver();
        break;
    case UM_SWITCH_PAGE:
        return OnSwitchPage(wParam, lParam);
    case UM_SAVE_PAGE:
        if (m_pPageStore) m_pPageStore->SavePage(m_pPageStore->GetCurrentPage());
        return 0;
    case UM_ITEM_CLEARING:
        if (m_pPageStore && m_pPageStore->HoldsButton(reinterpret_cast<CButtonEx*>(wParam)))
            m_pPageStore->NoteItemCleared(reinterpret_cast<CButtonEx*>(wParam));
        return 0;
    case UM_MOVE_ITEM:
        if (m_pPageStore && m_pPageStore->HoldsButton(reinterpret_cast<CButtonEx*>(wParam))) {
            auto* button = reinterpret_cast<CButtonEx*>(wParam);
            const POINT drop = button->GetDropPoint();
            m_pPageStore->MoveItemTo(drop.x, drop.y, button);
        }
        return 0;
    case UM_REBUILD_BUTTONS:
        if (m_pPageStore) m_pPageStore->RefreshButtons(2);
        return 0;
    case WM_SHOWWINDOW:
        if (wParam && m_bFirstShow) OnFirstShow();
        break;
    case WM_SYSCOMMAND:
        if (OnSysCommand(wParam, lParam)) return 0;
        break;
    case WM_CLOSE:
        OnClose();
        break;
    case WM_ENDSESSION:
        // Shutdown and logoff end the process without the store's own end: paths handed over
        // while a box was open are added, and the shortcut copies kept for undo go, now.
        if (wParam) AddWaitingPathsBeforeEnd();
        if (wParam && m_pPageStore) m_pPageStore->DropUndoHistory();
        return 0;
    case WM_RBUTTONDOWN:
        ShowPageMenu();
        break;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case UM_DROP_ENTER:
    case UM_DROP_OVER:
    case UM_DROP:
    case UM_DROP_EX:
    case UM_DROP_LEAVE:
        return OnDropMessage(msg, reinterpret_cast<const COleDropInfo*>(wParam));
    case WM_LBUTTONDOWN:
        OnBackgroundPress();
        break;
    case WM_MOVING:
        OnMoving(reinterpret_cast<RECT*>(lParam));
        break;
    case WM_NCHITTEST:
        OnNcHitTest(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        break;
    case WM_SETCURSOR: {
        // Buttons and tabs cover the parked panel's strip; their cursor question still reaches
        // the panel, so touching the edge over them slides the panel in too.
        POINT cursor{};
        ::GetCursorPos(&cursor);
        OnNcHitTest(cursor);
        break;
    }
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_ERASEBKGND:
        if (OnEraseBackground(reinterpret_cast<HDC>(wParam))) return TRUE;
        break;
    case WM_MOUSEWHEEL:
        if (!IsFinding()) OnMouseWheel(static_cast<short>(HIWORD(wParam)));
        return 0;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        break;
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
        m_bUserMoving = msg == WM_ENTERSIZEMOVE;
        break;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_GETDPISCALEDSIZE:
        return OnGetDpiScaledSize(static_cast<UINT>(wParam), reinterpret_cast<SIZE*>(lParam));
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(m_hIcon.get());
    case WM_SETTINGCHANGE:
        // Hidden extensions and the like change what the shell calls a file.
        ForgetShellDisplayNames();
        break;
    default:
        break;
    }
    return fw::CDialog::WindowProc(msg, wParam, lParam);
}

} // namespace lhl
