#include "ShellCache.h"
#include <shellapi.h>
#include <cwctype>
#include <map>
#include <unordered_map>

namespace lhl {
namespace {

// Generous for 17 full pages; beyond it the names start afresh rather than grow without end.
constexpr size_t kMaxNames = 8192;

unsigned g_iconLookups = 0;
unsigned g_nameLookups = 0;

// The icon key: the attributes, then the extension in lower case ("" without one).
std::wstring KeyOf(const std::wstring& path, DWORD attributes) {
    std::wstring key = std::to_wstring(attributes) + L"|";
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return key;
    const size_t slash = path.find_last_of(L"\\/");
    const size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return key;
    for (size_t i = dot; i < path.size(); ++i) key += static_cast<wchar_t>(std::towlower(path[i]));
    return key;
}

std::unordered_map<std::wstring, std::wstring>& Names() {
    static std::unordered_map<std::wstring, std::wstring> names;
    return names;
}

} // namespace

HICON SharedShellIcon(const std::wstring& path, DWORD attributes) {
    // A few dozen icons at most, one per extension.
    static std::map<std::wstring, HICON> icons;
    const std::wstring key = KeyOf(path, attributes);
    auto found = icons.find(key);
    if (found == icons.end()) {
        SHFILEINFOW info{};
        ++g_iconLookups;
        if (!::SHGetFileInfoW(path.c_str(), attributes, &info, sizeof(info), SHGFI_ICON | SHGFI_USEFILEATTRIBUTES))
            info.hIcon = nullptr;
        found = icons.emplace(key, info.hIcon).first;
    }
    return found->second;
}

std::wstring ShellDisplayNameOf(const std::wstring& path) {
    auto& names = Names();
    if (auto found = names.find(path); found != names.end()) return found->second;
    SHFILEINFOW info{};
    ++g_nameLookups;
    if (!::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME) || !info.szDisplayName[0])
        return {};
    if (names.size() >= kMaxNames) names.clear();
    return names.emplace(path, info.szDisplayName).first->second;
}

void ForgetShellDisplayNames() { Names().clear(); }

unsigned ShellIconLookups() { return g_iconLookups; }
unsigned ShellNameLookups() { return g_nameLookups; }

} // namespace lhl
