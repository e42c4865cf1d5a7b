#include "ProfileSnapshot.h"
#include <algorithm>
#include <iterator>

namespace lhltest {
namespace {

// Registry names are limited to these lengths; value names to 16,383 characters.
constexpr DWORD kKeyNameChars = 256;
constexpr DWORD kValueNameChars = 16384;
// Deeper than any real key; a guard against a link that leads back up.
constexpr int kMaxDepth = 32;

// Wine keeps its own state there and changes it as programs run (mouse settings, the menu
// entries it makes for Start menu shortcuts); no program of a Windows machine writes there.
bool IsWinesOwn(const std::wstring& path) { return _wcsicmp(path.c_str(), L"HKCU\\Software\\Wine") == 0; }

void AddValues(HKEY key, const std::wstring& path, std::set<std::wstring>& names) {
    std::vector<wchar_t> name(kValueNameChars);
    for (DWORD i = 0, length = kValueNameChars;
         ::RegEnumValueW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = kValueNameChars)
        names.insert(path + L" : " + (length ? std::wstring(name.data(), length) : L"(default)"));
}

void AddKey(HKEY parent, const std::wstring& sub, const std::wstring& path, int depth, std::set<std::wstring>& names) {
    HKEY key = nullptr;
    // A link (Wine's Wow6432Node ones) is listed as itself, not followed.
    if (::RegOpenKeyExW(parent, sub.c_str(), REG_OPTION_OPEN_LINK, KEY_READ, &key) != ERROR_SUCCESS) return;
    names.insert(path);
    AddValues(key, path, names);
    wchar_t name[kKeyNameChars];
    std::vector<std::wstring> children;
    for (DWORD i = 0, length = kKeyNameChars;
         ::RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = kKeyNameChars)
        children.emplace_back(name, length);
    if (depth < kMaxDepth)
        for (const std::wstring& child : children)
            if (!IsWinesOwn(path + L"\\" + child)) AddKey(key, child, path + L"\\" + child, depth + 1, names);
    ::RegCloseKey(key);
}

void AddFolder(const std::wstring& folder, std::set<std::wstring>& names) {
    if (::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    names.insert(folder);
    const std::wstring base = folder.back() == L'\\' ? folder : folder + L"\\";
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((base + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) AddFolder(base + name + L"\\", names);
        else names.insert(base + name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

} // namespace

ProfileSnapshot::ProfileSnapshot(std::vector<std::wstring> folders) : m_folders(std::move(folders)), m_names(Take()) {}

std::set<std::wstring> ProfileSnapshot::Take() const {
    std::set<std::wstring> names;
    AddKey(HKEY_CURRENT_USER, L"Software", L"HKCU\\Software", 0, names);
    for (const std::wstring& folder : m_folders) AddFolder(folder, names);
    return names;
}

std::vector<std::wstring> ProfileSnapshot::Added() const {
    const std::set<std::wstring> now = Take();
    std::vector<std::wstring> added;
    std::set_difference(now.begin(), now.end(), m_names.begin(), m_names.end(), std::back_inserter(added));
    return added;
}

} // namespace lhltest
