#include "HandOff.h"
#include "ByteCodec.h"
#include "File.h"
#include <windows.h>

namespace lhl {
namespace {

// A few bytes beyond the longest text the reader keeps.
constexpr size_t kHandOffReadLimit = 4 + 2 * kMaxHandOffChars + 4;

bool WriteFileAt(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    fw::CFile file;
    if (!file.Open(path, fw::CFile::typeBinary | fw::CFile::modeCreate | fw::CFile::modeWrite))
        return false;
    if (file.Write(bytes.data(), bytes.size())) return true;
    file.Close();
    ::DeleteFileW(path.c_str());
    return false;
}

} // namespace

std::vector<uint8_t> EncodeHandOff(const std::wstring& text) {
    ByteWriter out;
    out.CountedString(text);
    out.U32(kHandOffEndWord);
    return out.Take();
}

std::wstring DecodeHandOff(const std::vector<uint8_t>& bytes) {
    ByteReader in(bytes);
    uint32_t length = 0;
    if (!in.U32(length)) return {};
    // Take what the file really holds, never more than the reader's 260 characters.
    const size_t available = in.Remaining() / 2;
    const size_t count = length < available ? length : available;
    std::wstring text;
    in.Chars(count, kMaxHandOffChars, text);
    return text;
}

void HandOffFile::Delete() const {
    ::DeleteFileW(ProgramFolderPath().c_str());
    ::DeleteFileW(DataFolderPath().c_str());
}

bool HandOffFile::Write(const std::wstring& text) const {
    const std::vector<uint8_t> bytes = EncodeHandOff(text);
    return WriteFileAt(ProgramFolderPath(), bytes) || WriteFileAt(DataFolderPath(), bytes);
}

std::wstring HandOffFile::Take() const {
    std::vector<uint8_t> bytes;
    std::wstring text;
    if (fw::CFile::ReadAll(ProgramFolderPath(), bytes, kHandOffReadLimit) ||
        fw::CFile::ReadAll(DataFolderPath(), bytes, kHandOffReadLimit))
        text = DecodeHandOff(bytes);
    Delete();
    return text;
}

} // namespace lhl
