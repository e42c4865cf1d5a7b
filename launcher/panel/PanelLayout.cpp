// The panel's layout at its DPI: its size, the strip and the tabs, the font they use and the
// window icons, made again when the panel comes onto a screen of another scaling.
#include "Dpi.h"
#include "FindView.h"
#include "LanternhopDlg.h"
#include "Module.h"
#include "resource.h"

namespace lhl {
namespace {

// 96-DPI sizes: what the template's tab and strip measure at 100 % scaling.
constexpr int kTabWidth = 75;
constexpr int kTabHeight = 23;
constexpr int kStripHeight = 13;
constexpr int kFontPoints = 8;
constexpr const wchar_t* kFontFace = L"Tahoma";
constexpr int kBigIcon = 32;
constexpr int kSmallIcon = 16;

// Moves a child to a rectangle given in screen coordinates.
void MoveChild(HWND parent, HWND child, RECT rc) {
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rc), 2);
    ::MoveWindow(child, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
}

} // namespace

int CLanternhopDlg::Px(int size96) const { return fw::Scale(size96, m_nDpi); }

RECT CLanternhopDlg::SavedWindowRect() const {
    const RECT rc = GetWindowRect();
    return RECT{rc.left, rc.top, rc.left + fw::Unscale(rc.right - rc.left, m_nDpi),
                rc.top + fw::Unscale(rc.bottom - rc.top, m_nDpi)};
}

SIZE CLanternhopDlg::PanelSize96() const {
    const int side = m_config.Settings().dimension;
    return SIZE{side, side + kStripHeight + kFrame};
}

SIZE CLanternhopDlg::PanelPixels(UINT dpi) const { return ScaledTo(PanelSize96(), dpi); }

// The font and icons the panel's controls and frame show at this DPI. The font the controls had
// goes back to the caller, who frees it once every control was given the new one.
fw::UniqueHFont CLanternhopDlg::TakeDpi(UINT dpi) {
    m_nDpi = dpi ? dpi : fw::kBaseDpi;
    LOGFONTW font{};
    font.lfHeight = fw::FontHeight(kFontPoints, m_nDpi);
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, kFontFace, LF_FACESIZE);
    fw::UniqueHFont made(::CreateFontIndirectW(&font));
    if (made) {
        // The controls are told of the new font before the old one is freed.
        for (UINT id : {IDC_INDEX_FIRST, IDC_STRIP})
            ::SendMessageW(GetDlgItem(id), WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), FALSE);
        if (m_pPageStore) m_pPageStore->SetDpi(m_nDpi, made.get());
        std::swap(m_hFont, made);
    }
    // The window shows the new icons before the old ones are freed.
    fw::UniqueHIcon big(fw::LoadIconAtSize(IDR_MAINFRAME, Px(kBigIcon)));
    fw::UniqueHIcon small(fw::LoadIconAtSize(IDR_MAINFRAME, Px(kSmallIcon)));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    m_hIcon = std::move(big);
    m_hSmallIcon = std::move(small);
    return made;
}

// The panel is `dimension` wide and square above the strip; the strip runs along the bottom and
// the hidden End button marks the page area's bottom right corner above it. Every size is the
// 96-DPI one scaled to the panel's DPI.
void CLanternhopDlg::ApplyLayout() {
    const SIZE size = PanelPixels(m_nDpi);
    const int stripHeight = Px(kStripHeight), frame = Px(kFrame);
    const RECT now = GetWindowRect();
    ::MoveWindow(m_hWnd, now.left, now.top, size.cx, size.cy, TRUE);

    const RECT w = GetWindowRect();
    MoveChild(m_hWnd, GetDlgItem(IDC_STRIP), RECT{w.left + frame, w.bottom - stripHeight, w.right - frame, w.bottom - frame});
    const int tabWidth = Px(kTabWidth), tabHeight = Px(kTabHeight);
    MoveChild(m_hWnd, GetDlgItem(IDC_PAGE_END),
              RECT{w.right - tabWidth, w.bottom - stripHeight - tabHeight - frame, w.right, w.bottom - stripHeight});
    // Once the pages are built the page store gives the first tab its width among the others.
    MoveChild(m_hWnd, GetDlgItem(IDC_INDEX_FIRST), RECT{w.left, w.top, w.left + tabWidth, w.top + tabHeight});
}

