#pragma once
// Little-endian reading and writing for the launcher's binary files. The reader never trusts a
// length: every read says whether the bytes were there.
#include <cstdint>
#include <string>
#include <vector>

namespace lhl {

class ByteWriter {
public:
    void U32(uint32_t value);
    void U8(uint8_t value) { m_bytes.push_back(value); }
    void Chars(const std::wstring& text); // UTF-16LE code units, no count, no terminator
    void CountedString(const std::wstring& text) {
        U32(static_cast<uint32_t>(text.size()));
        Chars(text);
    }
    void PutU32At(size_t offset, uint32_t value);
    void PadTo(size_t size) { if (m_bytes.size() < size) m_bytes.resize(size, 0); }
    std::vector<uint8_t> Take() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};

class ByteReader {
public:
    explicit ByteReader(const std::vector<uint8_t>& bytes, size_t offset = 0)
        : m_bytes(bytes), m_pos(offset) {}

    size_t Remaining() const { return m_pos < m_bytes.size() ? m_bytes.size() - m_pos : 0; }
    bool AtEnd() const { return Remaining() == 0; }
    bool U32(uint32_t& value);
    bool U8(uint8_t& value);
    // Reads `count` UTF-16 code units and keeps at most `keep` of them, cut at a zero unit.
    bool Chars(size_t count, size_t keep, std::wstring& text);
    bool Skip(size_t count);
    uint32_t U32At(size_t offset) const; // 0 past the end

private:
    const std::vector<uint8_t>& m_bytes;
    size_t m_pos;
};

} // namespace lhl
