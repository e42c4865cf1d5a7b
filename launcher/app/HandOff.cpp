#include "HandOff.h"
#include "ByteCodec.h"
#include "File.h"
#include <windows.h>

namespace lhl {
namespace {

constexpr const wchar_t* kHandOffTurnName = L"Lanternhop Launcher.HandOff";

// The longest file a writer makes: the count, the longest text and the end word.
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
    std::wstring text;
    if (!in.U32(length) || length > kMaxHandOffChars || !in.Chars(length, length, text)) return {};
    // A zero inside ends the text early: no command line holds one, so the file is damaged.
    return text.size() == length ? text : std::wstring();
}

void HandOffFile::Delete() const {
    ::DeleteFileW(ProgramFolderPath().c_str());
    ::DeleteFileW(DataFolderPath().c_str());
}

bool HandOffFile::Write(const std::wstring& text) const {
    if (text.size() > kMaxHandOffChars) return false;
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

HandOffTurn::HandOffTurn() : m_mutex(::CreateMutexW(nullptr, FALSE, kHandOffTurnName)) {
    if (!m_mutex) return;
    // No time limit: a turn lasts until the running panel has taken the path, and going ahead
    // after a while would delete or overwrite a path it has not read yet. A turn outlives its
    // holder only while the panel it waits for is alive; an instance that ended in its turn
    // leaves the mutex abandoned, and the turn to the next.
    const DWORD waited = ::WaitForSingleObject(m_mutex.get(), INFINITE);
    m_bOwned = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

HandOffTurn::~HandOffTurn() {
    if (m_bOwned) ::ReleaseMutex(m_mutex.get());
}

} // namespace lhl
