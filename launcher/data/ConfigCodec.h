#pragma once
// The settings that "Lanternhop_LauncherConfig.dat" holds, and the file's byte layout as a pair
// of pure functions. The layout is fixed by the files users already have: a 256-byte header of
// little-endian words, then three tail blocks each followed by the end marker 255.
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

namespace lhl {

struct ConfigSettings {
    int soundEnabled = 1;
    int animate = 0;
    std::wstring backgroundImage = L"default.bmp";
    int useBackgroundImage = 1;
    int dimension = 0;      // the panel's width in pixels; the constructor sets the default
    int unitsPerRow = 0;    // 0 = computed from the panel's width
    std::wstring hotKeyName = L"Alt + D";
    int removeShortcutFiles = 0;
    int rememberLocation = 0;
    RECT windowRect{};
    bool autoHide = true;
    uint16_t hotKeyVirtualKey = 0x44; // 'D'
    uint16_t hotKeyModifiers = 4;     // HOTKEYF_ALT
    int useHotKey = 1;
    int ctrlTwice = 1;
    int reverseTabOrder = 0;
    int newPageWizard = 1;
    int shellContextMenu = 1;
    int transparency = 239;
    int changeBackgroundOnSwitch = 0;
    int dockSide = 1;
    int languageIndex = 0;
};

constexpr uint32_t kFileMagic = 19790826; // 0x012DFBEA, the first word of every data file
constexpr uint32_t kEndMarker = 255;
constexpr size_t kConfigHeaderSize = 256;
constexpr size_t kMaxHotKeyNameChars = 63;
constexpr size_t kMaxBackgroundChars = 260;

std::vector<uint8_t> EncodeConfig(const ConfigSettings& settings);

// Reads a configuration file's bytes over `settings`; fields the file does not hold keep the
// values they had. False when the bytes are unusable (short header, first word 0, or a length
// that runs past the end); `settings` is then left untouched.
bool DecodeConfig(const std::vector<uint8_t>& bytes, ConfigSettings& settings);

} // namespace lhl
