#include "LauncherConfig.h"
#include "DataFile.h"
#include "Dpi.h"
#include "Module.h"
#include "ShellFolder.h"
#include <shlobj.h>
#include <algorithm>

namespace lhl {
namespace {

// Far more than any configuration file holds; a larger file is read only this far.
constexpr size_t kConfigReadLimit = 64 * 1024;
constexpr int kMinUnits = 3;
constexpr int kMaxUnits = 16;
constexpr int kUnitWidth = 74;

void CreateFolderIfMissing(const std::wstring& folder) {
    if (!fw::PathExists(folder)) ::CreateDirectoryW(folder.c_str(), nullptr);
}

} // namespace

LauncherConfig::LauncherConfig() {
    // The screen's size comes in pixels; the dimension is stored at 96 DPI like every other size.
    const int screen = std::min(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    m_settings.dimension = fw::Unscale(screen, fw::SystemDpi()) / 3;
    m_savedPage = m_page;
    CreateFolders();
    m_programFolder = fw::ModuleFolder();
    if (m_programFolder.empty()) m_programFolder = m_dataFolder;
    m_switchSound = m_programFolder + L"Sounds\\default_switch.wav";
    m_clickSound = m_programFolder + L"Sounds\\default_click.wav";
    m_activeSound = m_programFolder + L"Sounds\\default_active.wav";
}

LauncherConfig::~LauncherConfig() {
    if (m_bLoaded) SaveConfig(kConfigFileName);
}

void LauncherConfig::CreateFolders() {
    const std::wstring base = fw::ShellFolderPath(CSIDL_APPDATA) + kDataFolderName;
    CreateFolderIfMissing(base);
    m_shortcutFolder = base + L"\\Shortcut\\";
    m_desktopBackupFolder = base + L"\\DesktopBackup\\";
    CreateFolderIfMissing(m_shortcutFolder);
    CreateFolderIfMissing(m_desktopBackupFolder);
    m_dataFolder = base + L"\\";
}

std::wstring LauncherConfig::ConfigPath(const std::wstring& fileName) const {
    return fw::WithTrailingBackslash(m_dataFolder) + fileName;
}

int LauncherConfig::LoadConfig(const std::wstring& fileName) {
    m_bLoaded = true;
    const std::wstring path = ConfigPath(fileName);
    // The file, then its backup: a missing, short or damaged file falls back to the copy.
    for (const std::wstring& candidate : {path, path + kBackupSuffix}) {
        std::vector<uint8_t> bytes;
        if (ReadDataFile(candidate, bytes, kConfigReadLimit) && DecodeConfig(bytes, m_settings))
            return 0;
    }
    return 1;
}

int LauncherConfig::SaveConfig(const std::wstring& fileName) {
    return ReplaceDataFile(ConfigPath(fileName), EncodeConfig(m_settings)) ? 0 : 1;
}

int LauncherConfig::GetUnitsPerRow() {
    int& units = m_settings.unitsPerRow;
    if (units >= kMinUnits && units <= kMaxUnits) return units;
    RECT client{};
    if (m_hPanelWindow) ::GetClientRect(m_hPanelWindow, &client);
    // A grid needs at least one cell per row, and a page holds at most 16 x 16 items. The unit
    // is a 96-DPI width, so the same panel holds the same grid on every screen.
    const int width96 = fw::Unscale(static_cast<int>(client.right - client.left), fw::WindowDpi(m_hPanelWindow));
    units = std::clamp(width96 / kUnitWidth, 1, kMaxUnits);
    return units;
}

int LauncherConfig::GetTransparency() {
    int& alpha = m_settings.transparency;
    if (alpha < kLowestTransparency) alpha = kLowestTransparency;
    else if (alpha > 255) alpha = 226;
    return alpha;
}

void LauncherConfig::SaveCurrentPageAside() {
    m_savedPage = m_page;
    m_page = PageBlock{};
    m_page.focusTextColor = 0x0000FF; // a new page starts in plain red, unlike the first page
}

void LauncherConfig::RestoreCurrentPage() { m_page = m_savedPage; }

} // namespace lhl
