#include "ConfigCodec.h"
#include "ByteCodec.h"

namespace lhl {
namespace {

// Header word offsets of the configuration file.
enum Offset : size_t {
    kMagic = 0x00,
    kUnitsPerRow = 0x04,
    kHotKeyNameLength = 0x08,
    kRemoveShortcutFiles = 0x0C,
    kRememberLocation = 0x10,
    kRectLeft = 0x14,
    kRectTop = 0x18,
    kRectBottom = 0x1C, // bottom before right: the order existing files have
    kRectRight = 0x20,
    kSoundEnabled = 0x28,
    kHotKeyVirtualKey = 0x2C,
    kHotKeyModifiers = 0x30,
    kUseHotKey = 0x3C,
    kNewPageWizard = 0x40,
    kCtrlTwice = 0x44,
    kShellContextMenu = 0x48,
    kTransparency = 0x4C,
    kChangeBackgroundOnSwitch = 0x50,
    kReverseTabOrder = 0x54,
    kDockSide = 0x58,
    kLanguageIndex = 0x5C,
    kAnimate = 0x60,
    kUseBackgroundImage = 0x64,
    kDimension = 0x68,
};

// An older file may stop before its background block; its length word then reads as this.
constexpr uint32_t kNoBackgroundLength = 255;
constexpr uint32_t kNoBackgroundLengthAlt = 65535;

uint32_t Word(int value) { return static_cast<uint32_t>(value); }
int Int(uint32_t word) { return static_cast<int>(word); }

void EncodeHeader(ByteWriter& out, const ConfigSettings& s) {
    out.PadTo(kConfigHeaderSize);
    out.PutU32At(kMagic, kFileMagic);
    out.PutU32At(kUnitsPerRow, Word(s.unitsPerRow));
    out.PutU32At(kHotKeyNameLength, static_cast<uint32_t>(s.hotKeyName.size()));
    out.PutU32At(kRemoveShortcutFiles, Word(s.removeShortcutFiles));
    out.PutU32At(kRememberLocation, Word(s.rememberLocation));
    out.PutU32At(kRectLeft, Word(s.windowRect.left));
    out.PutU32At(kRectTop, Word(s.windowRect.top));
    out.PutU32At(kRectBottom, Word(s.windowRect.bottom));
    out.PutU32At(kRectRight, Word(s.windowRect.right));
    out.PutU32At(kSoundEnabled, s.soundEnabled ? 1u : 0u);
    out.PutU32At(kHotKeyVirtualKey, s.hotKeyVirtualKey);
    out.PutU32At(kHotKeyModifiers, s.hotKeyModifiers);
    out.PutU32At(kUseHotKey, Word(s.useHotKey));
    out.PutU32At(kNewPageWizard, Word(s.newPageWizard));
    out.PutU32At(kCtrlTwice, Word(s.ctrlTwice));
    out.PutU32At(kShellContextMenu, Word(s.shellContextMenu));
    out.PutU32At(kTransparency, Word(s.transparency));
    out.PutU32At(kChangeBackgroundOnSwitch, Word(s.changeBackgroundOnSwitch));
    out.PutU32At(kReverseTabOrder, Word(s.reverseTabOrder));
    out.PutU32At(kDockSide, Word(s.dockSide));
    out.PutU32At(kLanguageIndex, Word(s.languageIndex));
    out.PutU32At(kAnimate, Word(s.animate));
    out.PutU32At(kUseBackgroundImage, Word(s.useBackgroundImage));
    out.PutU32At(kDimension, Word(s.dimension));
}

void DecodeHeader(const ByteReader& in, ConfigSettings& s) {
    s.unitsPerRow = Int(in.U32At(kUnitsPerRow));
    s.removeShortcutFiles = Int(in.U32At(kRemoveShortcutFiles));
    s.rememberLocation = Int(in.U32At(kRememberLocation));
    s.windowRect.left = Int(in.U32At(kRectLeft));
    s.windowRect.top = Int(in.U32At(kRectTop));
    s.windowRect.bottom = Int(in.U32At(kRectBottom));
    s.windowRect.right = Int(in.U32At(kRectRight));
    s.soundEnabled = in.U32At(kSoundEnabled) != 0 ? 1 : 0;
    s.hotKeyVirtualKey = static_cast<uint16_t>(in.U32At(kHotKeyVirtualKey));
    s.hotKeyModifiers = static_cast<uint16_t>(in.U32At(kHotKeyModifiers));
    s.useHotKey = Int(in.U32At(kUseHotKey));
    s.newPageWizard = Int(in.U32At(kNewPageWizard));
    s.ctrlTwice = Int(in.U32At(kCtrlTwice));
    s.shellContextMenu = Int(in.U32At(kShellContextMenu));
    s.transparency = Int(in.U32At(kTransparency));
    s.changeBackgroundOnSwitch = Int(in.U32At(kChangeBackgroundOnSwitch));
    s.reverseTabOrder = Int(in.U32At(kReverseTabOrder));
    s.dockSide = Int(in.U32At(kDockSide));
    s.languageIndex = Int(in.U32At(kLanguageIndex));
    s.animate = Int(in.U32At(kAnimate));
    s.useBackgroundImage = Int(in.U32At(kUseBackgroundImage));
    s.dimension = Int(in.U32At(kDimension));
}

enum class Tail { Done, Damaged };

// The tail, block by block. A file that simply ends between blocks is an older, shorter file:
// what it does not hold keeps its value. A length that promises more bytes than remain (or a
// word cut in half) means the file is damaged.
Tail DecodeTail(ByteReader& in, uint32_t hotKeyNameLength, ConfigSettings& s) {
    uint32_t word = 0;
    if (in.AtEnd()) return Tail::Done;
    if (!in.U32(word) || word > in.Remaining()) return Tail::Damaged;
    if (word > 0) {
        uint8_t flag = 0;
        in.U8(flag);
        s.autoHide = flag != 0;
        in.Skip(word - 1);
    }
    if (in.AtEnd()) return Tail::Done;
    if (!in.U32(word)) return Tail::Damaged; // marker, not compared
    if (in.AtEnd()) return Tail::Done;
    if (!in.Chars(hotKeyNameLength, kMaxHotKeyNameChars, s.hotKeyName)) return Tail::Damaged;
    if (in.AtEnd()) return Tail::Done;
    if (!in.U32(word)) return Tail::Damaged; // marker
    if (in.AtEnd()) return Tail::Done;
    uint32_t length = 0;
    if (!in.U32(length)) return Tail::Damaged;
    if (length == kNoBackgroundLengthAlt) return Tail::Done;
    // 255 is the end marker of a file without this block, unless a whole 255-character
    // path really follows (a user's path may be that long).
    if (length == kNoBackgroundLength && in.Remaining() < 2u * kNoBackgroundLength) return Tail::Done;
    if (!in.Chars(length, kMaxBackgroundChars, s.backgroundImage)) return Tail::Damaged;
    return Tail::Done;
}

} // namespace

std::vector<uint8_t> EncodeConfig(const ConfigSettings& settings) {
    ByteWriter out;
    EncodeHeader(out, settings);
    out.U32(1); // tail block 1: one byte
    out.U8(settings.autoHide ? 1 : 0);
    out.U32(kEndMarker);
    out.Chars(settings.hotKeyName); // tail block 2: its length is the header's word 0x08
    out.U32(kEndMarker);
    out.CountedString(settings.backgroundImage);
    out.U32(kEndMarker);
    return out.Take();
}

bool DecodeConfig(const std::vector<uint8_t>& bytes, ConfigSettings& settings) {
    if (bytes.size() < kConfigHeaderSize) return false;
    ByteReader in(bytes, kConfigHeaderSize);
    // Only a zero first word marks an unusable header; other magics are tolerated.
    if (in.U32At(kMagic) == 0) return false;
    ConfigSettings decoded = settings;
    DecodeHeader(in, decoded);
    if (DecodeTail(in, in.U32At(kHotKeyNameLength), decoded) == Tail::Damaged) return false;
    settings = std::move(decoded);
    return true;
}

} // namespace lhl
