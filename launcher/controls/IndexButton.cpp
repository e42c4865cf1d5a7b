#include "IndexButton.h"
#include "PanelMessages.h"

namespace lhl {

void CIndexButton::SetPageColours(COLORREF focusBack, COLORREF normalBack, COLORREF focusText, COLORREF normalText) {
    SetColourSlot(0, focusBack, false);
    SetColourSlot(4, focusBack, false);
    SetColourSlot(2, normalBack, false);
    SetColourSlot(1, focusText, false);
    SetColourSlot(5, focusText, false);
    SetColourSlot(3, normalText, true);
}

void CIndexButton::OnClicked() {
    ::SendMessageW(Panel(), UM_SWITCH_PAGE, static_cast<WPARAM>(m_nPageNumber), 0);
    AssignTooltip(m_strTip, true);
}

LRESULT CIndexButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_RBUTTONDOWN && m_nPageNumber == m_nCurrentMark) {
        // The current page's tab answers a right press like the panel's own surface.
        ::SendMessageW(Panel(), WM_RBUTTONDOWN, 0, 0);
        return 0;
    }
    return CButtonEx::WindowProc(msg, wParam, lParam);
}

} // namespace lhl
