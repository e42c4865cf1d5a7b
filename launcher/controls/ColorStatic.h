#pragma once
// A static text in its own colours: the panel's bottom strip.
#include "Handles.h"
#include "Wnd.h"

namespace lhl {

class CColorStatic : public fw::CWnd {
public:
    CColorStatic();
    void SetColours(COLORREF text, COLORREF back);
    COLORREF TextColour() const { return m_crText; }
    COLORREF BackColour() const { return m_crBack; }

protected:
    bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    COLORREF m_crBack;
    COLORREF m_crText = RGB(37, 95, 220);
    fw::UniqueHBrush m_brBack;
};

} // namespace lhl
