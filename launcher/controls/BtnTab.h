#pragma once
// A flat colour sample button: its face or its caption shows a colour set from outside. It is
// the item button's control without an item, a page number, a shadow or strip texts.
#include "ButtonEx.h"

namespace lhl {

class CBtnTab : public CButtonEx {
public:
    CBtnTab() { m_nPageNumber = -1; } // never an item button: no shadow margin, no launching
    // 3 for a bad index, else 0.
    int GetColourSlot(int index, COLORREF& colour) const;
    void SetSeeThrough(bool seeThrough) { m_bSeeThrough = seeThrough; }

protected:
    void DrawItem(const DRAWITEMSTRUCT& item) override;
    void PaintBackground(HDC dc, const RECT& rect) override;
    void PaintCaption(HDC dc, const std::wstring& text, const RECT& last, bool pressed, bool disabled) override;
    std::wstring HoverText() const override { return {}; }
    DWORD OwnedStyleBits() const override { return 0x1F; }
    void OnClicked() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool m_bSeeThrough = false;
};

} // namespace lhl
