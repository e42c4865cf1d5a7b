#include "ListCtrl.h"
#include <vector>

namespace fw {

void CListCtrl::SetExtendedStyle(DWORD style) {
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, style, style);
}

void CListCtrl::InsertColumn(int index, const std::wstring& title, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(title.c_str());
    column.cx = width;
    column.iSubItem = index;
    SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

int CListCtrl::InsertItem(int index, const std::wstring& text) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void CListCtrl::SetItemText(int row, int column, const std::wstring& text) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// Grows the buffer until the text fits: paths can be longer than any fixed guess.
std::wstring CListCtrl::GetItemText(int row, int column) const {
    for (size_t size = 512;; size *= 4) {
        std::vector<wchar_t> buffer(size, L'\0');
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(size);
        const auto length = static_cast<size_t>(::SendMessageW(m_hWnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                                               reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < size || size > 65536) return std::wstring(buffer.data(), length);
    }
}

int CListCtrl::GetItemCount() const {
    return static_cast<int>(::SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0));
}

void CListCtrl::SetCheck(int row, bool checked) {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

bool CListCtrl::GetCheck(int row) const {
    const auto state = static_cast<UINT>(::SendMessageW(m_hWnd, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
    return ((state >> 12) - 1) == 1;
}

bool CListCtrl::IsSelected(int row) const {
    return ::SendMessageW(m_hWnd, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0;
}

void CListCtrl::Select(int row, bool selected) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

} // namespace fw
