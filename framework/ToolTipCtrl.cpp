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

void CToolTipCtrl::SetToolText(HWND tool, UINT id, const RECT& rect, const std::wstring& text) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = tool;
    info.uId = id;
    info.rect = rect;
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    if (!m_bHasTool) m_bHasTool = ::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
    else ::SendMessageW(m_hWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

std::wstring CToolTipCtrl::GetToolText(HWND tool, UINT id) const {
    std::vector<wchar_t> buffer(1024, L'\0');
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = tool;
    info.uId = id;
    info.lpszText = buffer.data();
    ::SendMessageW(m_hWnd, TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&info));
    return buffer.data();
}

} // namespace fw
