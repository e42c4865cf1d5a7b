#include "ColorStatic.h"

namespace lhl {

CColorStatic::CColorStatic() : m_crBack(::GetSysColor(COLOR_BTNFACE)), m_brBack(::CreateSolidBrush(m_crBack)) {}

void CColorStatic::SetColours(COLORREF text, COLORREF back) {
    m_crText = text;
    m_crBack = back;
    m_brBack.reset(::CreateSolidBrush(back));
    if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

bool CColorStatic::OnChildNotify(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
    if (msg != WM_CTLCOLORSTATIC) return false;
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetBkColor(dc, m_crBack);
    ::SetTextColor(dc, m_crText);
    *result = reinterpret_cast<LRESULT>(m_brBack.get());
    return true;
}

} // namespace lhl
