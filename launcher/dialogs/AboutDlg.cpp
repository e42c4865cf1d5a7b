#include "AboutDlg.h"
#include "LanguageTable.h"
#include "DialogLanguage.h"
#include "Module.h"
#include "resource.h"

namespace lhl {

constexpr size_t kMaxProductName = 512;
constexpr uint32_t kKeyAboutOk = 2;

// The link says what the tray menu's entry for the manual says, without its "&&".
std::wstring ManualTitle(LanguageTable* language) {
    constexpr const wchar_t* kEnglish = L"Manual && FAQ";
    std::wstring title = language ? language->TextOr(kSectionMain, ID_TRAY_MANUAL, kEnglish) : kEnglish;
    for (size_t at = title.find(L"&&"); at != std::wstring::npos; at = title.find(L"&&", at + 1)) title.erase(at, 1);
    return title;
}

CAboutDlg::CAboutDlg(LanguageTable* language, fw::CWnd* parent)
    : fw::CDialog(IDD_ABOUTBOX, parent), m_pLanguage(language),
      m_manualPath(fw::ModuleFolder() + fw::LoadResString(IDS_HELP_FILE)), m_manualTitle(ManualTitle(language)) {}

void CAboutDlg::SetManual(std::wstring path) { m_manualPath = std::move(path); }

// The product has no web site a user could reach, so the box leads to the manual that ships
// with the program; the contact address is shown for reading, not as a link that goes nowhere.
BOOL CAboutDlg::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    ::SetDlgItemTextW(m_hWnd, IDC_ABOUT_PRODUCT, fw::LoadResString(IDS_PRODUCT_NAME).substr(0, kMaxProductName).c_str());
    const std::wstring mail = fw::LoadResString(IDS_MAIL_LINK);
    const size_t colon = mail.find(L':');
    ::SetDlgItemTextW(m_hWnd, IDC_ABOUT_MAIL, colon == std::wstring::npos ? mail.c_str() : mail.substr(colon + 1).c_str());
    ApplyDialogLanguage(m_hWnd, m_pLanguage, kSectionAbout);
    // Key 1 is the caption, so OK (id 1 as well) has a key of its own.
    if (m_pLanguage && m_pLanguage->IsActive()) {
        std::wstring ok;
        m_pLanguage->Lookup(ok, kSectionAbout, kKeyAboutOk);
        if (!ok.empty()) ::SetDlgItemTextW(m_hWnd, IDOK, ok.c_str());
    }
    // The link's words come last: they are the manual's title in the interface's language.
    ::SetDlgItemTextW(m_hWnd, IDC_ABOUT_SITE, m_manualTitle.c_str());
    m_manual.SetURL(m_manualPath);
    m_manual.Attach(IDC_ABOUT_SITE, this);
    m_manual.SetUnderline(1);
    m_manual.SetLanguage(m_pLanguage);
    return TRUE;
}

} // namespace lhl
