#include "AboutDlg.h"
#include "LanguageTable.h"
#include "DialogLanguage.h"
#include "Module.h"
#include "resource.h"

namespace lhl {

constexpr size_t kMaxProductName = 512;
constexpr uint32_t kKeyAboutOk = 2;

BOOL CAboutDlg::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    ::SetDlgItemTextW(m_hWnd, IDC_ABOUT_PRODUCT, fw::LoadResString(IDS_PRODUCT_NAME).substr(0, kMaxProductName).c_str());
    const std::wstring site = fw::LoadResString(IDS_SITE_URL);
    ::SetDlgItemTextW(m_hWnd, IDC_ABOUT_SITE, site.c_str());
    m_site.SetURL(site);
    m_site.Attach(IDC_ABOUT_SITE, this);
    m_site.SetUnderline(1);

    // The link shows the bare address, without its "mailto:".
    const std::wstring mail = fw::LoadResString(IDS_MAIL_LINK);
    const size_t colon = mail.find(L':');
    ::SetDlgItemTextW(m_hWnd, IDC_ABOUT_MAIL, colon == std::wstring::npos ? mail.c_str() : mail.substr(colon + 1).c_str());
    m_mail.SetURL(mail);
    m_mail.Attach(IDC_ABOUT_MAIL, this);
    m_mail.SetUnderline(1);
    ApplyDialogLanguage(m_hWnd, m_pLanguage, kSectionAbout);
    // Key 1 is the caption, so OK (id 1 as well) has a key of its own.
    if (m_pLanguage && m_pLanguage->IsActive()) {
        std::wstring ok;
        m_pLanguage->Lookup(ok, kSectionAbout, kKeyAboutOk);
        if (!ok.empty()) ::SetDlgItemTextW(m_hWnd, IDOK, ok.c_str());
    }
    for (CHyperLink* link : {&m_site, &m_mail}) link->SetLanguage(m_pLanguage);
    return TRUE;
}

} // namespace lhl
