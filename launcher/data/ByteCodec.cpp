#include "ByteCodec.h"

namespace lhl {

void ByteWriter::U32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) m_bytes.push_back(static_cast<uint8_t>(value >> shift));
}

void ByteWriter::Chars(const std::wstring& text) {
    for (wchar_t ch : text) {
        m_bytes.push_back(static_cast<uint8_t>(ch & 0xFF));
        m_bytes.push_back(static_cast<uint8_t>((ch >> 8) & 0xFF));
    }
}

void ByteWriter::PutU32At(size_t offset, uint32_t value) {
    PadTo(offset + 4);
    for (int i = 0; i < 4; ++i) m_bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t ByteReader::U32At(size_t offset) const {
    if (offset + 4 > m_bytes.size()) return 0;
    return static_cast<uint32_t>(m_bytes[offset]) | (static_cast<uint32_t>(m_bytes[offset + 1]) << 8) |
           (static_cast<uint32_t>(m_bytes[offset + 2]) << 16) |
           (static_cast<uint32_t>(m_bytes[offset + 3]) << 24);
}

bool ByteReader::U32(uint32_t& value) {
    if (Remaining() < 4) return false;
    value = U32At(m_pos);
    m_pos += 4;
    return true;
}

bool ByteReader::U8(uint8_t& value) {
    if (Remaining() < 1) return false;
    value = m_bytes[m_pos++];
    return true;
}

bool ByteReader::Chars(size_t count, size_t keep, std::wstring& text) {
    if (count > Remaining() / 2) return false;
    std::wstring result;
    const size_t kept = count < keep ? count : keep;
    result.reserve(kept);
    for (size_t i = 0; i < kept; ++i) {
        const wchar_t ch = static_cast<wchar_t>(m_bytes[m_pos + 2 * i] | (m_bytes[m_pos + 2 * i + 1] << 8));
        if (ch == L'\0') break; // the text ends at its first zero, as in a zeroed buffer
        result.push_back(ch);
    }
    m_pos += 2 * count;
    text = std::move(result);
    return true;
}

bool ByteReader::Skip(size_t count) {
    if (count > Remaining()) return false;
    m_pos += count;
    return true;
}

} // namespace lhl
