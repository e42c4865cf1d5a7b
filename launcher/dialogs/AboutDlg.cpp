#include "AboutDlg.h"
#include "Module.h"
#include "resource.h"

namespace lhl {

constexpr size_t kMaxProductName = 512;

CAboutDlg::CAboutDlg(fw::CWnd* parent)
    : fw::CDialog(IDD_ABOUTBOX, parent), m_manualPath(fw::ModuleFolder() + fw::LoadResString(IDS_HELP_FILE)),
      m_manualTitle(L"Manual & FAQ") {}

void CAboutDlg::SetManual(std::wstring path, std::wstring title) {
    m_manualPath = std::move(path);
    m_manualTitle = std::move(title);
}

// The product has no web site a user could reach, so the box leads to the manual that ships
// with the program; the contact address is shown for reading, not as a link that goes nowhere.
BOOL CAboutDlg::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    ::SetDlgItemTextW(m_hWnd, IDC_ABOUT_PRODUCT, fw::LoadResString(IDS_PRODUCT_NAME).substr(0, kMaxProductName).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_ABOUT_SITE, m_manualTitle.c_str());
    m_manual.SetURL(m_manualPath);
    m_manual.Attach(IDC_ABOUT_SITE, this);
    m_manual.SetUnderline(1);

    const std::wstring mail = fw::LoadResString(IDS_MAIL_LINK);
    const size_t colon = mail.find(L':');
    ::SetDlgItemTextW(m_hWnd, IDC_ABOUT_MAIL, colon == std::wstring::npos ? mail.c_str() : mail.substr(colon + 1).c_str());
    return TRUE;
}

} // namespace lhl
