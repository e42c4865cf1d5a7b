#include "ButtonLook.h"
#include <algorithm>

namespace lhl {

int CaptionCharsPerLine(int captionWidth, int titleWidth, size_t titleLength) {
    if (titleWidth <= 0) return static_cast<int>(titleLength);
    const double quotient = captionWidth / (titleWidth / 10.0);
    const int whole = static_cast<int>(quotient);
    return whole + (quotient != 0.0 ? 1 : 0);
}

std::wstring ComposeCaption(const std::wstring& title, int n) {
    constexpr size_t kBuffer = 64; // terminator included
    std::wstring buffer(kBuffer, L'\0');
    auto put = [&buffer](size_t pos, wchar_t ch) {
        if (pos < kBuffer - 1) buffer[pos] = ch;
    };
    const size_t length = title.size();
    if (n >= 0 && length > static_cast<size_t>(n)) {
        const size_t un = static_cast<size_t>(n);
        for (size_t i = 0; i < un; ++i) put(i, title[i]);
        put(un, L'\n');
        if (n >= 4 && length - un > un - 4) {
            for (size_t i = 0; i + un + 1 <= 2 * un - 4; ++i) put(un + 1 + i, title[un + i]);
            put(2 * un - 4, L'.');
            put(2 * un - 3, L'.');
            put(2 * un - 2, L'.');
        } else {
            for (size_t i = un; i < length; ++i) put(i + 1, title[i]);
        }
    } else {
        for (size_t i = 0; i < length; ++i) put(i, title[i]);
    }
    return std::wstring(buffer.c_str());
}

RECT IconSquare(const RECT& work) {
    const int side = (work.bottom - work.top) / 2;
    const int left = (work.right - work.left - side) / 2;
    return RECT{left, 1, left + side, 1 + side};
}

COLORREF Darken(COLORREF colour, int factor) {
    return RGB(GetRValue(colour) * factor / 255, GetGValue(colour) * factor / 255, GetBValue(colour) * factor / 255);
}

void TexturePalette(COLORREF slot0, COLORREF slot2, COLORREF highlight, RGBQUAD palette[256]) {
    auto blend = [](COLORREF a, COLORREF b, int i) {
        return RGBQUAD{static_cast<BYTE>((GetBValue(a) * (128 - i) + GetBValue(b) * i) / 128),
                       static_cast<BYTE>((GetGValue(a) * (128 - i) + GetGValue(b) * i) / 128),
                       static_cast<BYTE>((GetRValue(a) * (128 - i) + GetRValue(b) * i) / 128), 0};
    };
    for (int i = 0; i <= 128; ++i) palette[i] = blend(slot0, slot2, i);
    for (int j = 1; j <= 128; ++j) palette[127 + j] = blend(slot2, highlight, j);
}

namespace {
int Cube(int v) { return ((v * v * v) / 128) / 128; }
} // namespace

int TextureValue(int x, int y, int width, int height, int grain) {
    const int a = (y * 255) / height - 127;
    const int b = ((width - x) * 255) / width - 127;
    const int value = ((128 - grain) * (Cube(a) + Cube(b))) / 128 + 128;
    return std::clamp(value, grain, 255 - grain);
}

int NextNoise() {
    static unsigned seed = 1;
    seed = seed * 214013u + 2531011u;
    return static_cast<int>((seed >> 16) & 0x7FFF);
}

uint8_t TextureIndex(int x, int y, int width, int height, int grain, int noise) {
    const int value = TextureValue(x, y, width, height, grain) + noise / (32767 / (2 * grain)) - grain;
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

} // namespace lhl
