#pragma once
// The panel: the launcher's one main window, an always-on-top pop-up dialog that holds the page
// tabs and the item grid. It owns the settings for its whole life.
#include "ColorStatic.h"
#include "Dialog.h"
#include "DropTarget.h"
#include "FindView.h"
#include "Handles.h"
#include "IndexButton.h"
#include "LanguageTable.h"
#include "LauncherConfig.h"
#include "PageStore.h"
#include "Placement.h"
#include <shellapi.h>
#include <deque>
#include <memory>
#include <string>

namespace lhl {

class COptPropertySht;

class CLanternhopDlg : public fw::CDialog {
public:
    // The blue frame's width at 96 DPI.
    static constexpr int kFrame = 2;

    CLanternhopDlg();

    // A path from the command line, added once the pages are loaded.
    void SetPendingPath(const std::wstring& path) { m_strPendingPath = path; }
    const std::wstring& PendingPath() const { return m_strPendingPath; }
    // The last path a second instance handed over.
    const std::wstring& HandedOverPath() const { return m_strHandedOverPath; }
    // The drop target OLE calls for this window.
    IDropTarget* DropTarget() { return &m_dropTarget; }

    LauncherConfig& Config() { return m_config; }
    LanguageTable& Language() { return m_language; }
    // Null until the panel was first shown.
    PageStore* Store() const { return m_pPageStore.get(); }
    bool IsShown() const { return m_bVisible; }
    // The query typed on the panel; null until the pages are built.
    CFindView* Find() const { return m_pFind.get(); }
    UINT Dpi() const { return m_nDpi; }

    BOOL DestroyWindow() override;
    // Shows a hidden panel (centred on the cursor when asked), hides a shown one, brings a
    // parked one back from beyond the right edge.
    void ToggleVisible(bool atCursor);
    // False when the picture cannot be read; the panel then keeps its plain background.
    bool LoadBackground();
    bool IsParked() const { return m_bSlidOut; }
    int DockSide() const { return m_nDockSide; }
    bool IsEdgeShown() const { return m_bEdgeShown; }
    HBITMAP Background() const { return m_hBackground.get(); }
    std::wstring BackgroundPath() const;
    // Keys on release: Tab, Delete, 1 to 9 and the keypad's 1 to 9; Ctrl+Z when pressed.
    bool PreTranslateMessage(MSG* msg) override;
    // The page menu as it would open now; the caller destroys it.
    HMENU BuildPageMenu();
    void SetMenuPoint(POINT screen) { m_ptMenu = screen; }

    // PanelTray.cpp: the tray icon, the hot key and the hook library.
    const std::wstring& TrayTip() const { return m_strTrayTip; }
    WORD HotKeyVk() const { return m_wHotKeyVk; }
    WORD HotKeyMods() const { return m_wHotKeyMods; }
    // After the options: registers the chosen key (modifiers 1 Shift, 2 Ctrl, 4 Alt) or frees it.
    void ApplyHotKey(WORD modifiers, WORD virtualKey);
    void ApplyCtrlTwice();
    // Whether Ctrl pressed twice shows the panel now: the hook library is watching for it.
    bool CtrlTwiceWorks() const { return m_bCtrlTwiceOn; }
    void SetTrayTip(const std::wstring& tip) { m_strTrayTip = tip; }
    // The icon the tray shows now, made at the taskbar's scaling.
    HICON TrayIcon() const { return m_nid.hIcon; }
    void ModifyTrayIcon();
    // The options sheet closed with OK: its settings reach the keys, the tray, the files and the look.
    void ApplyOptions(COptPropertySht& sheet);
    // The tray menu as it would open now; the caller destroys it.
    HMENU BuildTrayMenu();

