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
    // The modifiers by the names on the keys, whatever the keyboard driver calls them.
    if (modifiers & HOTKEYF_CONTROL) add(L"Ctrl");
    if (modifiers & HOTKEYF_SHIFT) add(L"Shift");
    if (modifiers & HOTKEYF_ALT) add(L"Alt");
    if (key) add(KeyName(key, (modifiers & HOTKEYF_EXT) != 0));
    return name;
}

} // namespace fw
