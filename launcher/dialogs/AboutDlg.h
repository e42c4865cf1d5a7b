#pragma once
// The about box: the product's name and its two links, the web site and the mail address.
#include "Dialog.h"
#include "HyperLink.h"

namespace lhl {

enum : UINT {
    IDD_ABOUTBOX = 100,
    IDC_ABOUT_PRODUCT = 1083,
    IDC_ABOUT_SITE = 1024,
    IDC_ABOUT_MAIL = 1023,
};

class LanguageTable;

class CAboutDlg : public fw::CDialog {
public:
    explicit CAboutDlg(LanguageTable* language = nullptr, fw::CWnd* parent = nullptr)
        : fw::CDialog(IDD_ABOUTBOX, parent), m_pLanguage(language) {}
    BOOL OnInitDialog() override;
    CHyperLink& SiteLink() { return m_site; }
    CHyperLink& MailLink() { return m_mail; }

private:
    LanguageTable* m_pLanguage;
    CHyperLink m_site;
    CHyperLink m_mail;
};

} // namespace lhl
