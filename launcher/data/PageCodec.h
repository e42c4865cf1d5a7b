#pragma once
// Byte layouts of "pages_info.dat" (the page groups with their page properties) and of a group's
// page file (the items of its pages), as pure functions. Readers trust no count beyond the bytes
// that remain; what they refuse counts as an unreadable file.
#include "PageRecords.h"
#include <cstdint>
#include <string>
#include <vector>

namespace lhl {

constexpr const wchar_t* kIndexFileName = L"pages_info.dat";
constexpr size_t kPageHeaderSize = 256;
constexpr size_t kMaxFileNameChars = 260;
constexpr uint32_t kMaxPagesPerFile = 255;
// A longer string than this in a page or index file means the file is damaged.
constexpr uint32_t kMaxStoredStringUnits = 65536;

struct IndexFile {
    uint32_t pageCount = 0;
    std::vector<PageGroup> groups;
};

// A name that stays in the folder it is joined to: no folder, drive or stream part, not "." or
// "..", nothing Windows would change or refuse.
bool IsPlainFileName(const std::wstring& name);
// Two names of one file, as the file system compares them (case ignored).
bool SameFileName(const std::wstring& a, const std::wstring& b);

std::vector<uint8_t> EncodeIndex(uint32_t pageCount, const std::vector<PageGroup>& groups);
// False when the file is damaged: a count or string running past the end, or groups that do
// not hold the page count the header gives.
bool DecodeIndex(const std::vector<uint8_t>& bytes, IndexFile& index);

// The page file of pages first..end-1; `pages` holds the blocks that are written (pages without
// an item list are not written at all).
std::vector<uint8_t> EncodePageFile(uint32_t first, uint32_t end, const std::vector<const PageItems*>& pages);

enum class PageFileStatus { Read, Ignored, Damaged };
// The kept records of each page of the file: empty records and a second record for a cell are
// dropped, and pages the file does not contain are empty. Ignored: the header names 0 or more
// than 255 pages.
PageFileStatus DecodePageFile(const std::vector<uint8_t>& bytes, std::vector<PageItems>& pages);

} // namespace lhl
