// The control side of CButtonEx: an owner-drawn flat button drawn over a copy of the panel's
// pixels, lifted with a drop shadow while the mouse is over it.
#include "ButtonEx.h"
#include "LauncherConfig.h"
#include "LanguageTable.h"
#include "LanguageKeys.h"
#include "ButtonLook.h"
#include "Canvas.h"
#include "Dpi.h"
#include "Module.h"
#include "ShellCache.h"
#include "resource.h"
#include <algorithm>

namespace lhl {
namespace {

// 96-DPI sizes.
constexpr int kShadow = 4;
constexpr int kTipWidth = 400;
constexpr int kFocusInset = 3;

HFONT CreatePointFont(int points, UINT dpi, const wchar_t* face) {
    LOGFONTW font{};
    font.lfHeight = fw::FontHeight(std::max(points, 1), dpi);
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return ::CreateFontIndirectW(&font);
}

} // namespace

CButtonEx::CButtonEx() { ResetColourSlots(); }

CButtonEx::~CButtonEx() { ForgetParentCopy(); }

// Made owner-drawn from the start: changing the style afterwards costs a frame recalculation per
// button, and a page makes up to 256 of them.
bool CButtonEx::Create(const std::wstring& text, DWORD style, const RECT& rect, HWND parent, UINT id) {
    const DWORD kind = style & OwnedStyleBits();
    m_bDefaultPush = kind == BS_DEFPUSHBUTTON;
    m_bCheckLike = (kind & BS_CHECKBOX) != 0;
    if (!CreateEx(0, L"BUTTON", text.c_str(), (style & ~OwnedStyleBits()) | BS_OWNERDRAW, rect, parent, id)) return false;
    m_strCaption = text;
    m_nDpi = fw::WindowDpi(m_hWnd);
    return true;
}

bool CButtonEx::SubclassDlgItem(UINT id, fw::CWnd* parent) {
    if (!fw::CWnd::SubclassDlgItem(id, parent)) return false;
    m_nDpi = fw::WindowDpi(m_hWnd);
    TakeOverStyle();
    return true;
}

// The button keeps what the low style bits meant (default button, check box) and draws itself.
void CButtonEx::TakeOverStyle() {
    m_strCaption = GetWindowText();
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
    const DWORD kind = style & OwnedStyleBits();
    m_bDefaultPush = kind == BS_DEFPUSHBUTTON;
    m_bCheckLike = (kind & BS_CHECKBOX) != 0;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & ~OwnedStyleBits()) | BS_OWNERDRAW);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CButtonEx::ResetColourSlots() {
    for (int i = 0; i < kColourSlots; ++i)
        m_clrSlots[i] = ::GetSysColor((i % 2 == 0) ? COLOR_BTNFACE : COLOR_BTNTEXT);
}

int CButtonEx::SetImageLayout(int layout, bool redraw) {
    if (layout < 0 || layout > 4) return kBadLayout;
    m_nImageLayout = layout;
    if (redraw) Invalidate();
    return kConfigOk;
}

int CButtonEx::SetFlatLook(bool flat, bool redraw) {
    m_bFlatLook = flat;
    if (redraw) Invalidate();
    return kConfigOk;
}

int CButtonEx::SetColourSlot(int index, COLORREF colour, bool redraw) {
    if (index < 0 || index >= kColourSlots) return kBadColourIndex;
    m_clrSlots[index] = colour;
    if (redraw) Invalidate();
    return kConfigOk;
}

// Moves all three channels by one amount, as far as the channel nearest its limit allows, so
// the colour keeps its hue.
int CButtonEx::ShiftColourSlot(int index, int shift, bool redraw) {
    if (index < 0 || index >= kColourSlots) return kBadColourIndex;
    if (shift < -255 || shift > 255) return kBadShift;
    const COLORREF c = m_clrSlots[index];
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    const int amount = shift > 0 ? std::min({shift, 255 - r, 255 - g, 255 - b}) : std::max({shift, -r, -g, -b});
    m_clrSlots[index] = RGB(r + amount, g + amount, b + amount);
    if (redraw) Invalidate();
    return kConfigOk;
}

void CButtonEx::SetCurrentMark(int mark) {
    m_nCurrentMark = mark;
    m_bFocusLook = mark != 0;
    Invalidate();
}

int CButtonEx::AssignIcon(HICON icon) {
    int result = 0;
    ICONINFO info{};
    if (icon && !::GetIconInfo(icon, &info)) {
        ::DestroyIcon(icon);
        icon = nullptr;
        result = 1;
    }
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    m_icon.reset(icon);
    m_sharedIcon = nullptr;
    m_strIconFile.clear();
    m_nIconResource = 0;
    Invalidate();
    return result;
}

