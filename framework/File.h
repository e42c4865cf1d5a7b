#pragma once
// Binary file wrapper in the manner the launcher's data code expects: reading past the end
// yields zeros, so a short file reads as if it were padded, and the caller decides what a
// short read means.
#include "Handles.h"
#include <cstdint>
#include <string>
#include <vector>

namespace fw {

class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        modeCreate = 0x1000,
        typeBinary = 0x8000,
    };

    CFile() = default;
    bool Open(const std::wstring& path, unsigned flags);
    void Close() { m_file.reset(); }
    bool IsOpen() const { return static_cast<bool>(m_file); }

    // Fills `count` bytes; what lies past the end of the file is zero. Returns the bytes that
    // really came from the file.
    size_t Read(void* buffer, size_t count);
    bool Write(const void* buffer, size_t count);
    bool Flush();
    uint64_t GetLength() const;

    // The whole file, at most `limit` bytes of it. False when the file cannot be opened.
    static bool ReadAll(const std::wstring& path, std::vector<uint8_t>& bytes, size_t limit);

private:
    UniqueKernelHandle m_file;
};

} // namespace fw
