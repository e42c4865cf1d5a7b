#include "ToolTipCtrl.h"
#include <vector>

namespace fw {

bool CToolTipCtrl::Create(HWND owner, DWORD style) {
    if (m_hWnd) return true;
    m_hWnd = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    m_bHasTool = false;
    return m_hWnd != nullptr;
}

void CToolTipCtrl::Destroy() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    m_bHasTool = false;
}

// The tool is the whole window (TTF_IDISHWND), not a rectangle taken once: it keeps covering the
// window when the window is resized, at a change of scaling say.
void CToolTipCtrl::SetToolText(HWND tool, const std::wstring& text) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
    info.hwnd = ::GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    if (!m_bHasTool) m_bHasTool = ::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
    else ::SendMessageW(m_hWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

std::wstring CToolTipCtrl::GetToolText(HWND tool) const {
    std::vector<wchar_t> buffer(1024, L'\0');
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = ::GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = buffer.data();
    ::SendMessageW(m_hWnd, TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&info));
    return buffer.data();
}

} // namespace fw
