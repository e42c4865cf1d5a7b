#include "AboutDlg.h"
#include "Module.h"
#include "resource.h"

namespace lhl {

constexpr size_t kMaxProductName = 512;

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
    return TRUE;
}

} // namespace lhl
