#include "Wnd.h"
#include <commctrl.h>
#include <vector>

namespace fw {
namespace {
// One subclass id for the whole framework: a window carries at most one object.
constexpr UINT_PTR kLinkId = 0x4C484C31;

// GetWindowSubclass is exported from comctl32 by ordinal only, so the import library lacks it.
using GetWindowSubclassFn = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR*);
GetWindowSubclassFn ResolveGetWindowSubclass() {
    HMODULE comctl = ::GetModuleHandleW(L"comctl32.dll");
    if (!comctl) comctl = ::LoadLibraryW(L"comctl32.dll");
    return comctl ? reinterpret_cast<GetWindowSubclassFn>(
                        reinterpret_cast<void*>(::GetProcAddress(comctl, MAKEINTRESOURCEA(411))))
                  : nullptr;
}

bool LinkedObject(HWND hWnd, SUBCLASSPROC proc, DWORD_PTR* ref) {
    static const GetWindowSubclassFn getWindowSubclass = ResolveGetWindowSubclass();
    return getWindowSubclass && getWindowSubclass(hWnd, proc, kLinkId, ref);
}
}

CWnd::~CWnd() {
    if (!m_hWnd) return;
    HWND hWnd = m_hWnd;
    const bool owned = m_bOwnsWindow;
    // Unlink first so the destruction below never calls into a half-destroyed object.
    Unlink();
    if (owned) ::DestroyWindow(hWnd);
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    DWORD_PTR ref = 0;
    if (!hWnd || !LinkedObject(hWnd, SubclassProc, &ref)) return nullptr;
    return reinterpret_cast<CWnd*>(ref);
}

bool CWnd::Link(HWND hWnd) {
    if (!hWnd || m_hWnd || FromHandle(hWnd)) return false;
    if (!::SetWindowSubclass(hWnd, SubclassProc, kLinkId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_hWnd = hWnd;
    return true;
}

void CWnd::Unlink() {
    if (m_hWnd) ::RemoveWindowSubclass(m_hWnd, SubclassProc, kLinkId);
    m_hWnd = nullptr;
    m_bOwnsWindow = false;
}

bool CWnd::SubclassWindow(HWND hWnd) { return Link(hWnd); }

bool CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    return parent && Link(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
    HWND hWnd = m_hWnd;
    Unlink();
    return hWnd;
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    const RECT& rect, HWND parent, UINT id) {
    if (m_hWnd) return false;
    HMENU menuOrId = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
    HWND hWnd = ::CreateWindowExW(exStyle, className, title, style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent, menuOrId,
                                  ::GetModuleHandleW(nullptr), nullptr);
    if (!hWnd) return false;
    if (!Link(hWnd)) {
        ::DestroyWindow(hWnd);
        return false;
    }
    m_bOwnsWindow = true;
    return true;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

std::wstring CWnd::GetWindowText() const {
    const int length = ::GetWindowTextLengthW(m_hWnd);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(m_hWnd, buffer.data(), length + 1);
    return buffer.data();
}

RECT CWnd::GetWindowRect() const {
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    return rc;
}

RECT CWnd::GetClientRect() const {
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    return rc;
}

LRESULT CWnd::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(m_hWnd, msg, wParam, lParam);
}

bool CWnd::OnCommand(WORD, WORD, HWND) { return false; }

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

HWND CWnd::ReflectionTarget(HWND self, UINT msg, WPARAM, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORDLG:
        return reinterpret_cast<HWND>(lParam);
    case WM_DRAWITEM:
        // The item's id may be 0 (menus); the window handle is what identifies the control.
        return lParam ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_NOTIFY: {
        HWND from = lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
        return (from && ::GetParent(from) == self) ? from : nullptr;
    }
    default:
        return nullptr;
    }
}

bool CWnd::ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    HWND child = ReflectionTarget(m_hWnd, msg, wParam, lParam);
    if (!child || child == m_hWnd) return false;
    CWnd* object = FromHandle(child);
    return object && object->OnChildNotify(msg, wParam, lParam, result);
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ReflectToChild(msg, wParam, lParam, &result)) return result;
    if (msg == WM_COMMAND && OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)))
        return 0;
    return Default(msg, wParam, lParam);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR refData) {
    auto* self = reinterpret_cast<CWnd*>(refData);
    if (msg == WM_NCDESTROY) {
        self->Unlink();
        LRESULT result = ::DefSubclassProc(hWnd, msg, wParam, lParam);
        self->PostNcDestroy();
        return result;
    }
    // No exception may leave a window procedure: the system's caller cannot unwind it.
    try {
        return self->WindowProc(msg, wParam, lParam);
    } catch (...) {
        return ::DefSubclassProc(hWnd, msg, wParam, lParam);
    }
}

RedrawPause::RedrawPause(HWND window) : m_hWnd(window && ::IsWindowVisible(window) ? window : nullptr) {
    if (m_hWnd) ::SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
}

RedrawPause::~RedrawPause() {
    if (!m_hWnd) return;
    ::SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

} // namespace fw
