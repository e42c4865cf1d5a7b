#include "ShellFolder.h"
#include "Module.h"
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace fw {

std::wstring ShellFolderPath(int csidl) {
    wchar_t buffer[MAX_PATH + 1] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return {};
    return WithTrailingBackslash(buffer);
}

bool PathExists(const std::wstring& path) {
    return ::PathFileExistsW(path.c_str()) != FALSE;
}

} // namespace fw
