#include "ItemDialogs.h"
#include "LanguageKeys.h"
#include "DialogLanguage.h"
#include "LanguageTable.h"
#include "LauncherConfig.h"
#include <vector>

namespace lhl {

std::wstring ControlText(HWND dialog, int id) {
    HWND control = ::GetDlgItem(dialog, id);
    const int length = ::GetWindowTextLengthW(control);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(control, buffer.data(), length + 1);
    return buffer.data();
}

namespace {

void FillEdit(HWND dialog, int id, const std::wstring& text, int limit) {
    ::SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
    ::SetDlgItemTextW(dialog, id, text.substr(0, static_cast<size_t>(limit)).c_str());
}

LanguageTable* TableOf(LauncherConfig* config) { return config ? config->GetLanguageTable() : nullptr; }

} // namespace

BOOL CTextClipboardDlg::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    FillEdit(m_hWnd, IDC_ITEM_TITLE, m_strTitle, kMaxItemTitle);
    FillEdit(m_hWnd, IDC_ITEM_TEXT, m_strText, kMaxItemText);
    ApplyDialogLanguage(m_hWnd, TableOf(m_pConfig), kSectionClipboard);
    return TRUE;
}

void CTextClipboardDlg::OnAccept() {
    m_strTitle = ControlText(m_hWnd, IDC_ITEM_TITLE);
    m_strText = ControlText(m_hWnd, IDC_ITEM_TEXT);
    if (!m_strText.empty()) {
        EndDialog(IDOK);
        return;
    }
    // Yes gives up; No goes back to the dialog with what was typed.
    LanguageTable* table = TableOf(m_pConfig);
    if (::MessageBoxW(m_hWnd, TextOf(table, texts::kTextEmpty).c_str(), TextOf(table, texts::kWarning).c_str(), MB_YESNO) ==
        IDYES)
        EndDialog(IDCANCEL);
}

bool CTextClipboardDlg::OnCommand(WORD id, WORD code, HWND control) {
    if (id == IDC_ITEM_OK || id == IDOK) {
        OnAccept();
        return true;
    }
    if (id == IDC_ITEM_CANCEL) {
        EndDialog(IDCANCEL);
        return true;
    }
    return fw::CDialog::OnCommand(id, code, control);
}

BOOL CUrlDlg::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    FillEdit(m_hWnd, IDC_ITEM_TITLE, m_strTitle, kMaxItemTitle);
    FillEdit(m_hWnd, IDC_ITEM_ADDRESS, m_strAddress, kMaxItemAddress);
    ApplyDialogLanguage(m_hWnd, TableOf(m_pConfig), kSectionUrlEmail);
    return TRUE;
}

bool CUrlDlg::OnCommand(WORD id, WORD code, HWND control) {
    if (id == IDC_ITEM_OK || id == IDOK) {
        m_strTitle = ControlText(m_hWnd, IDC_ITEM_TITLE);
        m_strAddress = ControlText(m_hWnd, IDC_ITEM_ADDRESS);
        EndDialog(IDOK);
        return true;
    }
    if (id == IDC_ITEM_CANCEL) {
        EndDialog(IDCANCEL);
        return true;
    }
    return fw::CDialog::OnCommand(id, code, control);
}

} // namespace lhl
