#pragma once
// The about box: the product's name, a link to the manual beside the program and the contact
// address as plain text.
#include "Dialog.h"
#include "HyperLink.h"
#include <string>

namespace lhl {

enum : UINT {
    IDD_ABOUTBOX = 100,
    IDC_ABOUT_PRODUCT = 1083,
    IDC_ABOUT_SITE = 1024,
    IDC_ABOUT_MAIL = 1023,
};

class LanguageTable;

// The manual's name as the interface calls it.
std::wstring ManualTitle(LanguageTable* language);

class CAboutDlg : public fw::CDialog {
public:
    explicit CAboutDlg(LanguageTable* language = nullptr, fw::CWnd* parent = nullptr);
    // The manual page the link opens; the English one beside the program by default.
    void SetManual(std::wstring path);
    BOOL OnInitDialog() override;
    CHyperLink& ManualLink() { return m_manual; }

private:
    LanguageTable* m_pLanguage;
    CHyperLink m_manual;
    std::wstring m_manualPath;
    std::wstring m_manualTitle;
};

} // namespace lhl
