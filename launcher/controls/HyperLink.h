#pragma once
// A static text that behaves like a web link: coloured, underlined while hovered (or always),
// a hand cursor, a tip with its target, and a click that opens the target.
#include "Handles.h"
#include "ToolTipCtrl.h"
#include "Wnd.h"
#include <string>

namespace lhl {

class LanguageTable;

class CHyperLink : public fw::CWnd {
public:
    static constexpr COLORREF kLinkColour = RGB(0, 0, 238);
    static constexpr COLORREF kVisitedColour = RGB(85, 26, 139);
    static constexpr COLORREF kHoverColour = RGB(255, 0, 0);

    CHyperLink() = default;
    ~CHyperLink() override;
    // Takes over a dialog's static control and sets it up as a link.
    bool Attach(UINT id, fw::CWnd* parent);
    void SetURL(const std::wstring& url);
    const std::wstring& GetURL() const { return m_strURL; }
    // -1 underlined only while hovered, 1 always, 0 never.
    void SetUnderline(int mode);
    void SetVisited(bool visited);
    bool IsVisited() const { return m_bVisited; }
    bool IsOver() const { return m_bOverControl; }
    void SetAutoSize(bool adjust) { m_bAdjustToFit = adjust; }
    // The colour the text is drawn in now.
    COLORREF TextColour() const;
    // The click: opens the target, marks the link visited or reports why it could not open.
    void OnClicked();
    const std::wstring& TipText() const { return m_strURL; }
    // The table the failure message's heading comes from; may be null.
    void SetLanguage(LanguageTable* language) { m_pLanguage = language; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void SetUp();
    void MakeFonts();
    void LoadLinkCursor();
    void PositionWindow();
    void OnMouseMove();
    void OnHoverTimer();
    void SelectFont(bool underlined);

    std::wstring m_strURL;
    LanguageTable* m_pLanguage = nullptr;
    fw::UniqueHFont m_underlineFont;
    fw::UniqueHFont m_normalFont;
    HBRUSH m_hollow = nullptr; // a stock object, never deleted
    HCURSOR m_hLinkCursor = nullptr;
    bool m_bOwnsCursor = false;
    bool m_bOverControl = false;
    bool m_bVisited = false;
    int m_nUnderline = -1;
    bool m_bAdjustToFit = true;
    fw::CToolTipCtrl m_toolTip;
};

// The message for a failed open: "Unable to open hyperlink:" and the reason for its code.
std::wstring HyperLinkErrorText(INT_PTR code, const std::wstring& heading = L"Unable to open hyperlink:");

} // namespace lhl
