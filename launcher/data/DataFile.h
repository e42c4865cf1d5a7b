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

// Reads a data file, at most `limit` bytes; false when it cannot be opened.
bool ReadDataFile(const std::wstring& path, std::vector<uint8_t>& bytes, size_t limit);

} // namespace lhl
