#include "ShellCache.h"
#include "ComInit.h"
#include "Module.h"
#include <commctrl.h>
#include <commoncontrols.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <cwctype>
#include <map>
#include <unordered_map>
#include <vector>

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

// The folders opened for the batch alive on this thread, in the order they were opened; beyond
// the limit the first one opened is closed.
constexpr size_t kMaxFolders = 16;
struct OpenFolder {
    std::wstring path;
    IShellFolder* folder = nullptr;
};
thread_local ShellNameBatch* t_batch = nullptr;
thread_local std::vector<OpenFolder> t_folders;

void CloseFolders() {
    for (OpenFolder& open : t_folders)
        if (open.folder) open.folder->Release();
    t_folders.clear();
}

IShellFolder* FolderFor(const std::wstring& path) {
    for (OpenFolder& open : t_folders)
        if (::CompareStringOrdinal(open.path.c_str(), -1, path.c_str(), -1, TRUE) == CSTR_EQUAL) return open.folder;
    if (t_folders.size() >= kMaxFolders) {
        if (t_folders.front().folder) t_folders.front().folder->Release();
        t_folders.erase(t_folders.begin());
    }
    IShellFolder* folder = nullptr;
    fw::ComPtr<IShellFolder> desktop;
    if (SUCCEEDED(::SHGetDesktopFolder(desktop.Put()))) {
        PIDLIST_RELATIVE pidl = nullptr;
        std::wstring name = path; // the shell takes a writable string
        if (SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &pidl, nullptr))) {
            if (FAILED(desktop->BindToObject(pidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder))))
                folder = nullptr;
            ::CoTaskMemFree(pidl);
        }
    }
    // A folder that cannot be opened is remembered too, so its files go the long way at once.
    t_folders.push_back(OpenFolder{path, folder});
    return folder;
}

// The name through the file's open folder, as SHGetFileInfoW finds it; empty when that fails.
std::wstring NameInOpenFolder(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash + 1 >= path.size()) return {};
    // "C:\file" lies in "C:\", which keeps its backslash.
    IShellFolder* folder = FolderFor(path.substr(0, slash == 2 ? 3 : slash));
    if (!folder) return {};
    std::wstring file = path.substr(slash + 1);
    PIDLIST_RELATIVE child = nullptr;
    if (FAILED(folder->ParseDisplayName(nullptr, nullptr, file.data(), nullptr, &child, nullptr))) return {};
    std::wstring name;
    STRRET text{};
    wchar_t buffer[MAX_PATH] = {};
    if (SUCCEEDED(folder->GetDisplayNameOf(child, SHGDN_INFOLDER, &text)) &&
        SUCCEEDED(::StrRetToBufW(&text, child, buffer, MAX_PATH)))
        name = buffer;
    ::CoTaskMemFree(child);
    return name;
}

// The system image lists from the smallest icons to the largest, and their sizes.
constexpr int kImageLists[] = {SHIL_SMALL, SHIL_LARGE, SHIL_EXTRALARGE, SHIL_JUMBO};
constexpr int kImageListSizes[] = {16, 32, 48, 256};

// The icon from the resource the shell names for the file type, made at exactly that size from
// the resource's nearest image; null when the type has no fixed icon resource.
HICON IconFromLocation(const std::wstring& path, DWORD attributes, int size) {
    SHFILEINFOW info{};
    if (!::SHGetFileInfoW(path.c_str(), attributes, &info, sizeof(info), SHGFI_ICONLOCATION | SHGFI_USEFILEATTRIBUTES) ||
        !info.szDisplayName[0])
        return nullptr;
    HICON icon = nullptr;
    const UINT sizes = MAKELONG(size, size);
    if (::SHDefExtractIconW(info.szDisplayName, info.iIcon, 0, &icon, nullptr, sizes) != S_OK) return nullptr;
    return icon;
}

// The system image list's icon: every type has one, though only at the list's sizes.
HICON IconFromImageList(const std::wstring& path, DWORD attributes, int size) {
    SHFILEINFOW info{};
    if (!::SHGetFileInfoW(path.c_str(), attributes, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES))
        return nullptr;
    // The smallest list of at least the size first; a system without it offers the next smaller.
    int first = 0;
    while (first + 1 < static_cast<int>(std::size(kImageLists)) && kImageListSizes[first] < size) ++first;
    for (int i = first; i >= 0; --i) {
        fw::ComPtr<IImageList> images;
        HICON icon = nullptr;
        if (SUCCEEDED(::SHGetImageList(kImageLists[i], __uuidof(IImageList), images.PutVoid())) &&
            images && SUCCEEDED(images->GetIcon(info.iIcon, ILD_TRANSPARENT, &icon)) && icon)
            return icon;
    }
    return nullptr;
}

// Never a small icon stretched: the type's own resource at the size, else the image list's icon
// of at least the size, which the button draws smaller.
HICON ShellIconAtSize(const std::wstring& path, DWORD attributes, int size) {
    if (HICON icon = IconFromLocation(path, attributes, size)) return icon;
    return IconFromImageList(path, attributes, size);
}

std::unordered_map<std::wstring, std::wstring>& Names() {
    static std::unordered_map<std::wstring, std::wstring> names;
    return names;
}

} // namespace

HICON SharedShellIcon(const std::wstring& path, DWORD attributes, int size) {
    // A few dozen icons at most, one per extension and size.
    static std::map<std::wstring, HICON> icons;
    const std::wstring key = std::to_wstring(size) + L"|" + KeyOf(path, attributes);
    auto found = icons.find(key);
    if (found == icons.end()) {
        ++g_iconLookups;
        found = icons.emplace(key, ShellIconAtSize(path, attributes, size)).first;
    }
    return found->second;
}

HICON SharedProgramIcon(UINT resourceId, int size) {
    static std::map<std::pair<UINT, int>, HICON> icons;
    const auto key = std::make_pair(resourceId, size);
    auto found = icons.find(key);
    if (found == icons.end()) {
        found = icons.emplace(key, fw::LoadIconAtSize(resourceId, size)).first;
    }
    return found->second;
}

std::wstring ShellDisplayNameOf(const std::wstring& path) {
    auto& names = Names();
    if (auto found = names.find(path); found != names.end()) return found->second;
    ++g_nameLookups;
    std::wstring name = t_batch ? NameInOpenFolder(path) : std::wstring();
    if (name.empty()) {
        SHFILEINFOW info{};
        if (!::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME) || !info.szDisplayName[0])
            return {};
        name = info.szDisplayName;
    }
    if (names.size() >= kMaxNames) names.clear();
    return names.emplace(path, std::move(name)).first->second;
}

bool KnownShellDisplayName(const std::wstring& path, std::wstring& name) {
    const auto& names = Names();
    const auto found = names.find(path);
    if (found == names.end()) return false;
    name = found->second;
    return true;
}

void ForgetShellDisplayNames() { Names().clear(); }

// The batch holds COM for the folders' life, whatever the caller's own scopes do meanwhile.
ShellNameBatch::ShellNameBatch() : m_com(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)), m_outer(t_batch) {
    if (SUCCEEDED(m_com)) t_batch = this;
}

ShellNameBatch::~ShellNameBatch() {
    if (t_batch == this) {
        t_batch = m_outer;
        if (!m_outer) CloseFolders();
    }
    if (SUCCEEDED(m_com)) ::CoUninitialize();
}

unsigned ShellIconLookups() { return g_iconLookups; }
unsigned ShellNameLookups() { return g_nameLookups; }

} // namespace lhl
