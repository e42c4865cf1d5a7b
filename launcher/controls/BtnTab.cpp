#include "BtnTab.h"

namespace lhl {

int CBtnTab::GetColourSlot(int index, COLORREF& colour) const {
    if (index < 0 || index >= kColourSlots) return kBadColourIndex;
    colour = m_clrSlots[index];
    return kConfigOk;
}

void CBtnTab::DrawItem(const DRAWITEMSTRUCT& item) {
    // The focus look follows the keyboard focus here, not a current-page mark.
    m_bFocusLook = (item.itemState & ODS_FOCUS) != 0;
    CButtonEx::DrawItem(item);
}

void CBtnTab::PaintBackground(HDC dc, const RECT& rect) {
    if (m_bSeeThrough) {
        DrawParentCopy(dc, rect, false);
        return;
    }
    RECT face = rect;
    if (!m_bFlatLook && (m_bFocusLook || m_bDefaultPush)) {
        ::FrameRect(dc, &face, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::InflateRect(&face, -1, -1);
    }
    CButtonEx::PaintBackground(dc, face);
}

void CBtnTab::PaintCaption(HDC dc, const std::wstring& text, const RECT& last, bool pressed, bool disabled) {
    RECT q = last;
    if (pressed && !m_bCheckLike) ::OffsetRect(&q, DownShift(), DownShift());
    HFONT own = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    fw::SelectGuard selectFont(dc, own ? static_cast<HGDIOBJ>(own) : ::GetStockObject(DEFAULT_GUI_FONT));
    RECT measured = q;
    ::DrawTextW(dc, text.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    ::OffsetRect(&measured, (q.left + q.right - measured.left - measured.right) / 2,
                 (q.top + q.bottom - measured.top - measured.bottom) / 2);
    DrawCaptionText(dc, text, measured, disabled, false);
}

void CBtnTab::OnClicked() {
    ::SetFocus(m_hWnd);
    if (m_bCheckLike) {
        m_nCheckState = m_nCheckState ? 0 : 1;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
}

LRESULT CBtnTab::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SYSCOLORCHANGE) {
        const LRESULT result = Default(msg, wParam, lParam);
        ResetColourSlots();
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        return result;
    }
    if (msg == WM_RBUTTONDOWN) return Default(msg, wParam, lParam); // no item menu
    return CButtonEx::WindowProc(msg, wParam, lParam);
}

} // namespace lhl
