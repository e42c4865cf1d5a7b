#pragma once
// Dialogs from templates. DoModal runs its own message loop (rather than DialogBox's) so that a
// dialog can look at keys before the dialog manager does, through PreTranslateMessage.
#include "Wnd.h"

namespace fw {

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr)
        : m_nTemplateId(templateId), m_pParent(parent) {}

    // Runs the dialog until EndDialog; returns its result, or -1 when it could not be created.
    INT_PTR DoModal();
    // Creates the dialog modeless (for embedding and for tests).
    bool Create();
    void EndDialog(int result);

    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // True when the message was handled and must not be dispatched.
    virtual bool PreTranslateMessage(MSG*) { return false; }
    // One message as the modal loop handles it: PreTranslateMessage, the dialog manager, then
    // translation and dispatch (for the loop, and for a test pumping a modeless dialog).
    void HandleLoopMessage(MSG& msg);

    bool IsInModalLoop() const { return m_bModal; }
    // What EndDialog was given last; -1 while the dialog has not ended.
    int Result() const { return m_nResult; }

protected:
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void PostNcDestroy() override;

private:
    HWND CreateFromTemplate();
    void RunModalLoop();
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

    UINT m_nTemplateId;
    CWnd* m_pParent;
    bool m_bModal = false;
    bool m_bEndLoop = false;
    int m_nResult = -1;
};

} // namespace fw
