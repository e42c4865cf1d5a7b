// The configuration file's byte layout, field by field, and what the reader does with damaged
// or older files.
#include "ByteCodec.h"
#include "ConfigCodec.h"
#include <gtest/gtest.h>
#include <functional>

using namespace lhl;

namespace {

ConfigSettings EveryFieldChanged() {
    ConfigSettings s;
    s.unitsPerRow = 7;
    s.hotKeyName = L"Ctrl + Shift + K";
    s.removeShortcutFiles = 1;
    s.rememberLocation = 1;
    s.windowRect = RECT{10, 20, 310, 420};
    s.soundEnabled = 0;
    s.hotKeyVirtualKey = 0x4B;
    s.hotKeyModifiers = 3;
    s.useHotKey = 0;
    s.newPageWizard = 0;
    s.ctrlTwice = 0;
    s.shellContextMenu = 0;
    s.transparency = 180;
    s.changeBackgroundOnSwitch = 1;
    s.reverseTabOrder = 1;
    s.dockSide = 0;
    s.languageIndex = 2;
    s.animate = 1;
    s.useBackgroundImage = 0;
    s.dimension = 333;
    s.autoHide = false;
    s.backgroundImage = L"C:\\Pictures\\Sea view.bmp";
    return s;
}

struct Word {
    size_t offset;
    uint32_t value;
    const char* field;
};

void ExpectSame(const ConfigSettings& a, const ConfigSettings& b) {
    EXPECT_EQ(a.unitsPerRow, b.unitsPerRow);
    EXPECT_EQ(a.hotKeyName, b.hotKeyName);
    EXPECT_EQ(a.removeShortcutFiles, b.removeShortcutFiles);
    EXPECT_EQ(a.rememberLocation, b.rememberLocation);
    EXPECT_TRUE(::EqualRect(&a.windowRect, &b.windowRect)) << "the saved panel position changed";
    EXPECT_EQ(a.soundEnabled, b.soundEnabled);
    EXPECT_EQ(a.hotKeyVirtualKey, b.hotKeyVirtualKey);
    EXPECT_EQ(a.hotKeyModifiers, b.hotKeyModifiers);
    EXPECT_EQ(a.useHotKey, b.useHotKey);
    EXPECT_EQ(a.newPageWizard, b.newPageWizard);
    EXPECT_EQ(a.ctrlTwice, b.ctrlTwice);
    EXPECT_EQ(a.shellContextMenu, b.shellContextMenu);
    EXPECT_EQ(a.transparency, b.transparency);
    EXPECT_EQ(a.changeBackgroundOnSwitch, b.changeBackgroundOnSwitch);
    EXPECT_EQ(a.reverseTabOrder, b.reverseTabOrder);
    EXPECT_EQ(a.dockSide, b.dockSide);
    EXPECT_EQ(a.languageIndex, b.languageIndex);
    EXPECT_EQ(a.animate, b.animate);
    EXPECT_EQ(a.useBackgroundImage, b.useBackgroundImage);
    EXPECT_EQ(a.dimension, b.dimension);
    EXPECT_EQ(a.autoHide, b.autoHide);
    EXPECT_EQ(a.backgroundImage, b.backgroundImage);
}

// A file whose header is valid and whose tail is built by the test.
std::vector<uint8_t> HeaderWithTail(uint32_t hotKeyNameLength, const std::function<void(ByteWriter&)>& tail) {
    ByteWriter out;
    out.PadTo(kConfigHeaderSize);
    out.PutU32At(0x00, kFileMagic);
    out.PutU32At(0x08, hotKeyNameLength);
    out.PutU32At(0x4C, 200);
    tail(out);
    return out.Take();
}

} // namespace

