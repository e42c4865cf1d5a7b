#pragma once
// The panel: the launcher's one main window, an always-on-top pop-up dialog that holds the page
// tabs and the item grid. It owns the settings for its whole life.
#include "ColorStatic.h"
#include "Dialog.h"
#include "Handles.h"
#include "IndexButton.h"
#include "LanguageTable.h"
#include "LauncherConfig.h"
#include "PageStore.h"
#include <memory>
#include <string>

namespace lhl {

class CLanternhopDlg : public fw::CDialog {
public:
    CLanternhopDlg();

    // A path from the command line, added once the pages are loaded.
    void SetPendingPath(const std::wstring& path) { m_strPendingPath = path; }
    const std::wstring& PendingPath() const { return m_strPendingPath; }
    // The last path a second instance handed over.
    const std::wstring& HandedOverPath() const { return m_strHandedOverPath; }

    LauncherConfig& Config() { return m_config; }
    LanguageTable& Language() { return m_language; }
    // Null until the panel was first shown.
    PageStore* Store() const { return m_pPageStore.get(); }
    bool IsShown() const { return m_bVisible; }

    BOOL DestroyWindow() override;
    // Keys on release: Tab, Delete, 1 to 9 and the keypad's 1 to 9.
    bool PreTranslateMessage(MSG* msg) override;
    // The page menu as it would open now; the caller destroys it.
    HMENU BuildPageMenu();
    void SetMenuPoint(POINT screen) { m_ptMenu = screen; }

    BOOL OnInitDialog() override;
    // Enter and Esc must never close the panel.
    void OnOK() override {}
    void OnCancel() override {}

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    LRESULT OnFileHandedOver();
    LRESULT OnSwitchPage(WPARAM number, LPARAM moving);
    // PanelCommands.cpp
    void ShowPageMenu();
    POINT MenuPointInClient();
    bool OnPageCommand(WORD id);
    void NewPage();
    void AddTextFromDialog(const std::wstring& text);
    void AddLinkFromDialog();
    void ClearAll();
    void SwitchByKey(uint32_t number);
    uint32_t NeighbourPage(bool forward) const;
    void OnMouseWheel(short delta);
    void OnDoubleClick(POINT point);
    void OnFirstShow();
    void ChooseLanguage();
    bool OnSysCommand(WPARAM command, LPARAM lParam);
    void OnClose();
    void SetIcons();
    void ApplyLayout();
    void PlaceAtStartup();
    void ShowPanel();
    void HidePanel();

    // Declared in the order they must be built; the store goes first on destruction.
    LanguageTable m_language;
    LauncherConfig m_config;
    CIndexButton m_indexButton;
    CColorStatic m_strip;
    std::unique_ptr<PageStore> m_pPageStore;
    fw::UniqueHIcon m_hIcon;
    fw::UniqueHIcon m_hSmallIcon;
    std::wstring m_strPendingPath;
    std::wstring m_strHandedOverPath;
    bool m_bVisible = true;
    bool m_bFirstShow = true;
    bool m_bEdgeShown = false;
    bool m_bSlidingOut = false;
    POINT m_ptMenu{};
};

// The clipboard's text, empty when it holds none.
std::wstring ClipboardText();

} // namespace lhl
