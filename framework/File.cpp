#include "File.h"
#include <algorithm>
#include <cstring>

namespace fw {

bool CFile::Open(const std::wstring& path, unsigned flags) {
    m_file.reset();
    const bool write = (flags & (modeWrite | modeReadWrite)) != 0;
    const DWORD access = (flags & modeReadWrite) ? (GENERIC_READ | GENERIC_WRITE)
                         : write                 ? GENERIC_WRITE
                                                 : GENERIC_READ;
    const DWORD share = write ? 0 : FILE_SHARE_READ;
    const DWORD disposition = (flags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    HANDLE h = ::CreateFileW(path.c_str(), access, share, nullptr, disposition,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    m_file.reset(h);
    return true;
}

size_t CFile::Read(void* buffer, size_t count) {
    auto* out = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (IsOpen() && done < count) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
        DWORD got = 0;
        if (!::ReadFile(m_file.get(), out + done, chunk, &got, nullptr) || got == 0) break;
        done += got;
    }
    std::memset(out + done, 0, count - done);
    return done;
}

bool CFile::Write(const void* buffer, size_t count) {
    const auto* in = static_cast<const uint8_t*>(buffer);
    size_t done = 0;
    while (IsOpen() && done < count) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
        DWORD put = 0;
        if (!::WriteFile(m_file.get(), in + done, chunk, &put, nullptr) || put == 0) return false;
        done += put;
    }
    return done == count;
}

bool CFile::Flush() {
    return IsOpen() && ::FlushFileBuffers(m_file.get()) != FALSE;
}

uint64_t CFile::GetLength() const {
    LARGE_INTEGER size{};
    if (!IsOpen() || !::GetFileSizeEx(m_file.get(), &size)) return 0;
    return static_cast<uint64_t>(size.QuadPart);
}

bool CFile::ReadAll(const std::wstring& path, std::vector<uint8_t>& bytes, size_t limit) {
    CFile file;
    if (!file.Open(path, modeRead | typeBinary)) return false;
    const uint64_t length = file.GetLength();
    bytes.resize(static_cast<size_t>(std::min<uint64_t>(length, limit)));
    bytes.resize(file.Read(bytes.data(), bytes.size()));
    return true;
}

} // namespace fw
