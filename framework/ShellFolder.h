#pragma once
#include <string>

namespace fw {

// A shell folder (CSIDL_APPDATA, CSIDL_DESKTOPDIRECTORY, ...) ending in "\", not created when
// missing; empty when the shell cannot name it.
std::wstring ShellFolderPath(int csidl);

// True when the path names an existing file or folder, at any length.
bool PathExists(const std::wstring& path);

// The form of a full path that the file functions take at any length. From MAX_PATH characters
// on, Windows refuses a plain path unless the program is long-path aware and the system's
// LongPathsEnabled policy is set; "\\?\C:\..." and "\\?\UNC\server\share\..." pass either way.
// Shorter, relative and already prefixed paths come back unchanged.
std::wstring FileSystemPath(const std::wstring& path);

// The form of a path that the shell's own calls take (ShellExecuteEx, icons, display names):
// they stop at MAX_PATH whatever the manifest says, so a longer path becomes its short (8.3)
// form when the volume has one that fits; otherwise the path comes back as it is.
std::wstring ShellPath(const std::wstring& path);

} // namespace fw
