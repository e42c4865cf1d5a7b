// The pure rules of the controls' look, and the bitmap helper.
#include "ButtonLook.h"
#include "CeXDib.h"
#include <gtest/gtest.h>

using namespace lhl;

TEST(Caption, ThirtyCharactersAt180PixelsIn100GiveSixPerLine) {
    EXPECT_EQ(CaptionCharsPerLine(100, 180, 30), 6);
    const std::wstring title = L"abcdefghijklmnopqrstuvwxyz0123";
    EXPECT_EQ(ComposeCaption(title, 6), L"abcdef\ng...") << "one line, then one character and \"...\"";
}

TEST(Caption, ShortLinesKeepTheWholeRestAndFourCharactersMakeOneLine) {
    EXPECT_EQ(ComposeCaption(L"abcdefgh", 3), L"abc\ndefgh") << "n <= 3: the second line is the whole rest";
    EXPECT_EQ(ComposeCaption(L"abcdefgh", 4), L"abcd...") << "n = 4: one line of four and \"...\"";
    EXPECT_EQ(ComposeCaption(L"abcdefgh", 6), L"abcdef\ngh") << "a short rest is shown whole";
    EXPECT_EQ(ComposeCaption(L"fits", 10), L"fits");
    EXPECT_EQ(ComposeCaption(L"fits", 4), L"fits") << "exactly n characters fit";
    EXPECT_EQ(ComposeCaption(std::wstring(100, L'x'), 100).size(), 63u) << "the 64-character buffer";
    EXPECT_EQ(CaptionCharsPerLine(100, 0, 5), 5) << "an empty measure must not divide by zero";
}

TEST(Caption, A64PixelButtonHasA30PixelIconAndA7PointFont) {
    const RECT work{0, 0, 60, 60}; // 64 high, less the four shadow pixels
    const RECT square = IconSquare(work);
    EXPECT_EQ(square.bottom - square.top, 30);
    EXPECT_EQ(square.right - square.left, 30);
    EXPECT_EQ(square.top, 1);
    EXPECT_EQ(square.left, 15);
    EXPECT_EQ(CaptionPoints(32, true), 7);
    EXPECT_EQ(CaptionPoints(20, false), 7);
}

TEST(Shadow, FactorsDarkenEachChannel) {
    EXPECT_EQ(Darken(RGB(255, 255, 255), 140), RGB(140, 140, 140));
    EXPECT_EQ(Darken(RGB(200, 100, 10), 170), RGB(133, 66, 6));
    EXPECT_EQ(Darken(RGB(9, 9, 9), 255), RGB(9, 9, 9));
}

TEST(Texture, PaletteRunsFromSlot0ThroughSlot2ToTheHighlight) {
    RGBQUAD palette[256];
    TexturePalette(RGB(200, 0, 0), RGB(0, 100, 0), RGB(250, 250, 250), palette);
    EXPECT_EQ(palette[0].rgbRed, 200);
    EXPECT_EQ(palette[0].rgbGreen, 0);
    EXPECT_EQ(palette[255].rgbRed, 250) << "entry 255 is the highlight colour";
    EXPECT_EQ(palette[255].rgbBlue, 250);
    EXPECT_EQ(palette[128].rgbGreen, (100 * 127 + 250 * 1) / 128) << "128 is the first step past slot 2";
    EXPECT_EQ(palette[127].rgbRed, (200 * 1) / 128);
}

TEST(Texture, ValuesAreClampedAndNoiseStaysWithin33) {
    for (int y = 0; y < 20; y += 3)
        for (int x = 0; x < 50; x += 7) {
            const int value = TextureValue(x, y, 50, 20, 33);
            EXPECT_GE(value, 33);
            EXPECT_LE(value, 222);
            EXPECT_EQ(TextureIndex(x, y, 50, 20, 33, 0), value - 33);
            EXPECT_EQ(TextureIndex(x, y, 50, 20, 33, 32767), value + 33) << "32767 / 496 = 66, less 33";
        }
    for (int i = 0; i < 1000; ++i) {
        const int n = NextNoise();
        ASSERT_GE(n, 0);
        ASSERT_LE(n, 32767);
    }
}

TEST(Dib, RowsArePaddedAndOnlyPalettedImagesHaveAPalette) {
    CCeXDib dib;
    ASSERT_NE(dib.Build(3, 2, 8), nullptr);
    EXPECT_EQ(dib.RowBytes(), 4u);
    EXPECT_EQ(dib.PaletteCount(), 256u);
    CCeXDib rgb;
    ASSERT_NE(rgb.Build(3, 2, 24), nullptr);
    EXPECT_EQ(rgb.PaletteCount(), 0u);
    EXPECT_EQ(rgb.RowBytes(), 12u);
    rgb.SetPaletteEntry(0, 1, 2, 3); // nothing to set, and nothing written past the header
    rgb.TintPalette(RGB(1, 2, 3), 50);
    EXPECT_EQ(rgb.PixelRows()[0], 0) << "a palette write landed in the pixels";
}

TEST(Dib, TintingBlendsTowardsTheColourAndCapsAt100Percent) {
    CCeXDib dib;
    dib.Build(2, 2, 8);
    dib.SetPaletteEntry(5, 100, 50, 0);
    dib.TintPalette(RGB(0, 0, 0), 0);
    EXPECT_EQ(dib.PaletteEntry(5).rgbRed, 100) << "0 percent changes nothing";
    dib.TintPalette(RGB(10, 20, 30), 150);
    EXPECT_EQ(dib.PaletteEntry(5).rgbRed, 10);
    EXPECT_EQ(dib.PaletteEntry(5).rgbGreen, 20);
    EXPECT_EQ(dib.PaletteEntry(200).rgbBlue, 30) << "every entry becomes the colour";
    CCeXDib copy;
    ASSERT_NE(copy.CopyFrom(dib), nullptr);
    EXPECT_EQ(copy.PaletteEntry(5).rgbRed, 10);
    EXPECT_EQ(copy.Width(), 2);
}
