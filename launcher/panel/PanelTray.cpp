// The ways of showing the panel without seeing it: the tray icon and its menu, the system-wide
// hot key, and the hook library that reports Ctrl pressed twice and the right-button stroke.
#include "Dpi.h"
#include "LanguageTable.h"
#include "LanguageKeys.h"
#include "LanternhopDlg.h"
#include "Module.h"
#include "PanelMessages.h"
#include "resource.h"

namespace lhl {
namespace {

constexpr UINT kTrayIconId = 50265;
constexpr int kHotKeyId = 0x1FFF;
constexpr UINT kTrayMenuIds[] = {ID_TRAY_EXIT, ID_TRAY_MANUAL, ID_TRAY_DOCK, ID_TRAY_OPTIONS, ID_TRAY_ACTIVATE,
                                 ID_TRAY_TIDY_DESKTOP};
constexpr uint32_t kKeyAboutText = 22;
constexpr uint32_t kKeyTipBeforeName = 17;
constexpr uint32_t kKeyTipAfterName = 18;
constexpr uint32_t kKeyTipSingleClick = 19;
constexpr uint32_t kKeyTipCtrlTwice = 20;

// Stored modifiers are the hot-key control's: 1 Shift, 2 Ctrl, 4 Alt.
UINT HotKeyModifiers(WORD stored) {
    UINT modifiers = 0;
    if (stored & HOTKEYF_ALT) modifiers |= MOD_ALT;
    if (stored & HOTKEYF_CONTROL) modifiers |= MOD_CONTROL;
    if (stored & HOTKEYF_SHIFT) modifiers |= MOD_SHIFT;
    return modifiers;
}

template <typename Fn>
Fn LibraryEntry(HMODULE library, const char* name) {
    if (!library) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

// The notification area draws the icon at the scaling of the monitor the taskbar is on, which is
// not the panel's when the panel stands on another monitor.
UINT TaskbarDpi() {
    const HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    const HMONITOR monitor = taskbar ? ::MonitorFromWindow(taskbar, MONITOR_DEFAULTTOPRIMARY)
                                     : ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    return fw::MonitorDpi(monitor);
}

constexpr int kTrayIconSide96 = 16;

} // namespace

void CLanternhopDlg::FillTrayIconData() {
    m_nid = NOTIFYICONDATAW{};
    m_nid.cbSize = sizeof(NOTIFYICONDATAW);
    m_nid.hWnd = m_hWnd;
    m_nid.uID = kTrayIconId;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_nid.uCallbackMessage = UM_TRAY_NOTIFY;
    // The old icon is freed only after the shell was given the new one.
    m_hOldTrayIcon = std::move(m_hTrayIcon);
    m_hTrayIcon.reset(fw::LoadIconAtSize(IDR_MAINFRAME, fw::Scale(kTrayIconSide96, TaskbarDpi())));
    m_nid.hIcon = m_hTrayIcon ? m_hTrayIcon.get() : m_hSmallIcon.get();
    // A longer tip is cut to what the structure holds.
    ::lstrcpynW(m_nid.szTip, m_strTrayTip.c_str(), ARRAYSIZE(m_nid.szTip));
}

// Fails quietly before the shell runs; "TaskbarCreated" brings the icon back then.
void CLanternhopDlg::AddTrayIcon() {
    FillTrayIconData();
    ::Shell_NotifyIconW(NIM_ADD, &m_nid);
    m_hOldTrayIcon.reset();
}

void CLanternhopDlg::ModifyTrayIcon() {
    FillTrayIconData();
    ::Shell_NotifyIconW(NIM_MODIFY, &m_nid);
    m_hOldTrayIcon.reset();
}

LRESULT CLanternhopDlg::OnTrayNotify(LPARAM mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ToggleVisible(false);
        break;
    case WM_RBUTTONDOWN:
        // While a dialog of the panel is open, the tray brings it forward instead of a menu.
        if (!BringOpenDialogForward()) ShowTrayMenu();
        break;
    default:
        break;
    }
    return 0;
}

HMENU CLanternhopDlg::BuildTrayMenu() {
    HMENU menu = ::LoadMenuW(fw::ResourceInstance(), MAKEINTRESOURCEW(IDR_TRAY_MENU));
    if (!menu) return nullptr;
    HMENU popup = ::GetSubMenu(menu, 0);
    ::RemoveMenu(menu, 0, MF_BYPOSITION); // the popup outlives its bar
    ::DestroyMenu(menu);
    ::SetMenuDefaultItem(popup, ID_TRAY_ACTIVATE, FALSE);
    if (m_language.IsActive()) {
        for (UINT id : kTrayMenuIds) {
            std::wstring text;
            m_language.Lookup(text, kSectionMain, id);
            if (!text.empty()) ::ModifyMenuW(popup, id, MF_BYCOMMAND | MF_STRING, id, text.c_str());
        }
        std::wstring about;
        m_language.Lookup(about, kSectionMain, kKeyAboutText);
        if (!about.empty()) ::ModifyMenuW(popup, ID_TRAY_ABOUT, MF_BYCOMMAND | MF_STRING, ID_TRAY_ABOUT, about.c_str());
    }
    ::CheckMenuItem(popup, ID_TRAY_DOCK, MF_BYCOMMAND | (m_config.Settings().dockSide ? MF_CHECKED : MF_UNCHECKED));
    return popup;
}

void CLanternhopDlg::ShowTrayMenu() {
    m_trayMenu = BuildTrayMenu();
    if (!m_trayMenu) return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    // A tray menu closes on a click elsewhere only when its owner is in the foreground.
    ::SetForegroundWindow(m_hWnd);
    ::TrackPopupMenu(m_trayMenu, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, m_hWnd, nullptr);
    PostMessage(WM_NULL);
    ::DestroyMenu(m_trayMenu);
    m_trayMenu = nullptr;
}

std::wstring CLanternhopDlg::HotKeyTip() {
    return m_language.TextOr(kSectionMain, kKeyTipBeforeName, L"Press ") + m_strHotKeyName +
           m_language.TextOr(kSectionMain, kKeyTipAfterName, L" hide/show Lanternhop Launcher.");
}

std::wstring CLanternhopDlg::CtrlTwiceTip() {
    return m_language.TextOr(kSectionMain, kKeyTipCtrlTwice, L"Press Ctrl twice to hide/show Lanternhop Launcher.");
}

std::wstring CLanternhopDlg::SingleClickTip() {
    return m_language.TextOr(kSectionMain, kKeyTipSingleClick,
                             L"single click on this icon hide/show Lanternhop Launcher.");
}

// The tip offers the way of showing the panel that works now, not the one the settings ask for:
// a key another program holds, or a hook that could not be installed, is not offered.
std::wstring CLanternhopDlg::ShowingTip() {
    if (m_wHotKeyVk) return HotKeyTip();
    if (m_bCtrlTwiceOn) return CtrlTwiceTip();
    return SingleClickTip();
}

bool CLanternhopDlg::RegisterPanelHotKey(WORD modifiers, WORD virtualKey) {
    if (::RegisterHotKey(m_hWnd, kHotKeyId, HotKeyModifiers(modifiers), virtualKey)) return true;
    ReportHotKeyFailure(::GetLastError());
    return false;
}

void CLanternhopDlg::ReportHotKeyFailure(DWORD error) {
    const InterfaceText& text = error == ERROR_HOTKEY_ALREADY_REGISTERED ? texts::kHotKeyUsed : texts::kHotKeyFail;
    ::MessageBoxW(m_hWnd, TextOf(&m_language, text).c_str(), kProductTitle, MB_OK);
}

bool CLanternhopDlg::LoadToolsLibrary() {
    if (!m_hToolsLib) m_hToolsLib = ::LoadLibraryW(fw::LoadResString(IDS_HOOK_LIBRARY).c_str());
    return m_hToolsLib != nullptr;
}

// Starts the Ctrl-twice detection; false when it does not run. The library answers 0 when it
// could not install its keyboard hook; a missing entry point is passed over without a word.
bool CLanternhopDlg::BindCtrlTwice() {
    if (LoadToolsLibrary()) {
        if (!m_pfnSetUseOtherHotKey)
            m_pfnSetUseOtherHotKey = LibraryEntry<SetUseOtherHotKeyFn>(m_hToolsLib, "SetUseOtherHotKey");
        if (!m_pfnSetUseOtherHotKey) return false;
        if (m_pfnSetUseOtherHotKey(m_hWnd) != 0) return true;
    }
    ::MessageBoxW(m_hWnd, TextOf(&m_language, texts::kCtrlTwiceFail).c_str(), kProductTitle, MB_OK);
    return false;
}

void CLanternhopDlg::SetUpKeysAtStartup() {
    LoadToolsLibrary();
    const ConfigSettings& s = m_config.Settings();
    m_wHotKeyVk = s.hotKeyVirtualKey;
    m_wHotKeyMods = s.hotKeyModifiers;
    if (s.useHotKey && RegisterPanelHotKey(m_wHotKeyMods, m_wHotKeyVk)) m_strHotKeyName = s.hotKeyName;
    else m_wHotKeyVk = m_wHotKeyMods = 0;
    m_bCtrlTwiceOn = s.ctrlTwice && BindCtrlTwice();
    m_strTrayTip = ShowingTip();
    ModifyTrayIcon();
}

void CLanternhopDlg::StartGestures() {
    if (auto capture = LibraryEntry<SetMouseCaptureFn>(m_hToolsLib, "SetMouseCapture")) capture(m_hWnd, TRUE);
}

// Leaves the tip naming what works afterwards.
void CLanternhopDlg::ApplyHotKey(WORD modifiers, WORD virtualKey) {
    if (!m_config.Settings().useHotKey) {
        ::UnregisterHotKey(m_hWnd, kHotKeyId);
        m_wHotKeyVk = m_wHotKeyMods = 0; // switching it on again registers the key anew
    } else if (modifiers != m_wHotKeyMods || virtualKey != m_wHotKeyVk) {
        ReplaceHotKey(modifiers, virtualKey);
    }
    m_strTrayTip = ShowingTip();
}

void CLanternhopDlg::ReplaceHotKey(WORD modifiers, WORD virtualKey) {
    ::UnregisterHotKey(m_hWnd, kHotKeyId);
    if (::RegisterHotKey(m_hWnd, kHotKeyId, HotKeyModifiers(modifiers), virtualKey)) {
        m_wHotKeyVk = virtualKey;
        m_wHotKeyMods = modifiers;
        m_strHotKeyName = m_config.Settings().hotKeyName;
        return;
    }
    ReportHotKeyFailure(::GetLastError());
    // The old key goes on working; the settings keep the refused one for the next start.
    if (m_wHotKeyVk && !::RegisterHotKey(m_hWnd, kHotKeyId, HotKeyModifiers(m_wHotKeyMods), m_wHotKeyVk))
        m_wHotKeyVk = m_wHotKeyMods = 0;
}

// Looked up once and cached; nothing happens without the library or the entry point.
void CLanternhopDlg::StopCtrlTwice() {
    if (!m_pfnDisableUseOtherHotKey)
        m_pfnDisableUseOtherHotKey = LibraryEntry<DisableUseOtherHotKeyFn>(m_hToolsLib, "DisableUseOtherHotKey");
    if (m_pfnDisableUseOtherHotKey) m_pfnDisableUseOtherHotKey();
}

// Leaves the tip naming what works afterwards.
void CLanternhopDlg::ApplyCtrlTwice() {
    if (m_config.Settings().ctrlTwice) {
        m_bCtrlTwiceOn = BindCtrlTwice();
    } else {
        StopCtrlTwice();
        m_bCtrlTwiceOn = false;
    }
    m_strTrayTip = ShowingTip();
}

void CLanternhopDlg::ReleaseKeysAndHooks() {
    ::Shell_NotifyIconW(NIM_DELETE, &m_nid);
    ::UnregisterHotKey(m_hWnd, kHotKeyId);
    StopCtrlTwice();
    if (auto capture = LibraryEntry<SetMouseCaptureFn>(m_hToolsLib, "SetMouseCapture")) capture(m_hWnd, FALSE);
    m_pfnSetUseOtherHotKey = nullptr;
    m_pfnDisableUseOtherHotKey = nullptr;
    if (m_hToolsLib) ::FreeLibrary(m_hToolsLib);
    m_hToolsLib = nullptr;
    if (m_trayMenu) ::DestroyMenu(m_trayMenu);
    m_trayMenu = nullptr;
}

} // namespace lhl
