#include "PageCodec.h"
#include "ByteCodec.h"
#include "ConfigCodec.h"
#include "DataFile.h"
#include "HandOff.h"
#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <string_view>

namespace lhl {
namespace {

constexpr size_t kPageRecordMinBytes = 4 + 4 + 4 * 4; // two empty strings and four colours
constexpr size_t kGroupMinBytes = 4 + 4 + 4 + 4;      // reserved, empty name, count, marker
constexpr size_t kItemMinBytes = 8;                   // kind and cell

bool ReadString(ByteReader& in, size_t keep, std::wstring& text) {
    uint32_t count = 0;
    if (!in.U32(count) || count > kMaxStoredStringUnits) return false;
    return in.Chars(count, keep, text);
}

bool ReadColour(ByteReader& in, COLORREF& colour) {
    uint32_t value = 0;
    if (!in.U32(value)) return false;
    colour = value;
    return true;
}

bool ReadPageRecord(ByteReader& in, LauncherPage& page) {
    return ReadString(in, kMaxStoredStringUnits, page.title) && ReadString(in, kMaxStoredStringUnits, page.tip) &&
           ReadColour(in, page.focusBackColor) && ReadColour(in, page.normalBackColor) &&
           ReadColour(in, page.focusTextColor) && ReadColour(in, page.normalTextColor);
}

bool ReadGroup(ByteReader& in, PageGroup& group) {
    uint32_t count = 0, marker = 0;
    if (!in.U32(group.reserved) || !ReadString(in, kMaxFileNameChars, group.fileName) || !in.U32(count))
        return false;
    // The name is joined to the data folder and the file is written and deleted: anything but a
    // plain name there (a folder, a drive, "..") would reach outside it.
    if (!IsPlainFileName(group.fileName)) return false;
    if (count > in.Remaining() / kPageRecordMinBytes) return false;
    group.pages.resize(count);
    for (LauncherPage& page : group.pages)
        if (!ReadPageRecord(in, page)) return false;
    return in.U32(marker); // not compared
}

void WriteItem(ByteWriter& out, const LauncherItem& item) {
    out.U32(item.kind);
    out.U32(item.cell);
    if (item.kind == kKindFile) {
        out.CountedString(item.target);
    } else if (item.kind == kKindClipboardText || item.kind == kKindLink) {
        out.CountedString(item.title);
        out.CountedString(item.target);
    } else {
        return; // an empty record is kind and cell only
    }
    out.U32(kEndMarker);
}

bool ReadItem(ByteReader& in, LauncherItem& item) {
    uint32_t marker = 0;
    if (!in.U32(item.kind) || !in.U32(item.cell)) return false;
    if (item.kind == kKindFile) {
        if (!ReadString(in, kMaxStoredStringUnits, item.target)) return false;
    } else if (item.kind == kKindClipboardText || item.kind == kKindLink) {
        if (!ReadString(in, kMaxStoredStringUnits, item.title) || !ReadString(in, kMaxStoredStringUnits, item.target))
            return false;
    } else {
        return true;
    }
    return in.U32(marker); // a marker other than 255 is tolerated
}

bool HasCell(const PageItems& kept, uint32_t cell) {
    return std::any_of(kept.begin(), kept.end(), [cell](const LauncherItem& i) { return i.cell == cell; });
}

// One page block. A file that ends before the block is shorter than its range: the page is empty.
bool ReadPageBlock(ByteReader& in, PageItems& kept) {
    if (in.AtEnd()) return true;
    uint32_t count = 0;
    if (!in.U32(count)) return false;
    // Pages without an item list are not written, so the file's end marker can stand where a
    // block would start: the rest of the range is empty.
    if (count == kEndMarker && in.AtEnd()) return true;
    if (count > in.Remaining() / kItemMinBytes) return false;
    for (uint32_t r = 0; r < count; ++r) {
        LauncherItem item;
        if (!ReadItem(in, item)) return false;
        if (item.IsEmptyRecord() || HasCell(kept, item.cell)) continue;
        kept.push_back(std::move(item));
    }
    return true;
}

// "NUL.dat" or "com1" open a device, whatever the extension; so do COM and LPT with the
// superscript digits 1 to 3.
bool IsDeviceName(const std::wstring& name) {
    std::wstring stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    for (wchar_t& c : stem) c = static_cast<wchar_t>(towupper(c));
    if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL") return true;
    // The console's own input and output buffers.
    if (stem == L"CONIN$" || stem == L"CONOUT$") return true;
    if (stem.size() != 4 || !(stem.starts_with(L"COM") || stem.starts_with(L"LPT"))) return false;
    const wchar_t digit = stem[3];
    return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3';
}

bool EndsWithBackupSuffix(const std::wstring& name) {
    const std::wstring_view suffix = kBackupSuffix;
    return name.size() >= suffix.size() &&
           SameFileName(name.substr(name.size() - suffix.size()), std::wstring(suffix));
}

// A page file named like the index, the settings or the hand-off file would overwrite them at
// the first save and delete them with its page; one named like a backup ("…_bak") would be
// overwritten by the save of the file it backs up, and overwrite that one's backup in turn.
bool NamesOwnFiles(const std::vector<PageGroup>& groups) {
    const std::wstring reserved[] = {kIndexFileName, L"Lanternhop_LauncherConfig.dat", kHandOffFileName};
    for (const PageGroup& group : groups) {
        if (EndsWithBackupSuffix(group.fileName)) return false;
        for (const std::wstring& name : reserved)
            if (SameFileName(group.fileName, name)) return false;
    }
    return true;
}

} // namespace

bool SameFileName(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

bool IsPlainFileName(const std::wstring& name) {
    if (name.empty() || name == L"." || name == L"..") return false;
    if (name.back() == L'.' || name.back() == L' ') return false; // Windows drops them: another file
    if (IsDeviceName(name)) return false;
    return std::none_of(name.begin(), name.end(), [](wchar_t c) {
        return c < 32 || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos;
    });
}

std::vector<uint8_t> EncodeIndex(uint32_t pageCount, const std::vector<PageGroup>& groups) {
    ByteWriter out;
    out.PadTo(kPageHeaderSize);
    out.PutU32At(0, kFileMagic);
    out.PutU32At(4, pageCount);
    out.PutU32At(8, static_cast<uint32_t>(groups.size()));
    for (const PageGroup& group : groups) {
        out.U32(group.reserved);
        out.CountedString(group.fileName);
        out.U32(static_cast<uint32_t>(group.pages.size()));
        for (const LauncherPage& page : group.pages) {
            out.CountedString(page.title);
            out.CountedString(page.tip);
            out.U32(page.focusBackColor);
            out.U32(page.normalBackColor);
            out.U32(page.focusTextColor);
            out.U32(page.normalTextColor);
        }
        out.U32(kEndMarker);
    }
    out.U32(kEndMarker);
    return out.Take();
}

bool DecodeIndex(const std::vector<uint8_t>& bytes, IndexFile& index) {
    if (bytes.size() < kPageHeaderSize) return false;
    ByteReader in(bytes, kPageHeaderSize);
    IndexFile read;
    read.pageCount = in.U32At(4);
    const uint32_t groupCount = in.U32At(8);
    if (groupCount > in.Remaining() / kGroupMinBytes) return false;
    read.groups.resize(groupCount);
    size_t pages = 0;
    for (PageGroup& group : read.groups) {
        if (!ReadGroup(in, group)) return false;
        pages += group.pages.size();
    }
    // The tabs and the page records must agree, or pages and their items would be mismatched.
    if (read.pageCount != 0 && pages != read.pageCount) return false;
    if (!NamesOwnFiles(read.groups)) return false;
    index = std::move(read);
    return true;
}

std::vector<uint8_t> EncodePageFile(uint32_t first, uint32_t end, const std::vector<const PageItems*>& pages) {
    ByteWriter out;
    out.PadTo(kPageHeaderSize);
    out.PutU32At(0, kFileMagic);
    out.PutU32At(4, first);
    out.PutU32At(8, end);
    for (const PageItems* items : pages) {
        out.U32(static_cast<uint32_t>(items->size()));
        for (const LauncherItem& item : *items) WriteItem(out, item);
    }
    out.U32(kEndMarker);
    return out.Take();
}

PageFileStatus DecodePageFile(const std::vector<uint8_t>& bytes, std::vector<PageItems>& pages) {
    if (bytes.size() < kPageHeaderSize) return PageFileStatus::Damaged;
    ByteReader in(bytes, kPageHeaderSize);
    const uint32_t count = in.U32At(8) - in.U32At(4);
    if (count == 0 || count > kMaxPagesPerFile) return PageFileStatus::Ignored;
    std::vector<PageItems> read(count);
    for (PageItems& page : read)
        if (!ReadPageBlock(in, page)) return PageFileStatus::Damaged;
    pages = std::move(read);
    return PageFileStatus::Read;
}

} // namespace lhl
