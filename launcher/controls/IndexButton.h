#pragma once
// A page tab: shows its page's title, switches to its page when clicked, and hands a right press
// on the current page's tab to the panel.
#include "ButtonEx.h"

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

protected:
    void OnClicked() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

} // namespace lhl