void CButtonEx::ShowSharedIcon(HICON icon) {
    if (!m_icon && m_sharedIcon == icon) return;
    m_icon.reset();
    m_sharedIcon = icon;
    Invalidate();
}

void CButtonEx::ShowFileIcon(const std::wstring& path, DWORD attributes) {
    m_strIconFile = path;
    m_dwIconAttributes = attributes;
    m_nIconResource = 0;
    m_nIconSide = 0;
    TakeIconAtSize();
}

void CButtonEx::ShowProgramIcon(UINT resourceId) {
    m_strIconFile.clear();
    m_nIconResource = resourceId;
    m_nIconSide = 0;
    TakeIconAtSize();
}

void CButtonEx::TakeIconAtSize() {
    if (m_strIconFile.empty() && !m_nIconResource) return;
    // A button without a size yet takes the standard icon size; its first layout takes it again.
    const int side = IconSide() > 0 ? IconSide() : fw::Scale(32, m_nDpi);
    if (side == m_nIconSide && (m_sharedIcon || m_icon)) return;
    m_nIconSide = side;
    ShowSharedIcon(m_nIconResource ? SharedProgramIcon(m_nIconResource, side)
                                   : SharedShellIcon(m_strIconFile, m_dwIconAttributes, side));
}

int CButtonEx::IconSide() const {
    if (!m_hWnd) return 0;
    const RECT square = IconSquare(WorkRect(GetClientRect()));
    return square.right - square.left;
}

void CButtonEx::SetDpi(UINT dpi) {
    if (!dpi || dpi == m_nDpi) return;
    m_nDpi = dpi;
    if (m_tip.IsCreated()) m_tip.SetMaxTipWidth(fw::Scale(kTipWidth, m_nDpi));
    ForgetParentCopy();
    TakeIconAtSize();
    Invalidate();
}

int CButtonEx::Shadow() const { return fw::Scale(kShadow, m_nDpi); }

int CButtonEx::DownShift() const { return fw::Scale(1, m_nDpi); }

RECT CButtonEx::WorkRect(const RECT& r) const {
    if (!IsItemButton()) return r;
    const int s = Shadow();
    return RECT{r.left - s > 0 ? r.left - s : 0, r.top - s > 0 ? r.top - s : 0, r.right - s, r.bottom - s};
}

// A page holds up to 256 buttons and a tool tip is a window of its own: it is made only when
// the mouse first comes over the button, which is also the first time it can be wanted.
void CButtonEx::AssignTooltip(const std::wstring& text, bool active) {
    m_strTooltip = text;
    m_bTooltipActive = active;
    if (m_hWnd && m_tip.IsCreated()) {
        m_tip.SetToolText(m_hWnd, text);
        m_tip.Activate(active);
    }
}

