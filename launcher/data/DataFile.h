#pragma once
// How the launcher rewrites its data files: the new content goes to a temporary file in the same
// folder first; only when that is complete is the old file copied to "<name>_bak" and replaced.
// A crash or a full disk therefore never leaves a half-written file, and a failed write leaves
// both the file and its backup as they were.
#include <cstdint>
#include <string>
#include <vector>

namespace lhl {

constexpr const wchar_t* kBackupSuffix = L"_bak";

// True when the file now holds `bytes`.
bool ReplaceDataFile(const std::wstring& path, const std::vector<uint8_t>& bytes);

// Windows opens a file by any of its names, and an 8.3 alias ("LANTER~1.DAT") names the same
// file as its long name. False when `path` names an existing file whose long name is another:
// a data file known by such a name would be written over another file of the folder.
bool IsLongNameOfItsFile(const std::wstring& path);

// Reads a data file, at most `limit` bytes; false when it cannot be opened.
bool ReadDataFile(const std::wstring& path, std::vector<uint8_t>& bytes, size_t limit);

} // namespace lhl
