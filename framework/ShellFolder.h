#pragma once
#include <string>

namespace fw {

// A shell folder (CSIDL_APPDATA, CSIDL_DESKTOPDIRECTORY, ...) ending in "\", not created when
// missing; empty when the shell cannot name it.
std::wstring ShellFolderPath(int csidl);

// True when the path names an existing file or folder.
bool PathExists(const std::wstring& path);

} // namespace fw
