#include "ShellIconCache.h"
#include <shellapi.h>
#include <cwctype>
#include <map>

namespace lhl {
namespace {

unsigned g_lookups = 0;

// The cache key: the attributes, then the extension in lower case ("" without one).
std::wstring KeyOf(const std::wstring& path, DWORD attributes) {
    std::wstring key = std::to_wstring(attributes) + L"|";
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return key;
    const size_t slash = path.find_last_of(L"\\/");
    const size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return key;
    for (size_t i = dot; i < path.size(); ++i) key += static_cast<wchar_t>(std::towlower(path[i]));
    return key;
}

} // namespace

HICON CopyShellIcon(const std::wstring& path, DWORD attributes) {
    // The masters stay for the program's life: a few dozen icons at most, one per extension.
    static std::map<std::wstring, HICON> masters;
    const std::wstring key = KeyOf(path, attributes);
    auto found = masters.find(key);
    if (found == masters.end()) {
        SHFILEINFOW info{};
        ++g_lookups;
        if (!::SHGetFileInfoW(path.c_str(), attributes, &info, sizeof(info), SHGFI_ICON | SHGFI_USEFILEATTRIBUTES))
            info.hIcon = nullptr;
        found = masters.emplace(key, info.hIcon).first;
    }
    return found->second ? ::CopyIcon(found->second) : nullptr;
}

unsigned ShellIconLookups() { return g_lookups; }

} // namespace lhl
