#pragma once
// Property sheets over the common controls' PropertySheetW: pages from dialog templates, each
// bound to its object when the sheet creates it, and a sheet whose own window is bound once it
// exists, so both can adjust their controls in OnInitDialog.
#include "Wnd.h"
#include <prsht.h>
#include <string>
#include <vector>

namespace fw {

class CPropertyPage : public CWnd {
public:
    explicit CPropertyPage(UINT templateId) : m_nTemplateId(templateId) {}
    virtual BOOL OnInitDialog() { return TRUE; }
    // The sheet closed with OK; only pages that were opened hear it.
    virtual void OnOK() {}
    // The sheet closed with Cancel or its close box; only pages that were opened hear it.
    virtual void OnCancel() {}
    // A title instead of the template's caption; empty keeps the caption.
    void SetTitle(const std::wstring& title) { m_strTitle = title; }
    bool WasOpened() const { return m_hWnd != nullptr || m_bOpened; }
    bool WasApplied() const { return m_bApplied; }
    PROPSHEETPAGEW Describe();

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK PageProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

    UINT m_nTemplateId;
    std::wstring m_strTitle;
    bool m_bOpened = false;
    bool m_bApplied = false;
};

class CPropertySheet : public CWnd {
public:
    explicit CPropertySheet(std::wstring caption);
    ~CPropertySheet() override;
    void AddPage(CPropertyPage* page) { m_pages.push_back(page); }
    // IDOK when the sheet was closed with OK, else IDCANCEL (-1 when it could not be shown).
    INT_PTR DoModal(HWND owner = nullptr);
    // The sheet without its own loop (for tests); Closed() tells when OK or Cancel ended it.
    bool Create(HWND owner = nullptr);
    bool Closed() const;
    int Result() const;
    virtual BOOL OnInitDialog() { return TRUE; }

    PROPSHEETHEADERW m_psh{};

private:
    bool Prepare(HWND owner, std::vector<PROPSHEETPAGEW>& pages);
    static int CALLBACK SheetCallback(HWND hWnd, UINT msg, LPARAM lParam);

    std::wstring m_strCaption;
    std::vector<CPropertyPage*> m_pages;
    bool m_bModeless = false;
};

} // namespace fw
