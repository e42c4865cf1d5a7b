#pragma once
// The item button: one launcher item (a file, a clipboard text or an address) on one cell of the
// shown page. ButtonEx.cpp is the control (creation, colours, icon, tooltip text, click);
// ButtonExItem.cpp is the item it holds (assigning, opening, clearing).
#include "Handles.h"
#include "ToolTipCtrl.h"
#include "Wnd.h"
#include <string>

namespace lhl {

class LauncherConfig;
class LanguageTable;

// Commands of the item's context menu.
enum : UINT {
    ID_ITEM_DELETE = 32776,
    ID_ITEM_PROPERTIES = 32777,
    ID_ITEM_MOVE = 32791,
    ID_ITEM_RUN = 32854,
    ID_ITEM_OPEN_FOLDER = 32855,
};

// Results of the assignment operations.
enum : int {
    kAssigned = 0,
    kDeclined = 1,
    kUnchanged = 5,
};

// Results of the configuration operations.
enum : int {
    kConfigOk = 0,
    kBadColourIndex = 3,
    kBadLayout = 4,
    kBadShift = 5,
};

// The button's kind: the stored ItemKind minus one.
enum : int {
    kButtonFile = 0,
    kButtonText = 1,
    kButtonLink = 2,
};

class CButtonEx : public fw::CWnd {
public:
    static constexpr int kColourSlots = 6;

    CButtonEx();
    ~CButtonEx() override;

    bool Create(const std::wstring& text, DWORD style, const RECT& rect, HWND parent, UINT id);
    // Takes over a dialog's button (the panel's first page tab).
    bool SubclassDlgItem(UINT id, fw::CWnd* parent);

    // Configuration: 0 on success, or the refusal codes above.
    int SetImageLayout(int layout, bool redraw = true);
    int SetFlatLook(bool flat, bool redraw = true);
    int SetColourSlot(int index, COLORREF colour, bool redraw = true);
    int ShiftColourSlot(int index, int shift, bool redraw = true);
    COLORREF GetColourSlot(int index) const { return (index >= 0 && index < kColourSlots) ? m_clrSlots[index] : 0; }
    void ResetColourSlots();
    void SetCurrentMark(int mark);
    int GetCurrentMark() const { return m_nCurrentMark; }
    void SetPageNumber(int number) { m_nPageNumber = number; }
    int GetPageNumber() const { return m_nPageNumber; }
    // Takes the icon (null clears); 1 when its information cannot be read.
    int AssignIcon(HICON icon);
    // Shows the shell's icon of a file, or one of the program's icon resources, both shared by
    // every button; taken at the size the button shows it, and again when that size changes.
    void ShowFileIcon(const std::wstring& path, DWORD attributes);
    void ShowProgramIcon(UINT resourceId);
    // The side of the square the icon is drawn in, in pixels.
    int IconSide() const;
    // The DPI the button is drawn for. It follows the panel's, which the panel hands on when it
    // moves to a screen of another scaling; a size change takes the icon again at the new size.
    void SetDpi(UINT dpi);
    UINT Dpi() const { return m_nDpi; }
    HICON GetIcon() const { return m_icon ? m_icon.get() : m_sharedIcon; }
    void AssignTooltip(const std::wstring& text, bool active);
    const std::wstring& TooltipText() const { return m_strTooltip; }
    void SetConfig(LauncherConfig* config) { m_pConfig = config; }
    // What the panel's strip says while the mouse is over the button; empty: the strip stays.
    virtual std::wstring HoverText() const;
    // The tip's window, made on the first hover; null before.
    HWND TooltipWindow() const { return m_tip.GetSafeHwnd(); }
    // The panel's language table, null before the button has its settings.
    LanguageTable* Language() const;
    POINT GetDropPoint() const { return m_ptDrop; }
    void SetDropPoint(POINT point) { m_ptDrop = point; }
    // The panel's pixels behind the button are taken again at the next paint: the button moved,
    // or the panel's background changed.
    void ForgetParentCopy();

    // The item.
    bool IsEmptyItem() const { return m_strTarget.empty(); }
    std::wstring GetTitle() const { return m_strTitle; }
    std::wstring GetTarget() const { return m_strTarget; }
    // What the item opens: a shortcut's target (resolved when first wanted), else the target.
    const std::wstring& ShownTarget() const;
    const std::wstring& FullTitle() const { return m_strFullTitle; }
    const std::wstring& Tip() const { return m_strTip; }
    int GetKind() const { return m_nKind; }

    int SetFileItem(const std::wstring& path);
    int SetTextItem(const std::wstring& title, const std::wstring& text);
    int SetLinkItem(const std::wstring& title, const std::wstring& address);
    // Assigns by the stored ItemKind code (1 file, 2 text, 3 link).
    int SetItemOfKind(uint32_t kind, const std::wstring& title, const std::wstring& target);
    void LaunchItem();
    void OpenContainingFolder();
    void ShowItemProperties();
    // Clears the item (and the launcher's own shortcut copy) and has the page saved.
    virtual void DeleteItem();
    void ClearForReplace();
    // Asks now whether the item may be replaced; a yes is kept for the next assignment, which
    // then does not ask again. False when the user keeps the item.
    bool AgreeToReplace();
    void KeepAsking() { m_bReplaceAgreed = false; }
    // Empties the button and hides it. About to show another item, it stays shown with its
    // caption until the item's own replaces it.
    void ResetButton(bool hide = true);

