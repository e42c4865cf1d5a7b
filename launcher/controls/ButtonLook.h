#pragma once
// The pure parts of how item buttons and page tabs look: the caption's two-line composition,
// the icon square, the drop shadow's factors and the page tab's texture.
#include <windows.h>
#include <cstdint>
#include <string>

namespace lhl {

// How many characters the first caption line may take: Q.width / (E / 10), plus 1 unless 0.
int CaptionCharsPerLine(int captionWidth, int titleWidth, size_t titleLength);
// The shown caption of a title for n characters per line, at most 63 characters.
std::wstring ComposeCaption(const std::wstring& title, int n);
// The caption font's size in points for a caption rectangle of this height.
inline int CaptionPoints(int captionHeight, bool itemButton) {
    return itemButton ? captionHeight / 3 - 3 : captionHeight / 2 - 3;
}
// The icon square of layout 4 in a work rectangle.
RECT IconSquare(const RECT& work);

// Shadow factors (of 255) for the four rows or columns from the edge inwards, and the corners.
inline constexpr int kShadowEdge[4] = {140, 170, 212, 240};
inline constexpr int kShadowCorner[7] = {170, 205, 220, 240, 240, 250, 255};
COLORREF Darken(COLORREF colour, int factor);

// The page tab texture, effect 6: its palette from colour slots 0 and 2 and the highlight, and
// the palette index of a pixel (row in storage order, bottom-up) before and with noise.
void TexturePalette(COLORREF slot0, COLORREF slot2, COLORREF highlight, RGBQUAD palette[256]);
int TextureValue(int x, int y, int width, int height, int grain);
// The noise generator: 0..32767, as the runtime library's rand is.
int NextNoise();
uint8_t TextureIndex(int x, int y, int width, int height, int grain, int noise);

} // namespace lhl