void CButtonEx::MakeTooltipOnFirstHover(WPARAM keys, LPARAM position) {
    if (m_tip.IsCreated() || m_strTooltip.empty() || !m_tip.Create(m_hWnd)) return;
    m_tip.SetMaxTipWidth(fw::Scale(kTipWidth, m_nDpi)); // longer tips wrap
    m_tip.SetToolText(m_hWnd, m_strTooltip);
    m_tip.Activate(m_bTooltipActive);
    // This move reached the button before the tip could watch it; it starts the tip's wait.
    MSG move{m_hWnd, WM_MOUSEMOVE, keys, position, static_cast<DWORD>(::GetMessageTime()), {}};
    ::SendMessageW(m_tip.GetSafeHwnd(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

void CButtonEx::SetCaption(const std::wstring& text) {
    if (m_hWnd && text != m_strCaption) SetWindowText(text);
}

void CButtonEx::Invalidate() const {
    if (m_hWnd && ::IsWindowVisible(m_hWnd)) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

// The button class would repaint at once, through its parent; the text is only stored here and
// painted with everything else.
LRESULT CButtonEx::OnSetText(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = ::DefWindowProcW(m_hWnd, WM_SETTEXT, wParam, lParam);
    if (result) {
        const auto* text = reinterpret_cast<const wchar_t*>(lParam);
        m_strCaption = text ? text : L"";
        Invalidate();
    }
    return result;
}

void CButtonEx::SetStripText(const std::wstring& text) const {
    if (HWND strip = ::GetDlgItem(Panel(), IDC_STRIP)) ::SetWindowTextW(strip, text.c_str());
}

LanguageTable* CButtonEx::Language() const { return m_pConfig ? m_pConfig->GetLanguageTable() : nullptr; }

std::wstring CButtonEx::HoverText() const {
    switch (m_nKind) {
    case kButtonText: return TextOf(Language(), texts::kClipboardHover) + m_strShownTarget;
    case kButtonLink: return TextOf(Language(), texts::kLinkHover) + m_strShownTarget;
    default: return TextOf(Language(), texts::kOpenHover) + ShownTarget();
    }
}

void CButtonEx::OnMouseMove(WPARAM keys, POINT point) {
    // Dragging in with the left button held from elsewhere does not light the button.
    if ((keys & MK_LBUTTON) && !m_bHot) return;
    if (!m_bFlatLook) return;
    if (!m_bTrackAlways && !::GetActiveWindow()) {
        EndHover();
        return;
    }
    ::ClientToScreen(m_hWnd, &point);
    if (::WindowFromPoint(point) != m_hWnd) {
        EndHover();
        return;
    }
    if (m_bHot) return;
    m_bHot = true;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&track);
    const std::wstring strip = HoverText();
    if (!strip.empty()) SetStripText(strip);
}

void CButtonEx::EndHover() {
    if (!m_bFlatLook || !m_bHot) return;
    m_bHot = false;
    if (!HoverText().empty()) SetStripText(TextOf(Language(), texts::kStrip));
    if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CButtonEx::OnClicked() { LaunchItem(); }

bool CButtonEx::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (msg) {
    case WM_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        *result = TRUE;
        return true;
    case WM_CTLCOLORBTN:
        *result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
        return true;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) OnClicked();
        return false; // the panel sees the click of this id as well
    default:
        return false;
    }
}

LRESULT CButtonEx::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEMOVE: {
        MakeTooltipOnFirstHover(wParam, lParam);
        const LRESULT result = Default(msg, wParam, lParam);
        OnMouseMove(wParam, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return result;
    }
    case WM_MOUSELEAVE:
        EndHover();
        return 0;
    case WM_KILLFOCUS:
    case WM_CANCELMODE: {
        const LRESULT result = Default(msg, wParam, lParam);
        EndHover();
        return result;
    }
    case WM_ENABLE: {
        const LRESULT result = Default(msg, wParam, lParam);
        if (!wParam && ::GetFocus() == m_hWnd) {
            HWND next = ::GetNextDlgTabItem(Panel(), m_hWnd, FALSE);
            ::SetFocus(next && next != m_hWnd ? next : Panel());
        }
        EndHover();
        return result;
    }
    case WM_LBUTTONDBLCLK:
        // The second press of a double click is an ordinary press: two clicks.
        return Default(WM_LBUTTONDOWN, wParam, lParam);
    case WM_RBUTTONDOWN:
        if (IsItemButton()) ShowContextMenu();
        return Default(msg, wParam, lParam);
    case WM_GETDLGCODE:
        return Default(msg, wParam, lParam) | (m_bDefaultPush ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_SETSTYLE: {
        const DWORD kind = static_cast<DWORD>(wParam) & OwnedStyleBits();
        if (kind == BS_DEFPUSHBUTTON) m_bDefaultPush = true;
        else if (kind == BS_PUSHBUTTON) m_bDefaultPush = false;
        return Default(msg, (wParam & ~static_cast<WPARAM>(OwnedStyleBits())) | BS_OWNERDRAW, lParam);
    }
    case BM_SETCHECK:
        if (m_bCheckLike) m_nCheckState = (wParam == 1 || wParam == 2) ? 1 : 0;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        return 0;
    case BM_GETCHECK:
        return m_nCheckState;
    case WM_WINDOWPOSCHANGED: {
        const UINT flags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
        // A reused button in another cell must not show its old cell's pixels.
        if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) ForgetParentCopy();
        const LRESULT result = fw::CWnd::WindowProc(msg, wParam, lParam);
        if (!(flags & SWP_NOSIZE)) TakeIconAtSize();
        return result;
    }
    case WM_ERASEBKGND:
        return TRUE; // everything is drawn in DrawItem, at once
    case WM_SETTEXT:
        return OnSetText(wParam, lParam);
    case WM_PAINT:
        OnPaint();
        return 0;
    default:
        return fw::CWnd::WindowProc(msg, wParam, lParam);
    }
}

// An owner-drawn button paints only through DrawItem; painting it here directly spares the
// class's colour and drawing messages to the parent, two round trips per button and paint.
void CButtonEx::OnPaint() {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    if (!dc) return;
    const LRESULT state = Default(BM_GETSTATE, 0, 0);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(::GetDlgCtrlID(m_hWnd));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = ((state & BST_PUSHED) ? ODS_SELECTED : 0) | ((state & BST_FOCUS) ? ODS_FOCUS : 0) |
                     (::IsWindowEnabled(m_hWnd) ? 0 : ODS_DISABLED);
    item.hwndItem = m_hWnd;
    item.hDC = dc;
    item.rcItem = GetClientRect();
    DrawItem(item);
    ::EndPaint(m_hWnd, &paint);
}

// The panel's pixels behind the button, taken once at the first paint.
// The panel paints its background into the copy itself, shifted to this button's place: what is
// on screen there may be another control, or this button showing an item it no longer holds.
void CButtonEx::TakeParentCopy(const RECT& rect) {
    ForgetParentCopy();
    HWND parent = Panel();
    RECT place = GetWindowRect();
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&place), 2);
    HDC parentDC = ::GetDC(parent);
    m_parentCopyDC.reset(::CreateCompatibleDC(parentDC));
    m_parentCopy.reset(::CreateCompatibleBitmap(parentDC, rect.right - rect.left, rect.bottom - rect.top));
    ::ReleaseDC(parent, parentDC);
    if (!m_parentCopyDC || !m_parentCopy) {
        ForgetParentCopy();
        return;
    }
    HDC copy = m_parentCopyDC.get();
    m_parentCopyOld = ::SelectObject(copy, m_parentCopy.get());
    POINT before{};
    ::SetViewportOrgEx(copy, -place.left, -place.top, &before);
    ::SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(copy), 0);
    ::SetViewportOrgEx(copy, before.x, before.y, nullptr);
}

