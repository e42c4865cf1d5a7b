#include "PropertySheet.h"
#include "Module.h"
#include <commctrl.h>

namespace fw {
namespace {

// PropertySheetW's callback carries no user data: the sheet being created is remembered here.
thread_local CPropertySheet* t_creating = nullptr;

} // namespace

PROPSHEETPAGEW CPropertyPage::Describe() {
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof(page);
    page.dwFlags = m_strTitle.empty() ? PSP_DEFAULT : PSP_USETITLE;
    page.hInstance = ResourceInstance();
    page.pszTemplate = MAKEINTRESOURCEW(m_nTemplateId);
    page.pszTitle = m_strTitle.c_str();
    page.pfnDlgProc = PageProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return page;
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND hWnd, UINT msg, WPARAM, LPARAM lParam) {
    if (msg != WM_INITDIALOG) return FALSE;
    auto* self = reinterpret_cast<CPropertyPage*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
    if (!self->SubclassWindow(hWnd)) return FALSE;
    self->m_bOpened = true;
    return self->OnInitDialog();
}

LRESULT CPropertyPage::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == PSN_APPLY) {
            // lParam TRUE: OK rather than Apply; this sheet has no Apply button.
            m_bApplied = true;
            OnOK();
            return PSNRET_NOERROR;
        }
        if (header->code == PSN_RESET) {
            OnCancel();
            return 0;
        }
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}

CPropertySheet::CPropertySheet(std::wstring caption) : m_strCaption(std::move(caption)) {
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_USECALLBACK;
}

CPropertySheet::~CPropertySheet() {
    if (m_hWnd && m_bModeless) ::DestroyWindow(m_hWnd);
}

bool CPropertySheet::Prepare(HWND owner, std::vector<PROPSHEETPAGEW>& pages) {
    if (m_pages.empty()) return false;
    for (CPropertyPage* page : m_pages) pages.push_back(page->Describe());
    m_psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    m_psh.hwndParent = owner;
    m_psh.hInstance = ResourceInstance();
    m_psh.pszCaption = m_strCaption.c_str();
    m_psh.nPages = static_cast<UINT>(pages.size());
    m_psh.ppsp = pages.data();
    m_psh.pfnCallback = SheetCallback;
    t_creating = this;
    return true;
}

int CALLBACK CPropertySheet::SheetCallback(HWND hWnd, UINT msg, LPARAM) {
    if (msg == PSCB_INITIALIZED && t_creating) {
        CPropertySheet* sheet = t_creating;
        t_creating = nullptr;
        if (sheet->SubclassWindow(hWnd)) sheet->OnInitDialog();
    }
    return 0;
}

INT_PTR CPropertySheet::DoModal(HWND owner) {
    std::vector<PROPSHEETPAGEW> pages;
    if (!Prepare(owner, pages)) return -1;
    const INT_PTR shown = ::PropertySheetW(&m_psh);
    t_creating = nullptr;
    if (shown < 0) return -1;
    return Result();
}

bool CPropertySheet::Create(HWND owner) {
    std::vector<PROPSHEETPAGEW> pages;
    if (!Prepare(owner, pages)) return false;
    m_bModeless = true;
    m_psh.dwFlags |= PSH_MODELESS;
    const INT_PTR window = ::PropertySheetW(&m_psh);
    t_creating = nullptr;
    return window != 0 && window != -1;
}

bool CPropertySheet::Closed() const {
    return !m_hWnd || !::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0);
}

int CPropertySheet::Result() const {
    for (const CPropertyPage* page : m_pages)
        if (page->WasApplied()) return IDOK;
    return IDCANCEL;
}

} // namespace fw
