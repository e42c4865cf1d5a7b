#pragma once
// Thin wrappers of the common controls the options use: the hot-key control, the track bar and
// the drop-down list. Each is a CWnd bound to a dialog's control.
#include "Wnd.h"
#include <commctrl.h>
#include <string>

namespace fw {

class CHotKeyCtrl : public CWnd {
public:
    void SetHotKey(WORD virtualKey, WORD modifiers) {
        SendMessage(HKM_SETHOTKEY, MAKEWORD(virtualKey, modifiers));
    }
    void GetHotKey(WORD& virtualKey, WORD& modifiers) const {
        const auto value = static_cast<WORD>(::SendMessageW(m_hWnd, HKM_GETHOTKEY, 0, 0));
        virtualKey = LOBYTE(value);
        modifiers = HIBYTE(value);
    }
    // "Ctrl + Shift + Alt + Key", the key by the keyboard's own name for it.
    std::wstring GetHotKeyName() const;
};

class CSliderCtrl : public CWnd {
public:
    void SetRange(int low, int high, bool redraw = true) {
        SendMessage(TBM_SETRANGEMIN, FALSE, low);
        SendMessage(TBM_SETRANGEMAX, redraw ? TRUE : FALSE, high);
    }
    int GetRangeMin() const { return static_cast<int>(::SendMessageW(m_hWnd, TBM_GETRANGEMIN, 0, 0)); }
    int GetRangeMax() const { return static_cast<int>(::SendMessageW(m_hWnd, TBM_GETRANGEMAX, 0, 0)); }
    void SetPos(int pos) { SendMessage(TBM_SETPOS, TRUE, pos); }
    int GetPos() const { return static_cast<int>(::SendMessageW(m_hWnd, TBM_GETPOS, 0, 0)); }
};

class CComboBox : public CWnd {
public:
    int AddString(const std::wstring& text) {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    int GetCount() const { return static_cast<int>(::SendMessageW(m_hWnd, CB_GETCOUNT, 0, 0)); }
    void SetCurSel(int index) { SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index)); }
    int GetCurSel() const { return static_cast<int>(::SendMessageW(m_hWnd, CB_GETCURSEL, 0, 0)); }
};

} // namespace fw