void CButtonEx::ForgetParentCopy() {
    if (m_parentCopyDC && m_parentCopyOld) ::SelectObject(m_parentCopyDC.get(), m_parentCopyOld);
    m_parentCopyOld = nullptr;
    m_parentCopy.reset();
    m_parentCopyDC.reset();
}

void CButtonEx::DrawParentCopy(HDC dc, const RECT& rect, bool shadow) {
    if (!m_parentCopyDC) TakeParentCopy(rect);
    if (!m_parentCopyDC) return;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    ::BitBlt(dc, rect.left, rect.top, width, height, m_parentCopyDC.get(), 0, 0, SRCCOPY);
    if (!shadow) return;
    const int x1 = rect.left, y1 = rect.top, x2 = rect.right, y2 = rect.bottom;
    auto darken = [dc](int x, int y, int factor) { ::SetPixel(dc, x, y, Darken(::GetPixel(dc, x, y), factor)); };
    // The four factors of a 96-DPI shadow stretch over the rows of a wider one.
    const int s = Shadow();
    auto step = [s](int k) { return k * 4 / s; };
    for (int k = 0; k < s; ++k) {
        for (int x = s + 2; x <= x2 - s - 1; ++x) darken(x, y2 - s + k, kShadowEdge[step(k)]);
        for (int y = s + 2; y <= y2 - s - 1; ++y) darken(x2 - s + k, y, kShadowEdge[step(k)]);
    }
    for (int i = 0; i < s; ++i) {
        for (int j = 0; j < s; ++j) {
            const int factor = kShadowCorner[step(i) + step(j)];
            darken(x2 - s + i, y2 - s + j, factor);
            darken(x2 - s + i, y1 + s + 1 - j, factor);
            darken(x1 + s + 1 - i, y2 - s + j, factor);
        }
    }
}

void CButtonEx::DrawItem(const DRAWITEMSTRUCT& item) {
    const bool pressed = (item.itemState & ODS_SELECTED) || (m_bCheckLike && m_nCheckState == 1);
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    m_bDown = pressed;
    const RECT r = item.rcItem;
    m_rcLastDrawn = r;
    const RECT work = WorkRect(r);
    // Composed off screen and copied in one go, so the button never flickers.
    const int width = r.right - r.left, height = r.bottom - r.top;
    fw::CanvasLease canvas(item.hDC, width, height);
    if (!canvas.dc()) return;
    const HDC dc = canvas.dc();
    ::SetBkMode(dc, TRANSPARENT);
    if (IsItemButton()) {
        DrawParentCopy(dc, r, m_bHot);
        if (m_bHot) m_rcLastDrawn = work;
    } else {
        PaintBackground(dc, r);
    }
    PaintEdge(dc, work);
    const std::wstring& text = m_strCaption;
    if (GetIcon()) PaintIcon(dc, work, pressed, disabled);
    if (!text.empty()) PaintCaption(dc, text, m_rcLastDrawn, pressed, disabled);
    if (m_bFocusLook && (!m_bFlatLook || m_bFlatFocusRect) && !IsItemButton()) {
        RECT focus = work;
        ::InflateRect(&focus, -fw::Scale(kFocusInset, m_nDpi), -fw::Scale(kFocusInset, m_nDpi));
        ::DrawFocusRect(dc, &focus);
    }
    ::BitBlt(item.hDC, r.left, r.top, width, height, dc, 0, 0, SRCCOPY);
}