    // The item's context menu as it would be shown; the caller destroys it.
    HMENU BuildContextMenu();
    bool IsHot() const { return m_bHot; }
    void EndHover();
    int GetCheck() const { return m_nCheckState; }

    // A shortcut's target followed directly by its arguments; empty when it cannot be resolved.
    static std::wstring ResolveShortcut(const std::wstring& path);
    // The default value of HKEY_CLASSES_ROOT\subKey; the result of opening the key (0 = success).
    static LONG QueryClassesRootDefault(const std::wstring& subKey, std::wstring& value);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    // A click: launches the item; a page tab switches pages instead.
    virtual void OnClicked();
    HWND Panel() const { return ::GetParent(m_hWnd); }
    void SetCaption(const std::wstring& text);
    // Repaints later, if the button is on screen at all; a hidden one is painted whole when shown.
    void Invalidate() const;

    // Drawing, in slot order; each gets the memory DC the button is composed in.
    virtual void DrawItem(const DRAWITEMSTRUCT& item);
    virtual void PaintBackground(HDC dc, const RECT& rect);
    virtual void PaintEdge(HDC dc, const RECT& work);
    virtual void PaintIcon(HDC dc, const RECT& work, bool pressed, bool disabled);
    virtual void PaintCaption(HDC dc, const std::wstring& text, const RECT& last, bool pressed, bool disabled);
    // What the panel's bottom strip shows while the mouse is over the button; empty: nothing.
    // The low style bits this control takes over (four for item buttons and tabs).
    virtual DWORD OwnedStyleBits() const { return 0x0F; }
    bool IsItemButton() const { return m_nPageNumber == 0; }
    void DrawParentCopy(HDC dc, const RECT& rect, bool shadow);
    // The drop shadow's width, which is also how far a lifted button's face moves up and left.
    int Shadow() const;
    // How far a pressed face moves right and down.
    int DownShift() const;
    // The rectangle the face is drawn in: an item button keeps room for its shadow.
    RECT WorkRect(const RECT& rect) const;
    void DrawCaptionText(HDC dc, const std::wstring& text, RECT q, bool disabled, bool shiftWhenHot);
    void OnMouseMove(WPARAM keys, POINT point);
    void SetStripText(const std::wstring& text) const;
    void TakeOverStyle();

    bool m_bHot = false;
    bool m_bTooltipActive = false;
    bool m_bDown = false; // drawn pressed, from the last paint
    bool m_bFocusLook = false;
    bool m_bDefaultPush = false;
    bool m_bCheckLike = false;
    int m_nCheckState = 0;
    bool m_bHotBorder = true;
    bool m_bFlatFocusRect = false;
    bool m_bTrackAlways = true;
    RECT m_rcLastDrawn{};

    std::wstring m_strTarget;
    std::wstring m_strTitle;
    mutable std::wstring m_strShownTarget; // a shortcut's is filled in when first wanted
    std::wstring m_strSpare;
    std::wstring m_strTip;
    std::wstring m_strFullTitle;
    int m_nKind = kButtonFile;
    wchar_t m_szAddress[260] = {};
    int m_nPageNumber = 0;
    int m_nCurrentMark = 0;
    LauncherConfig* m_pConfig = nullptr;

private:
    void ShowContextMenu();
    void MoveTo(int page);
    void Move();
    void TakeParentCopy(const RECT& rect);
    bool AskReplace();
    void AfterLaunch();
    void OpenWithShell(const std::wstring& file, const wchar_t* verb);
    void OpenAddress();
    void CopyTextToClipboard();
    void EmptyItem(bool keepCaption = false);

protected:
    bool m_bFlatLook = true;
    int m_nImageLayout = 0;
    COLORREF m_clrSlots[kColourSlots] = {};
    fw::UniqueHIcon m_icon;
    HICON m_sharedIcon = nullptr;
    UINT m_nDpi = 96;

private:
    mutable bool m_bShortcutPending = false;
    bool m_bReplaceAgreed = false;
    std::wstring m_strTooltip;
    // The window text as the button last took it, drawn from here: asking the window for its
    // text is a message round trip on every paint.
    std::wstring m_strCaption;
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    void OnPaint();
    fw::CToolTipCtrl m_tip;
    void MakeTooltipOnFirstHover(WPARAM keys, LPARAM position);
    void ShowSharedIcon(HICON icon);
    // Takes the shared icon again when the square it is drawn in changed size.
    void TakeIconAtSize();
    std::wstring m_strIconFile;   // the file whose shell icon is shown, or
    DWORD m_dwIconAttributes = 0;
    UINT m_nIconResource = 0;     // the program's icon resource shown
    int m_nIconSide = 0;          // the size the shown icon was taken at
    fw::UniqueHdc m_parentCopyDC;
    fw::UniqueHBitmap m_parentCopy;
    HGDIOBJ m_parentCopyOld = nullptr;
    POINT m_ptDrop{};
};

} // namespace lhl
