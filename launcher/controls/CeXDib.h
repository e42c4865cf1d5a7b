#pragma once
// A device-independent bitmap held in one memory block (header, palette, bottom-up rows) that
// draws itself through a DIB section and memory DC made at its first paint and kept.
#include <windows.h>
#include <cstdint>
#include <memory>

namespace lhl {

class CCeXDib {
public:
    CCeXDib() = default;
    virtual ~CCeXDib();
    CCeXDib(const CCeXDib&) = delete;
    CCeXDib& operator=(const CCeXDib&) = delete;

    // Frees what it held and makes an empty image; null when the block cannot be allocated.
    uint8_t* Build(int width, int height, int bitsPerPixel);
    uint8_t* CopyFrom(const CCeXDib& source);
    void SetPaletteEntry(int index, uint8_t red, uint8_t green, uint8_t blue);
    RGBQUAD PaletteEntry(int index) const;
    void TintPalette(COLORREF colour, unsigned percent);
    uint8_t* PixelRows() const;
    int Width() const { return m_header.biWidth; }
    int Height() const { return m_header.biHeight; }
    unsigned RowBytes() const { return m_nLineWidth; }
    unsigned PaletteCount() const { return m_nColours; }
    // Draws the image at its own size with its top-left corner at (x, y).
    void Paint(HDC dc, int x, int y);
    void Release();

private:
    RGBQUAD* Palette() const;

    std::unique_ptr<uint8_t[]> m_pBlock;
    BITMAPINFOHEADER m_header{};
    unsigned m_nLineWidth = 0;
    uint16_t m_nColours = 0;
    HBITMAP m_hSection = nullptr;
    HDC m_hMemDC = nullptr;
    void* m_pSectionBits = nullptr;
};

} // namespace lhl