void CButtonEx::PaintBackground(HDC dc, const RECT& rect) {
    const COLORREF colour = (m_bHot || m_bDown) ? m_clrSlots[0]
                            : m_bFocusLook                                                      ? m_clrSlots[4]
                                                                                                : m_clrSlots[2];
    fw::UniqueHBrush brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &rect, brush.get());
}

void CButtonEx::PaintEdge(HDC dc, const RECT& work) {
    if (!m_bFlatLook || !m_bHotBorder) return;
    const bool pressed = m_bDown;
    if (!pressed && !m_bHot) return;
    COLORREF topLeft = ::GetSysColor(COLOR_BTNHILIGHT), bottomRight = ::GetSysColor(COLOR_BTNSHADOW);
    if (pressed) std::swap(topLeft, bottomRight);
    fw::UniqueHBrush light(::CreateSolidBrush(topLeft)), dark(::CreateSolidBrush(bottomRight));
    const RECT top{work.left, work.top, work.right - 1, work.top + 1}, left{work.left, work.top, work.left + 1, work.bottom - 1};
    const RECT bottom{work.left, work.bottom - 1, work.right, work.bottom}, right{work.right - 1, work.top, work.right, work.bottom};
    ::FillRect(dc, &top, light.get());
    ::FillRect(dc, &left, light.get());
    ::FillRect(dc, &bottom, dark.get());
    ::FillRect(dc, &right, dark.get());
}

void CButtonEx::PaintIcon(HDC dc, const RECT& work, bool pressed, bool) {
    RECT square = IconSquare(work);
    if (IsItemButton() && (m_bHot || pressed)) ::OffsetRect(&square, -Shadow(), 0);
    if (pressed && !m_bCheckLike) ::OffsetRect(&square, DownShift(), DownShift());
    ::DrawIconEx(dc, square.left, square.top, GetIcon(), square.right - square.left, square.bottom - square.top, 0,
                 nullptr, DI_NORMAL);
}

void CButtonEx::PaintCaption(HDC dc, const std::wstring& text, const RECT& last, bool pressed, bool disabled) {
    RECT q = IsItemButton() ? RECT{last.left - Shadow(), last.top + (last.bottom - last.top) / 2, last.right, last.bottom}
                            : last;
    if (pressed && !m_bCheckLike) ::OffsetRect(&q, DownShift(), DownShift());
    // The point size follows the caption's 96-DPI height; the font then turns points into pixels
    // for the button's DPI, so a scaled cell does not scale its text twice.
    const int height96 = fw::Unscale(q.bottom - q.top, m_nDpi);
    fw::UniqueHFont font(CreatePointFont(CaptionPoints(height96, IsItemButton()), m_nDpi, L"Tahoma"));
    fw::SelectGuard selectFont(dc, font.get());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    const std::wstring shown = ComposeCaption(text, CaptionCharsPerLine(q.right - q.left, extent.cx, text.size()));
    if (!IsItemButton()) {
        RECT measured = q;
        ::DrawTextW(dc, shown.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
        ::OffsetRect(&measured, (q.left + q.right - measured.left - measured.right) / 2,
                     (q.top + q.bottom - measured.top - measured.bottom) / 2);
        q = measured;
    }
    DrawCaptionText(dc, shown, q, disabled, IsItemButton());
}

void CButtonEx::DrawCaptionText(HDC dc, const std::wstring& text, RECT q, bool disabled, bool shiftWhenHot) {
    const bool pressed = m_bDown;
    if (disabled) {
        RECT shadow = q;
        ::OffsetRect(&shadow, 1, 1);
        ::SetTextColor(dc, ::GetSysColor(COLOR_3DHILIGHT));
        ::DrawTextW(dc, text.c_str(), -1, &shadow, DT_WORDBREAK | DT_CENTER);
        ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    } else if (m_bHot || pressed) {
        ::SetTextColor(dc, m_clrSlots[1]);
        if (shiftWhenHot) q.left -= Shadow();
    } else {
        ::SetTextColor(dc, m_bFocusLook ? m_clrSlots[5] : m_clrSlots[3]);
    }
    ::DrawTextW(dc, text.c_str(), -1, &q, DT_WORDBREAK | DT_CENTER);
}

} // namespace lhl