    BOOL OnInitDialog() override;
    // Enter and Esc must never close the panel.
    void OnOK() override {}
    void OnCancel() override {}

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    // PanelFind.cpp
    bool FindTakesKey(MSG* msg);
    void EndFindBefore(UINT msg, WPARAM wParam);
    bool IsFinding() const { return m_pFind && m_pFind->IsActive(); }
    bool IsInSight() const;
    bool IsKeyOutOfSight(const MSG& msg) const;
    void NoteKeysBefore();
    void GiveKeyboardBack();
    // PanelHandOver.cpp
    LRESULT OnFileHandedOver(WPARAM origin);
    void AddHandedOverPaths();
    void AddWaitingPathsBeforeEnd();
    void ResumeHandOver();
    LRESULT OnSwitchPage(WPARAM number, LPARAM moving);
    bool MaySwitchPageNow(LPARAM moving) const;
    void ReportMoveRefused(int result, uint32_t target);
    void DeleteShownPage();
    // PanelWindow.cpp
    void PlayShowSound() const;
    void TakeKeyboard();
    void OnMoving(RECT* rect);
    void FreeFromEdge();
    void LeaveEdge();
    void OnMonitorsChanged();
    void OnNcHitTest(POINT screen);
    void OnTimer(UINT_PTR id);
    void MoveLeftEdgeTo(int left, bool activate);
    void SlideInStep();
    void SlideOutStep();
    void MakeTranslucent();
    void DrawFrame(HDC dc) const;
    bool OnEraseBackground(HDC dc);
    void OnBackgroundPress();
    // PanelDrops.cpp
    void RegisterDropTarget();
    LRESULT OnDropMessage(UINT message, const COleDropInfo* info);
    DWORD OnDragOverText(const COleDropInfo* info);
    BOOL OnDropText(const COleDropInfo* info);
    DWORD OnDropTextEx(const COleDropInfo* info);
    void OnDropFiles(HDROP drop);
    void AddDroppedFile(const std::wstring& path, POINT point);
    // PanelTray.cpp
    void AddTrayIcon();
    void FillTrayIconData();
    LRESULT OnTrayNotify(LPARAM mouseMessage);
    void ShowTrayMenu();
    void SetUpKeysAtStartup();
    bool RegisterPanelHotKey(WORD modifiers, WORD virtualKey);
    void ReplaceHotKey(WORD modifiers, WORD virtualKey);
    void ReportHotKeyFailure(DWORD error);
    bool BindCtrlTwice();
    void StopCtrlTwice();
    bool LoadToolsLibrary();
    void StartGestures();
    void ReleaseKeysAndHooks();
    std::wstring HotKeyTip();
    std::wstring CtrlTwiceTip();
    std::wstring SingleClickTip();
    std::wstring ShowingTip();
    // PanelUndo.cpp
    static bool IsUndoKey(const MSG& msg);
    void AddUndoEntry(HMENU popup);
    void UndoLastChange();
    // PanelCommands.cpp
    void ShowPageMenu();
    POINT MenuPointInClient();
    bool OnPageCommand(WORD id);
    bool OnTrayCommand(WORD id);
    bool BringOpenDialogForward();
    void ShowAbout();
    void Activate();
    void Exit();
    void OpenManual();
    std::wstring ManualPath() const;
    bool RunPageProperties();
    void NewPage();
    void EditPageProperties();
    void TidyDesktop();
    void ShowOptions();
    void ReportUnreadableBackground();
    void AddTextFromDialog(const std::wstring& text);
    void AddLinkFromDialog();
    void ReportPageFull();
    void ClearAll();
    void SwitchByKey(uint32_t number);
    uint32_t NeighbourPage(bool forward) const;
    void OnMouseWheel(short delta);
    void OnDoubleClick(POINT point);
    void OnFirstShow();
    void ChooseLanguage();
    bool OnSysCommand(WPARAM command, LPARAM lParam);
    void OnClose();
    void AddAboutToSystemMenu();
    void OpenHelpOnFirstRun();
    // PanelLayout.cpp: sizes, fonts and icons at the panel's DPI.
    void ApplyLayout();
    fw::UniqueHFont TakeDpi(UINT dpi);
    // The panel's size at 96 DPI: the dimension square and the strip below it.
    SIZE PanelSize96() const;
    // Its size in pixels at a DPI, for the layout, every placement and Windows' question alike.
    SIZE PanelPixels(UINT dpi) const;
    void PlaceWhole(const RECT& target, UINT dpi, HWND insertAfter, UINT flags);
    LRESULT OnGetDpiScaledSize(UINT dpi, SIZE* size) const;
    RECT RectAtNewDpi(UINT dpi, const RECT* suggested);
    void OnDpiChanged(UINT dpi, const RECT* suggested);
    int Px(int size96) const;
    // Where the panel is, with its size at 96 DPI as the settings keep it.
    RECT SavedWindowRect() const;
    void PlaceAtStartup();
    void HidePanel();

