#include "ShellFolder.h"
#include "Module.h"
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace fw {
namespace {

constexpr const wchar_t* kExtendedPrefix = L"\\\\?\\";

bool HasExtendedPrefix(const std::wstring& path) { return path.rfind(kExtendedPrefix, 0) == 0; }

} // namespace

std::wstring ShellFolderPath(int csidl) {
    wchar_t buffer[MAX_PATH + 1] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return {};
    return WithTrailingBackslash(buffer);
}

bool PathExists(const std::wstring& path) {
    if (path.size() < MAX_PATH) return ::PathFileExistsW(path.c_str()) != FALSE;
    return ::GetFileAttributesW(FileSystemPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring FileSystemPath(const std::wstring& path) {
    if (path.size() < MAX_PATH || HasExtendedPrefix(path)) return path;
    const bool driveAbsolute = path.size() > 2 && path[1] == L':' && path[2] == L'\\';
    if (driveAbsolute) return kExtendedPrefix + path;
    if (path.rfind(L"\\\\", 0) == 0) return std::wstring(kExtendedPrefix) + L"UNC\\" + path.substr(2);
    return path;
}

std::wstring ShellPath(const std::wstring& path) {
    if (path.size() < MAX_PATH) return path;
    const std::wstring extended = FileSystemPath(path);
    const DWORD length = ::GetShortPathNameW(extended.c_str(), nullptr, 0);
    if (length == 0) return path;
    std::wstring shortened(length, L'\0');
    const DWORD written = ::GetShortPathNameW(extended.c_str(), shortened.data(), length);
    if (written == 0 || written >= length) return path;
    shortened.resize(written);
    if (HasExtendedPrefix(shortened) && !HasExtendedPrefix(path)) {
        shortened.erase(0, 4);
        if (shortened.rfind(L"UNC\\", 0) == 0) shortened.replace(0, 4, L"\\\\");
    }
    return shortened.size() < MAX_PATH ? shortened : path;
}

} // namespace fw