TEST(ConfigCodec, HeaderWordsSitAtTheirOffsets) {
    const std::vector<uint8_t> bytes = EncodeConfig(EveryFieldChanged());
    const ByteReader in(bytes);
    const Word words[] = {
        {0x00, 19790826, "magic"},           {0x04, 7, "unitsPerRow"},
        {0x08, 16, "hotKeyName length"},     {0x0C, 1, "removeShortcutFiles"},
        {0x10, 1, "rememberLocation"},       {0x14, 10, "windowRect left"},
        {0x18, 20, "windowRect top"},        {0x1C, 420, "windowRect bottom"},
        {0x20, 310, "windowRect right"},     {0x24, 0, "reserved"},
        {0x28, 0, "soundEnabled"},           {0x2C, 0x4B, "hotKeyVirtualKey"},
        {0x30, 3, "hotKeyModifiers"},        {0x34, 0, "reserved"},
        {0x38, 0, "reserved"},               {0x3C, 0, "useHotKey"},
        {0x40, 0, "newPageWizard"},          {0x44, 0, "ctrlTwice"},
        {0x48, 0, "shellContextMenu"},       {0x4C, 180, "transparency"},
        {0x50, 1, "changeBackgroundOnSwitch"}, {0x54, 1, "reverseTabOrder"},
        {0x58, 0, "dockSide"},               {0x5C, 2, "languageIndex"},
        {0x60, 1, "animate"},                {0x64, 0, "useBackgroundImage"},
        {0x68, 333, "dimension"},
    };
    for (const Word& w : words) EXPECT_EQ(in.U32At(w.offset), w.value) << w.field << " at " << w.offset;
    for (size_t offset = 0x6C; offset < 0x100; offset += 4) EXPECT_EQ(in.U32At(offset), 0u) << "reserved " << offset;
}

TEST(ConfigCodec, TailBlocksFollowTheHeaderWithTheirMarkers) {
    ConfigSettings s = EveryFieldChanged();
    s.hotKeyName = L"Alt + Q";
    s.backgroundImage = L"a.bmp";
    const std::vector<uint8_t> bytes = EncodeConfig(s);
    ByteReader in(bytes, 0x100);
    uint32_t word = 0;
    uint8_t flag = 0xEE;
    std::wstring text;
    ASSERT_TRUE(in.U32(word)); EXPECT_EQ(word, 1u) << "block 1 byte count";
    ASSERT_TRUE(in.U8(flag));  EXPECT_EQ(flag, 0) << "autoHide";
    ASSERT_TRUE(in.U32(word)); EXPECT_EQ(word, 255u) << "marker after block 1 at 0x105";
    ASSERT_TRUE(in.Chars(7, 100, text)); EXPECT_EQ(text, L"Alt + Q") << "hot key name at 0x109, uncounted";
    ASSERT_TRUE(in.U32(word)); EXPECT_EQ(word, 255u) << "marker after block 2";
    ASSERT_TRUE(in.U32(word)); EXPECT_EQ(word, 5u) << "background length";
    ASSERT_TRUE(in.Chars(5, 100, text)); EXPECT_EQ(text, L"a.bmp");
    ASSERT_TRUE(in.U32(word)); EXPECT_EQ(word, 255u) << "final marker";
    EXPECT_TRUE(in.AtEnd()) << "nothing may follow the final marker";
    EXPECT_EQ(bytes.size(), 0x109u + 14 + 4 + 4 + 10 + 4);
}

TEST(ConfigCodec, EveryFieldSurvivesARoundTrip) {
    const ConfigSettings original = EveryFieldChanged();
    ConfigSettings read;
    ASSERT_TRUE(DecodeConfig(EncodeConfig(original), read));
    ExpectSame(original, read);

    ConfigSettings defaults, readDefaults;
    readDefaults.autoHide = false; // proves the default value really came from the file
    ASSERT_TRUE(DecodeConfig(EncodeConfig(defaults), readDefaults));
    ExpectSame(defaults, readDefaults);
}

TEST(ConfigCodec, ReaderNormalisesFlagsAndCutsHotKeyWords) {
    std::vector<uint8_t> bytes = EncodeConfig(ConfigSettings{});
    auto put = [&bytes](size_t offset, uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    };
    put(0x28, 7);          // any non-zero sound flag reads as 1
    put(0x2C, 0x12340051); // only the low 16 bits are the key
    put(0x30, 0xFFFF0002);
    bytes[0x104] = 9;      // any non-zero auto-hide byte is true
    ConfigSettings s;
    s.autoHide = false;
    ASSERT_TRUE(DecodeConfig(bytes, s));
    EXPECT_EQ(s.soundEnabled, 1);
    EXPECT_EQ(s.hotKeyVirtualKey, 0x51);
    EXPECT_EQ(s.hotKeyModifiers, 2);
    EXPECT_TRUE(s.autoHide);
}

TEST(ConfigCodec, LongTextsInAFileAreCutToTheirCaps) {
    ConfigSettings s;
    s.hotKeyName = std::wstring(100, L'K');
    s.backgroundImage = L"C:\\" + std::wstring(400, L'p');
    ConfigSettings read;
    ASSERT_TRUE(DecodeConfig(EncodeConfig(s), read));
    EXPECT_EQ(read.hotKeyName, std::wstring(63, L'K'));
    EXPECT_EQ(read.backgroundImage, s.backgroundImage.substr(0, 260));
}

