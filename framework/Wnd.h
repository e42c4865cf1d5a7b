#pragma once
// The window base. One mechanism links an HWND to its object: a comctl32 window subclass with
// the object as reference data, installed for created windows, dialogs and wrapped controls
// alike. Every message then reaches the virtual WindowProc; what it does not handle goes to
// the window's own procedure through Default.
#include <windows.h>
#include <string>

namespace fw {

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object linked to a window, or null.
    static CWnd* FromHandle(HWND hWnd);

    // Links this object to an existing window (a dialog's control, say).
    bool SubclassWindow(HWND hWnd);
    bool SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // Creates a window that this object owns and destroys.
    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                  const RECT& rect, HWND parent, UINT id);
    virtual BOOL DestroyWindow();

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, msg, wParam, lParam);
    }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageW(m_hWnd, msg, wParam, lParam);
    }
    void SetWindowText(const std::wstring& text) const { ::SetWindowTextW(m_hWnd, text.c_str()); }
    std::wstring GetWindowText() const;
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    RECT GetWindowRect() const;
    RECT GetClientRect() const;
    BOOL ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd); }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    // Whether the window itself is shown, whatever its parent is (hidden, or not redrawing).
    bool HasVisibleStyle() const { return (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0; }

protected:
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The window's own handling of a message (its class or previous procedure).
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);

    // WM_COMMAND that no child took as its own notification; true when handled.
    virtual bool OnCommand(WORD id, WORD code, HWND control);
    // A notification the parent passed back to this control (WM_COMMAND, WM_DRAWITEM,
    // WM_CTLCOLOR*, WM_NOTIFY). True when handled; *result is then returned to the sender.
    virtual bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The last message the window gets; the link is already gone.
    virtual void PostNcDestroy() {}
    // This object made the window and destroys it with itself.
    void OwnWindow() { m_bOwnsWindow = m_hWnd != nullptr; }

private:
    bool Link(HWND hWnd);
    void Unlink();
    bool ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    static HWND ReflectionTarget(HWND self, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR refData);

    bool m_bOwnsWindow = false;
};

// Holds back a shown window's painting while many of its children change, then paints it and
// them once: no child flickers through its intermediate states, and none is painted twice. A
// hidden window is left alone, since turning redrawing back on would mark it visible.
class RedrawPause {
public:
    explicit RedrawPause(HWND window);
    ~RedrawPause();
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    HWND m_hWnd;
};

} // namespace fw
