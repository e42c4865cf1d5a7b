#pragma once
// The system's colour picker. The sixteen custom colours are kept for the program's life, as
// users expect a colour they mixed to be there the next time the picker opens.
#include <windows.h>

namespace fw {

class CColorDialog {
public:
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0) : m_color(initial), m_flags(flags) {}
    // IDOK when a colour was chosen, IDCANCEL otherwise.
    INT_PTR DoModal(HWND owner);
    COLORREF GetColor() const { return m_color; }

private:
    COLORREF m_color;
    DWORD m_flags;
};

} // namespace fw
