#include "PageProperties.h"
#include "ColorDialog.h"
#include "DialogLanguage.h"
#include "ItemDialogs.h"
#include "LanguageTable.h"

namespace lhl {
namespace {

// A background swatch shows its colour in the slots 2, 0 and 4, a text swatch in 3, 1 and 5.
void PaintSwatch(CBtnTab& swatch, COLORREF colour, bool background) {
    const int first = background ? 2 : 3;
    swatch.SetColourSlot(first, colour, false);
    swatch.SetColourSlot(first - 2, colour, false);
    swatch.SetColourSlot(first + 2, colour, true);
}

COLORREF Slot(const CBtnTab& swatch, int index) {
    COLORREF colour = 0;
    swatch.GetColourSlot(index, colour);
    return colour;
}

} // namespace

BOOL CPageProperties::OnInitDialog() {
    fw::CDialog::OnInitDialog();
    m_normalBack.SubclassDlgItem(IDC_NORMAL_BACK, this);
    m_focusBack.SubclassDlgItem(IDC_FOCUS_BACK, this);
    m_normalText.SubclassDlgItem(IDC_NORMAL_TEXT, this);
    m_focusText.SubclassDlgItem(IDC_FOCUS_TEXT, this);
    m_preview.SubclassDlgItem(IDC_PAGE_PREVIEW, this);
    PaintSwatch(m_normalBack, m_pBlock->normalBackColor, true);
    PaintSwatch(m_focusBack, m_pBlock->focusBackColor, true);
    PaintSwatch(m_normalText, m_pBlock->normalTextColor, false);
    PaintSwatch(m_focusText, m_pBlock->focusTextColor, false);
    m_preview.SetPageNumber(kPreviewPageNumber);
    UpdatePreview();
    m_preview.ShowWindow(SW_SHOW);
    ApplyDialogLanguage(m_hWnd, m_pLanguage, kSectionNewPage);
    if (m_pLanguage && m_pLanguage->IsActive()) {
        // The lost-focus text swatch shares its label with the focused one.
        std::wstring text;
        m_pLanguage->Lookup(text, kSectionNewPage, IDC_FOCUS_TEXT);
        if (!text.empty()) ::SetDlgItemTextW(m_hWnd, IDC_NORMAL_TEXT, text.c_str());
    }
    ::SendDlgItemMessageW(m_hWnd, IDC_PAGE_TITLE, EM_LIMITTEXT, kMaxPageTitle, 0);
    ::SendDlgItemMessageW(m_hWnd, IDC_PAGE_TIP, EM_LIMITTEXT, kMaxPageTip, 0);
    ::SetDlgItemTextW(m_hWnd, IDC_PAGE_TITLE, m_pBlock->title.substr(0, kMaxPageTitle).c_str());
    ::SetDlgItemTextW(m_hWnd, IDC_PAGE_TIP, m_pBlock->tip.substr(0, kMaxPageTip).c_str());
    return TRUE;
}

void CPageProperties::UpdatePreview() {
    m_preview.SetPageColours(Slot(m_focusBack, 0), Slot(m_normalBack, 2), Slot(m_focusText, 1), Slot(m_normalText, 3));
    m_preview.BuildBackground(6, 33, 10, 0, 0);
    ::InvalidateRect(m_preview.m_hWnd, nullptr, FALSE);
}

void CPageProperties::ChooseColour(CBtnTab& swatch, bool background) {
    fw::CColorDialog picker;
    if (picker.DoModal(m_hWnd) != IDOK) return;
    PaintSwatch(swatch, picker.GetColor(), background);
    UpdatePreview();
}

void CPageProperties::OnAccept() {
    m_pBlock->title = ControlText(m_hWnd, IDC_PAGE_TITLE).substr(0, kMaxPageTitle);
    m_pBlock->tip = ControlText(m_hWnd, IDC_PAGE_TIP).substr(0, kMaxPageTip);
    m_pBlock->normalBackColor = Slot(m_normalBack, 2);
    m_pBlock->normalTextColor = Slot(m_normalText, 3);
    m_pBlock->focusBackColor = Slot(m_focusBack, 0);
    m_pBlock->focusTextColor = Slot(m_focusText, 1);
    EndDialog(IDOK);
}

bool CPageProperties::OnCommand(WORD id, WORD code, HWND control) {
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_NORMAL_BACK: ChooseColour(m_normalBack, true); return true;
        case IDC_FOCUS_BACK: ChooseColour(m_focusBack, true); return true;
        case IDC_NORMAL_TEXT: ChooseColour(m_normalText, false); return true;
        case IDC_FOCUS_TEXT: ChooseColour(m_focusText, false); return true;
        case IDC_PAGE_OK:
        case IDOK: OnAccept(); return true;
        case IDC_PAGE_CANCEL: EndDialog(IDCANCEL); return true;
        default: break;
        }
    }
    return fw::CDialog::OnCommand(id, code, control);
}

} // namespace lhl
