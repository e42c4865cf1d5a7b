#pragma once
// The files of the launcher's "Shortcut" folder: the user's dropped shortcuts moved there, kept
// while an item opens them or an undo may bring such an item back.
#include <string>
#include <vector>

namespace lhl {

// True when the path names a file directly in the folder (case ignored, as the file system does).
bool IsInFolder(const std::wstring& path, const std::wstring& folder);

// folder + stem + extension, else the first "stem (2)", "stem (3)", ... that no file holds.
std::wstring FreePathIn(const std::wstring& folder, const std::wstring& stem, const std::wstring& extension);

// Moves a file without overwriting anything, at any path length.
bool MoveWithoutOverwrite(const std::wstring& from, const std::wstring& to);

// Puts a user's shortcut back where it came from, or beside that place under a free name when
// another file has taken it since: a shortcut of the user's never stays hidden in the folder.
bool ReturnShortcut(const std::wstring& copy, const std::wstring& origin);

// A file of the folder, by its long name and its short (8.3) name, which may be empty.
struct FolderFile {
    std::wstring name;
    std::wstring shortName;
};

// The files that no target names. A target names a file when its last part is the file's long
// or short name, case ignored: an item may spell the folder another way (a short name, a
// "\\?\" prefix, another case), and a file kept too many costs only a name.
std::vector<std::wstring> FilesNoTargetNames(const std::vector<FolderFile>& files, const std::vector<std::wstring>& targets);

// The ".lnk" files directly in the folder (not its sub-folders).
std::vector<FolderFile> ShortcutsIn(const std::wstring& folder);

} // namespace lhl
