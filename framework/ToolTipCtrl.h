#pragma once
// A tooltip control for one tool window. The tool is subclassed by the tooltip (TTF_SUBCLASS),
// so the mouse messages reach it without relaying them from a message loop, and it is the whole
// window at whatever size the window has.
#include <windows.h>
#include <commctrl.h>
#include <string>

namespace fw {

class CToolTipCtrl {
public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl() { Destroy(); }
    CToolTipCtrl(const CToolTipCtrl&) = delete;
    CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;

    bool Create(HWND owner, DWORD style = 0);
    void Destroy();
    bool IsCreated() const { return m_hWnd != nullptr; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    // Adds the tool window once; later calls only change its text.
    void SetToolText(HWND tool, const std::wstring& text);
    std::wstring GetToolText(HWND tool) const;
    void Activate(bool active) { ::SendMessageW(m_hWnd, TTM_ACTIVATE, active ? TRUE : FALSE, 0); }
    void SetMaxTipWidth(int width) { ::SendMessageW(m_hWnd, TTM_SETMAXTIPWIDTH, 0, width); }

private:
    HWND m_hWnd = nullptr;
    bool m_bHasTool = false;
};

} // namespace fw
