#include "ButtonEx.h"
#include <algorithm>

namespace lhl {

CButtonEx::CButtonEx() { ResetColourSlots(); }

CButtonEx::~CButtonEx() {
    // The icon goes with this object; the window must not keep drawing it.
    if (m_hWnd && m_icon) SendMessage(BM_SETIMAGE, IMAGE_ICON, 0);
}

bool CButtonEx::Create(const std::wstring& text, DWORD style, const RECT& rect, HWND parent, UINT id) {
    return CreateEx(0, L"BUTTON", text.c_str(), style | BS_PUSHBUTTON | BS_MULTILINE, rect, parent, id);
}

void CButtonEx::ResetColourSlots() {
    for (int i = 0; i < kColourSlots; ++i)
        m_clrSlots[i] = ::GetSysColor((i % 2 == 0) ? COLOR_BTNFACE : COLOR_BTNTEXT);
}

int CButtonEx::SetImageLayout(int layout, bool redraw) {
    if (layout < 0 || layout > 4) return kBadLayout;
    m_nImageLayout = layout;
    if (redraw && m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return kConfigOk;
}

int CButtonEx::SetFlatLook(bool flat, bool redraw) {
    m_bFlatLook = flat;
    if (redraw && m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return kConfigOk;
}

int CButtonEx::SetColourSlot(int index, COLORREF colour, bool redraw) {
    if (index < 0 || index >= kColourSlots) return kBadColourIndex;
    m_clrSlots[index] = colour;
    if (redraw && m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
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
    if (redraw && m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return kConfigOk;
}

void CButtonEx::SetCurrentMark(int mark) {
    m_nCurrentMark = mark;
    m_bFocusLook = mark != 0;
    if (m_hWnd) {
        SendMessage(BM_SETSTATE, m_bFocusLook ? TRUE : FALSE);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
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
    if (m_hWnd) SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    m_icon.reset(icon);
    return result;
}

void CButtonEx::AssignTooltip(const std::wstring& text, bool active) {
    m_strTooltip = text;
    m_bTooltipActive = active;
}

void CButtonEx::SetCaption(const std::wstring& text) {
    if (m_hWnd) SetWindowText(text);
}

void CButtonEx::OnClicked() { LaunchItem(); }

bool CButtonEx::OnChildNotify(UINT msg, WPARAM wParam, LPARAM, LRESULT*) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) OnClicked();
    // Not consumed: the panel sees the click of this id as well.
    return false;
}

bool CButtonEx::OnCommand(WORD id, WORD, HWND) {
    switch (id) {
    case ID_ITEM_DELETE: DeleteItem(); return true;
    case ID_ITEM_PROPERTIES: ShowItemProperties(); return true;
    case ID_ITEM_RUN: LaunchItem(); return true;
    case ID_ITEM_OPEN_FOLDER: OpenContainingFolder(); return true;
    default: return false;
    }
}

} // namespace lhl