// A move the program makes (at start-up, at the cursor, after the monitors changed): the target
// is sized for the monitor it is on and set in one call, so the panel never stands across two
// monitors at the other one's scaling. Windows sends WM_DPICHANGED during the move when that
// monitor's scaling differs; the target, not the rectangle it suggests, is where the panel goes.
void CLanternhopDlg::PlaceWhole(const RECT& target, UINT dpi, HWND insertAfter, UINT flags) {
    m_pPlacing = &target;
    ::SetWindowPos(m_hWnd, insertAfter, target.left, target.top, target.right - target.left,
                   target.bottom - target.top, flags);
    m_pPlacing = nullptr;
    // No word from Windows (the move stayed on the panel's monitor as far as it can tell): the
    // layout follows the scaling of the monitor it was put on all the same.
    if (dpi && dpi != m_nDpi) OnDpiChanged(dpi, &target);
}

// Windows asks before a DPI change how large the panel will be at the new DPI: the same size the
// layout and the placement give it there.
LRESULT CLanternhopDlg::OnGetDpiScaledSize(UINT dpi, SIZE* size) const {
    if (!dpi || !size) return FALSE;
    *size = PanelPixels(dpi);
    return TRUE;
}

// Where the panel goes at a new DPI: a parked panel stays parked at its edge (it never comes into
// view for a moment), one the program is placing goes where it is put, any other where Windows
// suggests.
RECT CLanternhopDlg::RectAtNewDpi(UINT dpi, const RECT* suggested) {
    const SIZE size = PanelPixels(dpi);
    const RECT now = GetWindowRect();
    if (m_bSlidOut && m_nDockSide) {
        m_dockEdge.dpi = dpi;
        return ParkedRect(m_dockEdge, now.top, size, m_nEdgeStrip);
    }
    if (m_pPlacing) return *m_pPlacing;
    const POINT corner = suggested ? POINT{suggested->left, suggested->top} : POINT{now.left, now.top};
    return RECT{corner.x, corner.y, corner.x + size.cx, corner.y + size.cy};
}

// Moved onto a screen of another scaling (or that screen's scaling changed): the panel keeps its
// place and everything drawn is made again at the new size. The pages, the shown page and every
// item stay as they are.
void CLanternhopDlg::OnDpiChanged(UINT dpi, const RECT* suggested) {
    if (!dpi) return;
    const RECT target = RectAtNewDpi(dpi, suggested);
    const fw::UniqueHFont oldFont = TakeDpi(dpi);
    ::SetWindowPos(m_hWnd, nullptr, target.left, target.top, target.right - target.left, target.bottom - target.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyLayout();
    // Moved by the program onto another monitor, Windows suggests a rectangle grown from where it
    // was put; only a user's drag may leave the panel across the work area's edge, and a parked
    // panel lies beyond it on purpose.
    if (!m_bUserMoving && !m_pPlacing && !(m_bSlidOut && m_nDockSide)) {
        const RECT now = GetWindowRect();
        const RECT inside = InsideWorkArea(CurrentMonitors(), now);
        if (!::EqualRect(&now, &inside))
            ::SetWindowPos(m_hWnd, nullptr, inside.left, inside.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_pPageStore) {
        RECT first{}, end{};
        ::GetWindowRect(m_indexButton.m_hWnd, &first);
        ::GetWindowRect(GetDlgItem(IDC_PAGE_END), &end);
        m_pPageStore->Relayout(first, end);
        if (m_pFind) m_pFind->Relayout(dpi);
    }
    if (m_hBackground) LoadBackground();
    ModifyTrayIcon();
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

} // namespace lhl
