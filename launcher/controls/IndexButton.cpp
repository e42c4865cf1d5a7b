#include "IndexButton.h"
#include "LanguageTable.h"
#include "LanguageKeys.h"
#include "ButtonLook.h"
#include "PanelMessages.h"

namespace lhl {

std::wstring CIndexButton::HoverText() const { return TextOf(Language(), texts::kTabHover); }

void CIndexButton::SetPageColours(COLORREF focusBack, COLORREF normalBack, COLORREF focusText, COLORREF normalText) {
    SetColourSlot(0, focusBack, false);
    SetColourSlot(4, focusBack, false);
    SetColourSlot(2, normalBack, false);
    SetColourSlot(1, focusText, false);
    SetColourSlot(5, focusText, false);
    SetColourSlot(3, normalText, true);
}

void CIndexButton::BuildBackground(int effect, int grain, int hotBlend, unsigned tintPercent, COLORREF tint) {
    if (effect != 6 || !m_hWnd) return;
    m_recipe = TextureRecipe{effect, grain, hotBlend, tintPercent, tint};
    const RECT rc = GetWindowRect();
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (!m_dibNormal.Build(w, h, 8)) return;
    RGBQUAD palette[256];
    const COLORREF highlight = ::GetSysColor(COLOR_3DHILIGHT);
    TexturePalette(m_clrSlots[0], m_clrSlots[2], highlight, palette);
    for (int i = 0; i < 256; ++i) m_dibNormal.SetPaletteEntry(i, palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue);
    uint8_t* rows = m_dibNormal.PixelRows();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) rows[static_cast<size_t>(y) * m_dibNormal.RowBytes() + x] = TextureIndex(x, y, w, h, grain, NextNoise());
    if (tintPercent) m_dibNormal.TintPalette(tint, tintPercent);
    m_dibHot.CopyFrom(m_dibNormal);
    m_dibHot.TintPalette(highlight, static_cast<unsigned>(hotBlend));
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CIndexButton::PaintBackground(HDC dc, const RECT& rect) {
    if (!m_dibNormal.PixelRows()) {
        CButtonEx::PaintBackground(dc, rect); // no texture yet: the plain colours
        return;
    }
    if (!m_bHot) m_dibNormal.Paint(dc, 0, 0);
    else if (m_bDown) m_dibHot.Paint(dc, 1, 1);
    else m_dibHot.Paint(dc, 0, 0);
}

void CIndexButton::OnClicked() {
    ::SendMessageW(Panel(), UM_SWITCH_PAGE, static_cast<WPARAM>(m_nPageNumber), 0);
    AssignTooltip(m_strTip, true);
}

void CIndexButton::RebuildAtNewSize() {
    const RECT rc = GetWindowRect();
    if (!m_dibNormal.PixelRows() || (m_dibNormal.Width() == rc.right - rc.left && m_dibNormal.Height() == rc.bottom - rc.top))
        return;
    BuildBackground(m_recipe.effect, m_recipe.grain, m_recipe.hotBlend, m_recipe.tintPercent, m_recipe.tint);
}

LRESULT CIndexButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SIZE) {
        const LRESULT result = CButtonEx::WindowProc(msg, wParam, lParam);
        RebuildAtNewSize();
        return result;
    }
    if (msg == WM_RBUTTONDOWN && m_nPageNumber == m_nCurrentMark) {
        // The current page's tab answers a right press like the panel's own surface.
        ::SendMessageW(Panel(), WM_RBUTTONDOWN, 0, 0);
        return 0;
    }
    return CButtonEx::WindowProc(msg, wParam, lParam);
}

} // namespace lhl
