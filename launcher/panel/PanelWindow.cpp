// The panel as a window on the screen: showing and hiding, docking at an outer right monitor edge
// and sliding in and out there, following changes of the monitors, its translucency, its
// background picture and frame.
#include "LanternhopDlg.h"
#include "Dpi.h"
#include "Module.h"
#include "PanelMessages.h"
#include "PictureFile.h"
#include <mmsystem.h>

namespace lhl {
namespace {

constexpr UINT_PTR kLeaveTimer = 260;
constexpr UINT_PTR kSlideTimer = 261;
constexpr int kLeaveMargin96 = 10;
constexpr COLORREF kFrameColour = RGB(37, 95, 220);

} // namespace

void CLanternhopDlg::PlayShowSound() const {
    if (m_config.Settings().soundEnabled && !m_config.ActiveSound().empty())
        ::PlaySoundW(m_config.ActiveSound().c_str(), nullptr, SND_FILENAME | SND_ASYNC);
}

void CLanternhopDlg::ToggleVisible(bool atCursor) {
    const RECT rc = GetWindowRect();
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    if (m_bSlidOut) {
        // Parked beyond the right edge: back by its own width.
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, rc.left - width, rc.top, width, height, SWP_NOREDRAW | SWP_DEFERERASE);
        ShowWindow(SW_SHOWNORMAL);
        m_bVisible = true;
        m_bSlidOut = false;
        TakeKeyboard();
        PlayShowSound();
        return;
    }
    if (m_bVisible) {
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return;
    }
    m_bVisible = true;
    if (atCursor) {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        const MonitorList monitors = CurrentMonitors();
        const POINT corner = AtCursorPlace(monitors, cursor, PanelSize96());
        const MonitorArea* there = MonitorOfPoint(monitors, cursor);
        const UINT dpi = there ? there->dpi : m_nDpi;
        const SIZE size = PanelPixels(dpi);
        // Shown away from its edge, it is free: an old dock would slide it back there.
        if (m_nDockSide && corner.x + size.cx != m_dockEdge.x) LeaveEdge();
        PlaceWhole(RECT{corner.x, corner.y, corner.x + size.cx, corner.y + size.cy}, dpi, HWND_TOPMOST,
                   SWP_NOREDRAW | SWP_DEFERERASE);
    } else {
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_DEFERERASE);
    }
    if (m_config.Settings().animate) ::AnimateWindow(m_hWnd, 260, AW_ACTIVATE | AW_CENTER);
    else ShowWindow(SW_RESTORE);
    ::UpdateWindow(m_hWnd);
    TakeKeyboard();
    PlayShowSound();
}

// Shown by the hot key, Ctrl twice, the gesture or the tray, the panel takes the keys at once,
// so typing finds without a click first. The hot key and the tray come with the right to take
// the foreground; the keyboard hook hands it over from the program that had it.
void CLanternhopDlg::TakeKeyboard() {
    NoteKeysBefore();
    ::SetForegroundWindow(m_hWnd);
    HWND focus = ::GetFocus();
    if (focus != m_hWnd && !::IsChild(m_hWnd, focus)) ::SetFocus(m_hWnd);
}

// The cursor decides, not the window: near an outer right edge the dragged panel snaps to it.
void CLanternhopDlg::OnMoving(RECT* rect) {
    if (!m_config.Settings().dockSide || !rect) return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const int width = rect->right - rect->left;
    if (const auto edge = DockEdgeNearCursor(CurrentMonitors(), cursor, *rect, m_nEdgeStrip)) {
        rect->left = edge->x - width;
        rect->right = edge->x;
        m_dockEdge = *edge;
        m_bDockedRight = true;
        m_nDockSide = 4;
    } else {
        FreeFromEdge();
    }
    m_bEdgeShown = false;
}

void CLanternhopDlg::FreeFromEdge() {
    m_bDockedRight = false;
    if (m_bHoverTimer) ::KillTimer(m_hWnd, kLeaveTimer);
    m_bHoverTimer = false;
    m_nDockSide = 0;
}

// Free, with no slide pending: the panel stands whole where it is put next.
void CLanternhopDlg::LeaveEdge() {
    FreeFromEdge();
    ::KillTimer(m_hWnd, kSlideTimer);
    m_bSlideDone = true;
    m_bSlidOut = false;
    m_bEdgeShown = false;
}