TEST(ConfigCodec, BackgroundLengthOf255Or65535KeepsTheDefault) {
    for (uint32_t length : {255u, 65535u}) {
        const std::vector<uint8_t> file = HeaderWithTail(0, [length](ByteWriter& out) {
            out.U32(1); out.U8(1); out.U32(255); // auto-hide block
            out.U32(255);                        // empty hot-key name block
            out.U32(length);                     // background length, then the end
            out.U32(255);
        });
        ConfigSettings s;
        ASSERT_TRUE(DecodeConfig(file, s)) << "length " << length;
        EXPECT_EQ(s.backgroundImage, L"default.bmp") << "length " << length;
        EXPECT_EQ(s.transparency, 200) << "the header was still read";
    }
}

TEST(ConfigCodec, ARealPathOf255CharactersIsNotMistakenForTheMarker) {
    ConfigSettings s;
    s.backgroundImage = L"D:\\" + std::wstring(252, L'x');
    ASSERT_EQ(s.backgroundImage.size(), 255u);
    ConfigSettings read;
    ASSERT_TRUE(DecodeConfig(EncodeConfig(s), read));
    EXPECT_EQ(read.backgroundImage, s.backgroundImage);
}

TEST(ConfigCodec, AFileThatEndsBetweenBlocksKeepsWhatItDoesNotHold) {
    const std::vector<uint8_t> headerOnly = HeaderWithTail(5, [](ByteWriter&) {});
    ConfigSettings s;
    ASSERT_TRUE(DecodeConfig(headerOnly, s));
    EXPECT_EQ(s.transparency, 200);
    EXPECT_EQ(s.hotKeyName, L"Alt + D");
    EXPECT_TRUE(s.autoHide);

    const std::vector<uint8_t> noBackground = HeaderWithTail(3, [](ByteWriter& out) {
        out.U32(1); out.U8(0); out.U32(255); out.Chars(L"F12"); out.U32(255);
    });
    ConfigSettings t;
    ASSERT_TRUE(DecodeConfig(noBackground, t));
    EXPECT_FALSE(t.autoHide);
    EXPECT_EQ(t.hotKeyName, L"F12");
    EXPECT_EQ(t.backgroundImage, L"default.bmp");
}

TEST(ConfigCodec, DamagedFilesAreRefusedAndChangeNothing) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<uint8_t> zeroMagic = EncodeConfig(EveryFieldChanged());
    zeroMagic[0] = zeroMagic[1] = zeroMagic[2] = zeroMagic[3] = 0;
    const std::vector<uint8_t> full = EncodeConfig(EveryFieldChanged());
    const Case cases[] = {
        {"empty file", {}},
        {"short header", std::vector<uint8_t>(full.begin(), full.begin() + 200)},
        {"first word 0", zeroMagic},
        {"block 1 count past the end", HeaderWithTail(0, [](ByteWriter& out) { out.U32(0xFFFFFFFF); out.U8(1); })},
        {"hot key name past the end", HeaderWithTail(0x40000000, [](ByteWriter& out) {
             out.U32(1); out.U8(1); out.U32(255); out.Chars(L"Alt");
         })},
        {"background past the end", HeaderWithTail(0, [](ByteWriter& out) {
             out.U32(1); out.U8(1); out.U32(255); out.U32(255); out.U32(5000); out.Chars(L"C:\\x");
         })},
        {"word cut in half", HeaderWithTail(0, [](ByteWriter& out) { out.U8(1); out.U8(0); })},
        {"truncated mid-name", std::vector<uint8_t>(full.begin(), full.begin() + 0x109 + 5)},
    };
    for (const Case& c : cases) {
        ConfigSettings s;
        s.transparency = 77;
        EXPECT_FALSE(DecodeConfig(c.bytes, s)) << c.what;
        EXPECT_EQ(s.transparency, 77) << c.what << " changed the settings";
        EXPECT_EQ(s.hotKeyName, L"Alt + D") << c.what;
    }
}

TEST(ConfigCodec, AnyOtherMagicIsTolerated) {
    std::vector<uint8_t> bytes = EncodeConfig(EveryFieldChanged());
    bytes[0] = 0x01;
    ConfigSettings s;
    EXPECT_TRUE(DecodeConfig(bytes, s));
    EXPECT_EQ(s.dimension, 333);
}
