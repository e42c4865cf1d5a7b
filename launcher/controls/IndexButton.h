#pragma once
// A page tab: shows its page's title on a shaded, noisy texture made from the page's colours,
// switches to its page when clicked, and hands a right press on the current tab to the panel.
#include "ButtonEx.h"
#include "CeXDib.h"

namespace lhl {

class CIndexButton : public CButtonEx {
public:
    // The tab keeps its tip so that it can be given again after a click.
    void SetTip(const std::wstring& tip) {
        m_strTip = tip;
        AssignTooltip(tip, true);
    }
    // The four page colours onto the six slots: background hot/focus, normal; text hot/focus, normal.
    void SetPageColours(COLORREF focusBack, COLORREF normalBack, COLORREF focusText, COLORREF normalText);
    // Builds the normal and hot textures at the button's size; only effect 6 exists.
    void BuildBackground(int effect, int grain, int hotBlend, unsigned tintPercent, COLORREF tint);
    const CCeXDib& NormalImage() const { return m_dibNormal; }
    const CCeXDib& HotImage() const { return m_dibHot; }
    std::wstring HoverText() const override;

protected:
    void OnClicked() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void PaintBackground(HDC dc, const RECT& rect) override;

private:
    struct TextureRecipe {
        int effect, grain, hotBlend;
        unsigned tintPercent;
        COLORREF tint;
    };
    // A tab that changes size takes a texture of its new size, made the same way.
    void RebuildAtNewSize();

    CCeXDib m_dibNormal;
    CCeXDib m_dibHot;
    TextureRecipe m_recipe{};
};

} // namespace lhl