// A monitor unplugged, rearranged or rescaled, or a taskbar moved: a docked panel goes back on
// its monitor's edge, and a panel left on no monitor comes back where a first start puts it.
void CLanternhopDlg::OnMonitorsChanged() {
    const RECT rc = GetWindowRect();
    const std::optional<DockEdge> dock = m_nDockSide ? std::optional<DockEdge>(m_dockEdge) : std::nullopt;
    const MonitorList monitors = CurrentMonitors();
    const PanelPlace place = PlaceAfterChange(monitors, rc, dock, m_bSlidOut, m_nEdgeStrip, PanelSize96());
    if (place.dock) {
        m_dockEdge = *place.dock;
    } else if (m_nDockSide) {
        // Its edge became an inner one: it stands free and whole on its monitor.
        LeaveEdge();
    }
    if (::EqualRect(&place.rect, &rc)) return;
    const MonitorArea* there = MonitorOfRect(monitors, place.rect);
    const UINT dpi = place.dock ? place.dock->dpi : there ? there->dpi : m_nDpi;
    PlaceWhole(place.rect, dpi, nullptr, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CLanternhopDlg::OnNcHitTest(POINT screen) {
    if (m_nDockSide == 0 || m_bHoverTimer || !TouchesDockEdge(m_dockEdge, screen)) return;
    NoteKeysBefore(); // sliding in activates the panel
    ::SetTimer(m_hWnd, kLeaveTimer, 200, nullptr);
    m_bHoverTimer = true;
    m_bEdgeShown = true;
    m_bSlideDone = false;
    m_bSlidingOut = false;
    ::SetTimer(m_hWnd, kSlideTimer, 5, nullptr);
}

void CLanternhopDlg::OnTimer(UINT_PTR id) {
    if (id == kLeaveTimer) {
        RECT around = GetWindowRect();
        const int margin = fw::Scale(kLeaveMargin96, m_dockEdge.dpi);
        ::InflateRect(&around, margin, margin);
        POINT cursor{};
        ::GetCursorPos(&cursor);
        if (::PtInRect(&around, cursor)) return;
        ::KillTimer(m_hWnd, kLeaveTimer);
        m_bHoverTimer = false;
        m_bSlideDone = false;
        m_bSlidingOut = true;
        // Out of sight it must not go on taking letters and Enter meant for another window.
        if (m_pFind) m_pFind->End();
        GiveKeyboardBack();
        ::SetTimer(m_hWnd, kSlideTimer, 5, nullptr);
    } else if (id == kSlideTimer) {
        if (m_bSlideDone) ::KillTimer(m_hWnd, kSlideTimer);
        else if (m_bSlidingOut) SlideOutStep();
        else SlideInStep();
    }
}

// Sliding in brings the panel forward to be used; sliding out must not take back the keys it
// just gave away, so it moves without activating.
void CLanternhopDlg::MoveLeftEdgeTo(int left, bool activate) {
    const RECT rc = GetWindowRect();
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_SHOWWINDOW | (activate ? 0 : SWP_NOACTIVATE));
}

void CLanternhopDlg::SlideInStep() {
    if (m_nDockSide == 0) return;
    const RECT rc = GetWindowRect();
    const int width = rc.right - rc.left;
    int left = rc.left - width / 10;
    if (left <= m_dockEdge.x - width) {
        left = m_dockEdge.x - width;
        m_bSlideDone = true;
    }
    m_bSlidOut = false;
    MoveLeftEdgeTo(left, true);
}

void CLanternhopDlg::SlideOutStep() {
    if (m_nDockSide == 0) return;
    m_bEdgeShown = false;
    const RECT rc = GetWindowRect();
    const int width = rc.right - rc.left;
    int left = rc.left + width / 10;
    const int parked = ParkedLeft(m_dockEdge, m_nEdgeStrip);
    if (left >= parked) {
        left = parked;
        m_bSlideDone = true;
    }
    m_bSlidOut = true;
    MoveLeftEdgeTo(left, false);
}

void CLanternhopDlg::MakeTranslucent() {
    if (m_config.Settings().animate) return;
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    HMODULE user32 = ::GetModuleHandleW(L"User32.DLL");
    auto setLayered = user32 ? reinterpret_cast<SetLayeredFn>(reinterpret_cast<void*>(
                                   ::GetProcAddress(user32, "SetLayeredWindowAttributes")))
                             : nullptr;
    if (setLayered) setLayered(m_hWnd, 0, static_cast<BYTE>(m_config.GetTransparency()), LWA_ALPHA);
}

std::wstring CLanternhopDlg::BackgroundPath() const {
    const std::wstring& name = m_config.Settings().backgroundImage;
    // Exactly "default.bmp" is the picture shipped beside the program; anything else is a path.
    return name == L"default.bmp" ? m_config.ProgramFolder() + L"Images\\default.bmp" : name;
}

// Decoded once at the panel's size: a photograph is scaled smoothly here rather than roughly at
// every erase, and its full-size pixels are not kept.
bool CLanternhopDlg::LoadBackground() {
    const RECT client = GetClientRect();
    const SIZE size{client.right, client.bottom};
    m_hBackground.reset(LoadPictureFile(BackgroundPath(), size, ::GetSysColor(COLOR_BTNFACE)));
    return static_cast<bool>(m_hBackground);
}

void CLanternhopDlg::DrawFrame(HDC dc) const {
    RECT rc = GetWindowRect();
    ::OffsetRect(&rc, -rc.left, -rc.top);
    fw::UniqueHBrush brush(::CreateSolidBrush(kFrameColour));
    fw::SelectGuard select(dc, brush.get());
    const int frame = Px(kFrame);
    ::PatBlt(dc, 0, 0, rc.right, frame, PATCOPY);
    ::PatBlt(dc, 0, 0, frame, rc.bottom, PATCOPY);
    ::PatBlt(dc, 0, rc.bottom - frame, rc.right, frame, PATCOPY);
    ::PatBlt(dc, rc.right - frame, 0, frame, rc.bottom, PATCOPY);
}

bool CLanternhopDlg::OnEraseBackground(HDC dc) {
    const ConfigSettings& s = m_config.Settings();
    const RECT client = GetClientRect();
    if (s.useBackgroundImage) {
        if (!m_hBackground) return false;
        fw::UniqueHdc memory(::CreateCompatibleDC(dc));
        fw::SelectGuard select(memory.get(), m_hBackground.get());
        BITMAP info{};
        ::GetObjectW(m_hBackground.get(), sizeof(info), &info);
        ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    } else if (s.changeBackgroundOnSwitch) {
        fw::UniqueHBrush brush(::CreateSolidBrush(m_config.m_page.focusBackColor));
        ::FillRect(dc, &client, brush.get());
    } else {
        return false;
    }
    DrawFrame(dc);
    return true;
}

void CLanternhopDlg::OnBackgroundPress() {
    // The panel is dragged from anywhere on its own surface.
    SendMessage(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

} // namespace lhl
