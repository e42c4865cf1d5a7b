#include "CommonControls.h"

namespace fw {
namespace {

std::wstring KeyName(UINT virtualKey, bool extended) {
    LONG scan = static_cast<LONG>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    if (extended) scan |= 1 << 24;
    wchar_t name[64] = {};
    if (::GetKeyNameTextW(scan, name, 64) > 0) return name;
    return {};
}

} // namespace

std::wstring CHotKeyCtrl::GetHotKeyName() const {
    WORD key = 0, modifiers = 0;
    GetHotKey(key, modifiers);
    std::wstring name;
    const auto add = [&name](const std::wstring& part) {
        if (part.empty()) return;
        if (!name.empty()) name += L" + ";
        name += part;
    };
    if (modifiers & HOTKEYF_CONTROL) add(KeyName(VK_CONTROL, false));
    if (modifiers & HOTKEYF_SHIFT) add(KeyName(VK_SHIFT, false));
    if (modifiers & HOTKEYF_ALT) add(KeyName(VK_MENU, false));
    if (key) add(KeyName(key, (modifiers & HOTKEYF_EXT) != 0));
    return name;
}

} // namespace fw
