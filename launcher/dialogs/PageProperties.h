#pragma once
// "Page Properties": a page's title, tip and the four colours of its tab, with a live tab as
// preview. It edits the caller's block, and only on OK.
#include "BtnTab.h"
#include "Dialog.h"
#include "IndexButton.h"
#include "LauncherConfig.h"
#include <string>

namespace lhl {

enum : UINT {
    IDD_PAGE_PROPERTIES = 136,
    IDC_PAGE_TITLE = 1007,
    IDC_PAGE_TIP = 1008,
    IDC_NORMAL_BACK = 1037,
    IDC_NORMAL_TEXT = 1038,
    IDC_FOCUS_BACK = 1039,
    IDC_FOCUS_TEXT = 1040,
    IDC_PAGE_PREVIEW = 1079,
    IDC_PAGE_OK = 1061,
    IDC_PAGE_CANCEL = 1062,
};

constexpr int kMaxPageTitle = 128;
constexpr int kMaxPageTip = 512;
// The preview tab belongs to no page.
constexpr int kPreviewPageNumber = 65535;

class CPageProperties : public fw::CDialog {
public:
    CPageProperties(PageBlock* block, LanguageTable* language, fw::CWnd* parent)
        : fw::CDialog(IDD_PAGE_PROPERTIES, parent), m_pBlock(block), m_pLanguage(language) {}

    BOOL OnInitDialog() override;
    const CIndexButton& Preview() const { return m_preview; }

protected:
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void ChooseColour(CBtnTab& swatch, bool background);
    void UpdatePreview();
    void OnAccept();

    PageBlock* m_pBlock;
    LanguageTable* m_pLanguage;
    CBtnTab m_normalBack;
    CBtnTab m_focusBack;
    CBtnTab m_normalText;
    CBtnTab m_focusText;
    CIndexButton m_preview;
};

} // namespace lhl
