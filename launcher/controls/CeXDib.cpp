#include "CeXDib.h"
#include <cstring>
#include <new>

namespace lhl {
namespace {
uint16_t ColoursFor(int bits) { return bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0; }
}

CCeXDib::~CCeXDib() { Release(); }

void CCeXDib::Release() {
    if (m_hMemDC) ::DeleteDC(m_hMemDC);
    if (m_hSection) ::DeleteObject(m_hSection);
    m_hMemDC = nullptr;
    m_hSection = nullptr;
    m_pSectionBits = nullptr;
    m_pBlock.reset();
    m_header = BITMAPINFOHEADER{};
    m_nLineWidth = 0;
    m_nColours = 0;
}

uint8_t* CCeXDib::Build(int width, int height, int bitsPerPixel) {
    Release();
    if (width <= 0 || height <= 0) return nullptr;
    m_nLineWidth = ((static_cast<unsigned>(bitsPerPixel) * static_cast<unsigned>(width) + 31) / 32) * 4;
    m_nColours = ColoursFor(bitsPerPixel);
    m_header.biSize = sizeof(BITMAPINFOHEADER);
    m_header.biWidth = width;
    m_header.biHeight = height; // positive: rows stored bottom-up
    m_header.biPlanes = 1;
    m_header.biBitCount = static_cast<WORD>(bitsPerPixel);
    m_header.biCompression = BI_RGB;
    m_header.biSizeImage = m_nLineWidth * static_cast<unsigned>(height);
    const size_t size = sizeof(BITMAPINFOHEADER) + m_nColours * sizeof(RGBQUAD) + m_header.biSizeImage;
    m_pBlock.reset(new (std::nothrow) uint8_t[size]());
    if (!m_pBlock) {
        m_header = BITMAPINFOHEADER{};
        return nullptr;
    }
    std::memcpy(m_pBlock.get(), &m_header, sizeof(m_header));
    return m_pBlock.get();
}

uint8_t* CCeXDib::CopyFrom(const CCeXDib& source) {
    if (!source.m_pBlock || !Build(source.Width(), source.Height(), source.m_header.biBitCount)) return nullptr;
    const size_t size = sizeof(BITMAPINFOHEADER) + m_nColours * sizeof(RGBQUAD) + m_header.biSizeImage;
    std::memcpy(m_pBlock.get(), source.m_pBlock.get(), size);
    return m_pBlock.get();
}

RGBQUAD* CCeXDib::Palette() const {
    return m_pBlock && m_nColours ? reinterpret_cast<RGBQUAD*>(m_pBlock.get() + sizeof(BITMAPINFOHEADER)) : nullptr;
}

void CCeXDib::SetPaletteEntry(int index, uint8_t red, uint8_t green, uint8_t blue) {
    RGBQUAD* palette = Palette();
    if (!palette || index < 0 || index >= m_nColours) return;
    palette[index] = RGBQUAD{blue, green, red, 0};
}

RGBQUAD CCeXDib::PaletteEntry(int index) const {
    const RGBQUAD* palette = Palette();
    return palette && index >= 0 && index < m_nColours ? palette[index] : RGBQUAD{};
}

void CCeXDib::TintPalette(COLORREF colour, unsigned percent) {
    RGBQUAD* palette = Palette();
    if (!palette) return;
    if (percent > 100) percent = 100;
    auto mix = [percent](BYTE channel, BYTE tint) {
        return static_cast<BYTE>((channel * (100 - percent) + tint * percent) / 100);
    };
    for (unsigned i = 0; i < m_nColours; ++i) {
        palette[i].rgbRed = mix(palette[i].rgbRed, GetRValue(colour));
        palette[i].rgbGreen = mix(palette[i].rgbGreen, GetGValue(colour));
        palette[i].rgbBlue = mix(palette[i].rgbBlue, GetBValue(colour));
    }
}

uint8_t* CCeXDib::PixelRows() const {
    return m_pBlock ? m_pBlock.get() + sizeof(BITMAPINFOHEADER) + m_nColours * sizeof(RGBQUAD) : nullptr;
}

void CCeXDib::Paint(HDC dc, int x, int y) {
    if (!m_pBlock) return;
    if (!m_hSection) {
        m_hSection = ::CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(m_pBlock.get()), DIB_RGB_COLORS,
                                        &m_pSectionBits, nullptr, 0);
        if (!m_hSection || !m_pSectionBits) {
            if (m_hSection) ::DeleteObject(m_hSection);
            m_hSection = nullptr;
            return;
        }
    }
    std::memcpy(m_pSectionBits, PixelRows(), m_header.biSizeImage);
    if (!m_hMemDC && !(m_hMemDC = ::CreateCompatibleDC(dc))) return;
    HGDIOBJ old = ::SelectObject(m_hMemDC, m_hSection);
    ::BitBlt(dc, x, y, Width(), Height(), m_hMemDC, 0, 0, SRCCOPY);
    ::SelectObject(m_hMemDC, old);
}

} // namespace lhl
