#pragma once
// A report-view list control with check boxes, as the dialogs use it: columns, rows inserted at
// a position, the texts of a row and its check and selection state.
#include "Wnd.h"
#include <commctrl.h>
#include <string>

namespace fw {

class CListCtrl : public CWnd {
public:
    void SetExtendedStyle(DWORD style);
    void InsertColumn(int index, const std::wstring& title, int width);
    int InsertItem(int index, const std::wstring& text);
    void SetItemText(int row, int column, const std::wstring& text);
    std::wstring GetItemText(int row, int column) const;
    int GetItemCount() const;
    void SetCheck(int row, bool checked);
    bool GetCheck(int row) const;
    bool IsSelected(int row) const;
    void Select(int row, bool selected);
};

} // namespace fw