    // Declared in the order they must be built; the store goes first on destruction.
    LanguageTable m_language;
    LauncherConfig m_config;
    CIndexButton m_indexButton;
    CColorStatic m_strip;
    std::unique_ptr<PageStore> m_pPageStore;
    std::unique_ptr<CFindView> m_pFind; // shows the store's items: it goes before the store
    fw::UniqueHIcon m_hIcon;
    fw::UniqueHIcon m_hSmallIcon;
    UINT m_nDpi = 96;             // of the monitor the panel is on
    fw::UniqueHFont m_hFont;      // the template's font at that DPI, for the tabs and the strip
    const RECT* m_pPlacing = nullptr; // where PlaceWhole is putting the panel, during its move
    std::wstring m_strPendingPath;
    std::wstring m_strHandedOverPath;
    std::deque<std::wstring> m_handedOverPaths; // taken from the hand-off file, not yet added
    bool m_bVisible = true;
    bool m_bFirstShow = true;
    bool m_bEdgeShown = false;
    bool m_bSlidingOut = false;
    bool m_bUserMoving = false;   // between WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE
    int m_nDockSide = 0;          // 0 free, 4 docked at the right edge
    DockEdge m_dockEdge;          // the edge it is docked at, while m_nDockSide is 4
    bool m_bDockedRight = false;
    bool m_bHoverTimer = false;
    bool m_bSlideDone = true;
    bool m_bSlidOut = false;      // parked beyond the right edge
    int m_nEdgeStrip = 0;         // 96-DPI pixels of a parked panel left on screen
    HWND m_hKeysBefore = nullptr; // had the keys before the panel took them
    fw::UniqueHBitmap m_hBackground;
    NOTIFYICONDATAW m_nid{};
    fw::UniqueHIcon m_hTrayIcon;
    fw::UniqueHIcon m_hOldTrayIcon; // until the shell was given the new one
    std::wstring m_strTrayTip;
    UINT m_uTaskbarCreated = 0;
    HMENU m_trayMenu = nullptr;   // only while the tray menu is open
    WORD m_wHotKeyVk = 0;
    WORD m_wHotKeyMods = 0;
    std::wstring m_strHotKeyName; // of the key registered now
    bool m_bCtrlTwiceOn = false;
    int m_nWheelDelta = 0;        // wheel turned short of a whole notch
    HMODULE m_hToolsLib = nullptr;
    using SetUseOtherHotKeyFn = int(__cdecl*)(HWND);
    using DisableUseOtherHotKeyFn = int(__cdecl*)();
    using SetMouseCaptureFn = int(__cdecl*)(HWND, BOOL);
    SetUseOtherHotKeyFn m_pfnSetUseOtherHotKey = nullptr;
    DisableUseOtherHotKeyFn m_pfnDisableUseOtherHotKey = nullptr;
    COleDropTargetEx m_dropTarget;
    POINT m_ptMenu{};
};

// The clipboard's text, empty when it holds none.
std::wstring ClipboardText();

} // namespace lhl
