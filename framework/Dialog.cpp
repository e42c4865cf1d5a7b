#include "Dialog.h"
#include "Module.h"

namespace fw {

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT msg, WPARAM, LPARAM lParam) {
    if (msg != WM_INITDIALOG) return FALSE;
    auto* self = reinterpret_cast<CDialog*>(lParam);
    if (!self->SubclassWindow(hWnd)) return FALSE;
    try {
        return self->OnInitDialog();
    } catch (...) {
        return TRUE;
    }
}

HWND CDialog::CreateFromTemplate() {
    HWND owner = m_pParent ? m_pParent->m_hWnd : nullptr;
    return ::CreateDialogParamW(ResourceInstance(), MAKEINTRESOURCEW(m_nTemplateId), owner,
                                DialogProc, reinterpret_cast<LPARAM>(this));
}

bool CDialog::Create() {
    if (m_hWnd || !CreateFromTemplate()) return false;
    OwnWindow();
    return true;
}

INT_PTR CDialog::DoModal() {
    HWND owner = m_pParent ? m_pParent->m_hWnd : nullptr;
    if (m_hWnd || !CreateFromTemplate()) return -1;
    const bool disableOwner = owner && ::IsWindowEnabled(owner);
    if (disableOwner) ::EnableWindow(owner, FALSE);

    m_bModal = true;
    m_bEndLoop = false;
    m_nResult = -1;
    // A template without WS_VISIBLE is shown once it is ready, as a modal dialog must be seen.
    if (m_hWnd && !::IsWindowVisible(m_hWnd)) ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    RunModalLoop();
    m_bModal = false;

    // The owner must be enabled again before this window goes, or activation jumps elsewhere.
    // A hidden owner is not activated: the keys would go to a window nobody sees.
    if (disableOwner) {
        ::EnableWindow(owner, TRUE);
        if (::IsWindowVisible(owner)) ::SetActiveWindow(owner);
    }
    if (m_hWnd) DestroyWindow();
    return m_nResult;
}

void CDialog::RunModalLoop() {
    MSG msg;
    while (!m_bEndLoop && m_hWnd) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // Leave WM_QUIT for whoever runs the loop outside this dialog.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        HandleLoopMessage(msg);
    }
}

void CDialog::HandleLoopMessage(MSG& msg) {
    if (PreTranslateMessage(&msg)) return;
    if (m_hWnd && ::IsDialogMessageW(m_hWnd, &msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

void CDialog::EndDialog(int result) {
    m_nResult = result;
    if (m_bModal) {
        m_bEndLoop = true;
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0); // wake the loop
    } else if (m_hWnd) {
        ::ShowWindow(m_hWnd, SW_HIDE);
    }
}

bool CDialog::OnCommand(WORD id, WORD, HWND) {
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void CDialog::PostNcDestroy() {
    // A window destroyed from outside must not leave the loop waiting for a message.
    if (m_bModal) {
        m_bEndLoop = true;
        ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);
    }
}

} // namespace fw
