#pragma once
// The launcher's settings record, the folders it works in, the current-page block that mirrors
// the shown page, and the item being moved between pages. One instance lives in the panel.
#include "ConfigCodec.h"
#include <windows.h>
#include <string>
#include <vector>

namespace lhl {

class LanguageTable;
class CButtonEx;

constexpr const wchar_t* kConfigFileName = L"Lanternhop_LauncherConfig.dat";
constexpr const wchar_t* kDataFolderName = L"LHLauncher";
// The most transparent the panel may be: below it the panel would all but vanish.
constexpr int kLowestTransparency = 10;

// Colours of a page: the current page's block and the copy kept while a new page is made.
struct PageBlock {
    std::wstring title;
    std::wstring tip;
    COLORREF focusBackColor = 0x808040;
    COLORREF normalBackColor = 0xC0C0C0;
    COLORREF focusTextColor = 0x0000C8;
    COLORREF normalTextColor = 0x000000;
};

class LauncherConfig {
public:
    // Sets the defaults and creates the data folder with its "Shortcut" and "DesktopBackup".
    LauncherConfig();
    // Writes the file, but only for a record that was loaded: a second instance that never
    // loaded must not overwrite the running one's settings with defaults.
    ~LauncherConfig();
    LauncherConfig(const LauncherConfig&) = delete;
    LauncherConfig& operator=(const LauncherConfig&) = delete;

    // 0, or 1 when neither the file nor its "_bak" copy is usable (the defaults stay).
    int LoadConfig(const std::wstring& fileName);
    // 0, or 1 when the file could not be written (the old file and backup stay).
    int SaveConfig(const std::wstring& fileName);

    // The stored settings. Read the grid side and the alpha through the accessors below.
    ConfigSettings& Settings() { return m_settings; }
    const ConfigSettings& Settings() const { return m_settings; }

    // 3..16 as stored; otherwise the panel's client width / 74, stored.
    int GetUnitsPerRow();
    // Below 10 becomes 10, above 255 becomes 226; the corrected value is stored.
    int GetTransparency();

    const std::wstring& DataFolder() const { return m_dataFolder; }
    const std::wstring& ProgramFolder() const { return m_programFolder; }
    const std::wstring& ShortcutFolder() const { return m_shortcutFolder; }
    const std::wstring& DesktopBackupFolder() const { return m_desktopBackupFolder; }
    const std::wstring& SwitchSound() const { return m_switchSound; }
    const std::wstring& ClickSound() const { return m_clickSound; }
    const std::wstring& ActiveSound() const { return m_activeSound; }
    std::wstring ConfigPath(const std::wstring& fileName) const;

    void SetPanelWindow(HWND panel) { m_hPanelWindow = panel; }
    HWND PanelWindow() const { return m_hPanelWindow; }
    void SetLanguageTable(LanguageTable* table) { m_pLanguageTable = table; }
    LanguageTable* GetLanguageTable() const { return m_pLanguageTable; }

    // Before a new page is made: keep the shown page's block aside and reset it for the new one.
    void SaveCurrentPageAside();
    void RestoreCurrentPage();

    // Current-page block and the item moving between pages; plain data owned by the pages.
    PageBlock m_page;
    PageBlock m_savedPage;
    std::vector<std::wstring> m_pageTitles;
    uint32_t m_movingKind = 0;
    uint32_t m_shownPage = 0;
    uint32_t m_moveSourcePage = 0;
    std::wstring m_movingTitle;
    std::wstring m_movingTarget;
    CButtonEx* m_pMovingSource = nullptr; // the button "Move To" took the item from; not owned
    bool m_bTrackingMove = false;         // a button's Move frame follows the mouse: no page switch

private:
    void CreateFolders();

    ConfigSettings m_settings;
    std::wstring m_dataFolder;
    std::wstring m_programFolder;
    std::wstring m_shortcutFolder;
    std::wstring m_desktopBackupFolder;
    std::wstring m_switchSound;
    std::wstring m_clickSound;
    std::wstring m_activeSound;
    HWND m_hPanelWindow = nullptr;
    LanguageTable* m_pLanguageTable = nullptr;
    bool m_bLoaded = false;
};

} // namespace lhl
