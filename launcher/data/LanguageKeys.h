#pragma once
// The key names of the language files, per section, with the numbers the program looks up.
#include <cstdint>

namespace lhl {

struct LanguageKey {
    const wchar_t* name;
    uint32_t number;
};

struct LanguageSection {
    uint32_t number;
    const wchar_t* name;
    const LanguageKey* keys;
    unsigned keyCount;
};

// The main section's text before a query in the bottom strip ("Find:").
constexpr uint32_t kKeyFindStrip = 30;

// A text the program shows: where the language file keeps it and the built-in English one, which
// stays when the language file has no text for it.
struct InterfaceText {
    uint32_t section;
    uint32_t key;
    const wchar_t* english;
};

// The texts that are no dialog template's control: the strip, the tips, the message boxes.
namespace texts {
inline constexpr InterfaceText kStrip{102, 31, L"click here to minimize"};
inline constexpr InterfaceText kTabHover{102, 32, L"Click to switch!"};
inline constexpr InterfaceText kOpenHover{102, 33, L"Open: "};
inline constexpr InterfaceText kClipboardHover{102, 34, L"Set Clipboard: "};
inline constexpr InterfaceText kLinkHover{102, 35, L"Go Url/Mail: "};
inline constexpr InterfaceText kPageFullAddFail{102, 36, L"Current Page is full, add fail."};
inline constexpr InterfaceText kTargetPageFull{102, 37, L"Target page is full, operate failed."};
inline constexpr InterfaceText kPageFullRegisterFail{102, 38, L"Current Page is full, register fial.Sorry!"};
inline constexpr InterfaceText kPageFullShort{102, 39, L"Page is full. Add fail!"};
inline constexpr InterfaceText kLastCorrectSetting{102, 40, L"Start with last correct setting?"};
inline constexpr InterfaceText kWarningExclaimed{102, 41, L"Warning!"};
inline constexpr InterfaceText kHotKeyUsed{102, 42, L"Hot key is used, changle fail!"};
inline constexpr InterfaceText kHotKeyFail{102, 43, L"Set HotKey fail!"};
inline constexpr InterfaceText kCtrlTwiceFail{102, 44, L"Set [Ctrl] twice hotkey fail!"};
inline constexpr InterfaceText kOpenFailed{102, 45, L"Open file fail, clear it?"};
inline constexpr InterfaceText kFileMissing{102, 46, L"File is not exist!"};
inline constexpr InterfaceText kTextEmpty{102, 47, L"Text is empty, set fail!"};
inline constexpr InterfaceText kBackgroundUnreadable{102, 48, L"The background picture cannot be read:"};
inline constexpr InterfaceText kPlainBackgroundKept{102, 54, L"The panel keeps its plain background."};
inline constexpr InterfaceText kItemsOutOfView{
    102, 49, L"This page holds %d items out of view (beyond the current grid). Delete the page with them?"};
inline constexpr InterfaceText kItemOutOfView{
    102, 55, L"This page holds 1 item out of view (beyond the current grid). Delete the page with it?"};
inline constexpr InterfaceText kFileExists{102, 50, L"File is existing.Replace it?"};
inline constexpr InterfaceText kAboutMenu{102, 51, L"&About Lanternhop Launcher..."};
inline constexpr InterfaceText kLinkFailed{102, 52, L"Unable to open hyperlink:"};
inline constexpr InterfaceText kAllFilesFilter{102, 53, L"All files (*.*)"};
inline constexpr InterfaceText kWarning{102, 16, L"Warning"};
inline constexpr InterfaceText kPaste{102, 32858, L"Paste"};
inline constexpr InterfaceText kOpenImage{152, 3, L"Open Image"};
inline constexpr InterfaceText kPicturesFilter{152, 4, L"Pictures (*.bmp;*.jpg;*.jpeg;*.png;*.gif)"};
inline constexpr InterfaceText kLanguageDefault{151, 1054, L"Default"};
} // namespace texts

// Every text of the list above, for a walk over all of them.
const InterfaceText* const* InterfaceTexts(unsigned& count);

// The eight sections, in a fixed order.
const LanguageSection* LanguageSections(unsigned& count);

} // namespace lhl
