#include "LanguageKeys.h"
#include <iterator>

namespace lhl {
namespace {

constexpr LanguageKey kMainKeys[] = {
    {L"TRAY_MENU_EXIT", 32775}, {L"TRAY_MENU_HELP", 32843}, {L"TRAY_MENU_DOCK", 32841},
    {L"TRAY_MENU_OPTIONS", 32772}, {L"TRAY_MENU_ACTIVATE", 32771}, {L"TRAY_MENU_TIDYDESKTOP", 32857},
    {L"MAIN_APP_MENU_NEWPAGE", 32784}, {L"MAIN_APP_MENU_DELETECUR", 32783},
    {L"MAIN_APP_MENU_SETCLIPBOARD", 32781}, {L"MAIN_APP_MENU_ADDLINK", 32790}, {L"MAIN_APP_MENU_ALGIN", 32785},
    {L"MAIN_APP_MENU_DELETE", 32782}, {L"MAIN_APP_MENU_PROPERIES", 32789}, {L"MAIN_MSGRES_DELALL_TIPS", 15},
    {L"MAIN_MSGRES_WARING", 16}, {L"MAIN_MSGRES_PRESS", 17}, {L"MAIN_MSGRES_HIDESHOWME", 18},
    {L"MAIN_MSGRES_HIDESHOW", 19}, {L"MAIN_MSGRES_HIDESHOW_CTRL", 20}, {L"MAIN_MSGRES_WELCOME", 21},
    {L"TRAY_MENU_ABOUT", 22}, {L"MAIN_MSGRES_FIND", kKeyFindStrip}, {L"MAIN_APP_MENU_UNDO", 150}, {L"MAIN_APP_MENU_UNDO_DELETEPAGE", 151},
    {L"MAIN_APP_MENU_UNDO_CLEARALL", 152}, {L"MAIN_APP_MENU_UNDO_CLEARICON", 153}, {L"MAIN_APP_MENU_UNDO_REPLACE", 154},
    {L"MAIN_APP_MENU_UNDO_MOVETO", 155}, {L"MAIN_MSGRES_UNDO_PAGEFULL", 156}, {L"MAIN_MSGRES_UNDO_TOOMANYPAGES", 157},
    {L"MAIN_MSGRES_UNDO_PUTONPAGE", 158}, {L"MAIN_MSGRES_UNDO_PUTONNEWPAGE", 159},
    {L"MAIN_MSGRES_UNDO_SPREAD", 160}, {L"MAIN_MSGRES_MOVETO_NOTSAVED", 161},
    {L"MAIN_MSGRES_DELETE_NOTSAVED", 162},
    {L"MAIN_APP_MENU_PASTE", 32858}, {L"MAIN_MSGRES_STRIP", 31}, {L"MAIN_MSGRES_TAB_HOVER", 32},
    {L"MAIN_MSGRES_OPEN_HOVER", 33}, {L"MAIN_MSGRES_CLIPBOARD_HOVER", 34}, {L"MAIN_MSGRES_LINK_HOVER", 35},
    {L"MAIN_MSGRES_PAGEFULL_ADD", 36}, {L"MAIN_MSGRES_TARGET_FULL", 37}, {L"MAIN_MSGRES_PAGEFULL_REGISTER", 38},
    {L"MAIN_MSGRES_PAGEFULL_SHORT", 39}, {L"MAIN_MSGRES_LAST_SETTING", 40}, {L"MAIN_MSGRES_WARNING_EXCLAIMED", 41},
    {L"MAIN_MSGRES_HOTKEY_USED", 42}, {L"MAIN_MSGRES_HOTKEY_FAIL", 43}, {L"MAIN_MSGRES_CTRLTWICE_FAIL", 44},
    {L"MAIN_MSGRES_OPEN_FAIL", 45}, {L"MAIN_MSGRES_FILE_MISSING", 46}, {L"MAIN_MSGRES_TEXT_EMPTY", 47},
    {L"MAIN_MSGRES_BACKGROUND_UNREADABLE", 48}, {L"MAIN_MSGRES_ITEMS_OUT_OF_VIEW", 49},
    {L"MAIN_MSGRES_FILE_EXISTS", 50}, {L"MAIN_MSGRES_ABOUT_MENU", 51}, {L"MAIN_MSGRES_LINK_FAIL", 52},
    {L"MAIN_MSGRES_ALL_FILES", 53}, {L"MAIN_MSGRES_PLAIN_BACKGROUND", 54}, {L"MAIN_MSGRES_ITEM_OUT_OF_VIEW", 55},
};
constexpr LanguageKey kBasicKeys[] = {
    {L"DLG_OPTION_BASIC_TITLE", 1}, {L"DLG_OPTION_BASIC_CAPTION", 2}, {L"DLG_OPTION_BASIC_STARTUP", 1006},
    {L"DLG_OPTION_BASIC_WIZARD", 1019}, {L"DLG_OPTION_BASIC_SOUND", 1016}, {L"DLG_OPTION_BASIC_SHELLMENU", 1018},
    {L"DLG_OPTION_BASIC_AUTOHIDE", 1017}, {L"DLG_OPTION_BASIC_LOCATION", 1015},
    {L"DLG_OPTION_BASIC_REMSHORCUT", 1012}, {L"DLG_OPTION_BASIC_CHANGLEBK", 1041},
    {L"DLG_OPTION_BASIC_TABORDER", 1042}, {L"DLG_OPTION_BASIC_BACKGROUND", 1043},
    {L"DLG_OPTION_BASIC_OPEN_IMAGE", 3}, {L"DLG_OPTION_BASIC_PICTURES", 4},
};
constexpr LanguageKey kAdvancedKeys[] = {
    {L"DLG_OPTION_ADV_ADVCAP", 1}, {L"DLG_OPTION_ADV_HOTSYLE", 1048}, {L"DLG_OPTION_ADV_HOTKEY", 1015},
    {L"DLG_OPTION_ADV_CTRLTWICE", 1038}, {L"DLG_OPTION_ADV_LANGUAGE", 1049}, {L"DLG_OPTION_ADV_GRID", 1050},
    {L"DLG_OPTION_ADV_TRANS_CAP", 1074}, {L"DLG_OPTION_ADV_ANIMATEWND", 1073},
    {L"DLG_OPTION_ADV_GRID_HIDDEN", 1044}, {L"DLG_OPTION_ADV_GRID_ASK", 1045},
    {L"DLG_OPTION_ADV_MAXUNITS", 1051}, {L"DLG_OPTION_ADV_DIMENSION", 1052}, {L"DLG_OPTION_ADV_LANG_DEFAULT", 1054},
};
constexpr LanguageKey kNewPageKeys[] = {
    {L"DLG_NEWPAGE_CAPTION", 1}, {L"DLG_NEWPAGE_TITLE", 1052}, {L"DLG_NEWPAGE_TABTITLE", 1053},
    {L"DLG_NEWPAGE_TABTIPS", 1054}, {L"DLG_NEWPAGE_TABBACKCOLOR", 1055}, {L"DLG_NEWPAGE_FOCUS", 1057},
    {L"DLG_NEWPAGE_LOSTFOCUS", 1058}, {L"DLG_NEWPAGE_TITLECOLOR", 1056}, {L"DLG_NEWPAGE_OK", 1061},
    {L"DLG_NEWPAGE_CANCEL", 1062}, {L"DLG_NEWPAGE_SAMPLE", 1040}, {L"DLG_NEWPAGE_TIP", 1059},
    {L"DLG_NEWPAGE_PREVIEW", 1079},
};
constexpr LanguageKey kClipboardKeys[] = {
    {L"DLG_CLIPBOARD_CAPTION", 1}, {L"DLG_CLIPBOARD_UNITTITLE", 1052}, {L"DLG_CLIPBOARD_TEXT", 1063},
    {L"DLG_CLIPBOARD_OK", 1061}, {L"DLG_CLIPBOARD_CANCEL", 1062},
};
constexpr LanguageKey kUrlEmailKeys[] = {
    {L"DLG_URLEMAIL_CAPITON", 1}, {L"DLG_URLEMAIL_UNITTITLE", 1052}, {L"DLG_URLEMAIL_TEXT", 1064},
    {L"DLG_URLEMAIL_OK", 1061}, {L"DLG_URLEMAIL_CANCEL", 1062},
};
constexpr LanguageKey kItemMenuKeys[] = {
    {L"MENU_ITEM_RUN", 1}, {L"MENU_ITEM_FOLDER", 2}, {L"MENU_ITEM_DELETE", 3},
    {L"MENU_ITEM_MOVE", 4}, {L"MENU_ITEM_MOVETO", 5}, {L"MENU_ITEM_PROPERITES", 6},
};
constexpr LanguageKey kTidyKeys[] = {
    {L"DLG_TIDYDESKTOP_IDYDESKTOPCAP", 1}, {L"DLG_TIDYDESKTOP_TITLE", 2}, {L"DLG_TIDYDESKTOP_PATH", 3},
    {L"DLG_TIDYDESKTOP_DESKTOPITEM", 1069}, {L"DLG_TIDYDESKTOP_TIDYE", 1066}, {L"DLG_TIDYDESKTOP_RESTORE", 1071},
    {L"DLG_TIDYDESKTOP_CANCEL", 7},
};
constexpr LanguageKey kAboutKeys[] = {
    {L"DLG_ABOUT_CAPTION", 1}, {L"DLG_ABOUT_OK", 2}, {L"DLG_ABOUT_SLOGAN", 1084},
    {L"DLG_ABOUT_URL", 1085}, {L"DLG_ABOUT_EMAIL", 1086},
};

template <size_t N>
constexpr LanguageSection Section(uint32_t number, const wchar_t* name, const LanguageKey (&keys)[N]) {
    return {number, name, keys, static_cast<unsigned>(N)};
}

constexpr LanguageSection kSections[] = {
    Section(102, L"MAIN_DIALOG_STRING", kMainKeys),
    Section(152, L"OPTION_DIALOG_BASIC", kBasicKeys),
    Section(151, L"OPTION_DIALOG_ADVENCED", kAdvancedKeys),
    Section(136, L"NEWPAGE_DIALOG_STR", kNewPageKeys),
    Section(132, L"CLIPBOARD_DIALOG_STRING", kClipboardKeys),
    Section(139, L"URLEMAIL_DIALOG_STRING", kUrlEmailKeys),
    Section(100, L"OTHERS_MENU_RESOURCE", kItemMenuKeys),
    Section(161, L"OPTION_DIALOG_TIDYDESKTOP_STR", kTidyKeys),
    Section(1100, L"ABOUT_DIALOG_STRING", kAboutKeys),
};

constexpr const InterfaceText* kTexts[] = {
    &texts::kStrip, &texts::kTabHover, &texts::kOpenHover, &texts::kClipboardHover, &texts::kLinkHover,
    &texts::kPageFullAddFail, &texts::kTargetPageFull, &texts::kPageFullRegisterFail, &texts::kPageFullShort,
    &texts::kLastCorrectSetting, &texts::kWarningExclaimed, &texts::kHotKeyUsed, &texts::kHotKeyFail,
    &texts::kCtrlTwiceFail, &texts::kOpenFailed, &texts::kFileMissing, &texts::kTextEmpty,
    &texts::kBackgroundUnreadable, &texts::kPlainBackgroundKept, &texts::kItemsOutOfView, &texts::kItemOutOfView, &texts::kFileExists,
    &texts::kAboutMenu, &texts::kLinkFailed, &texts::kAllFilesFilter, &texts::kWarning, &texts::kPaste,
    &texts::kOpenImage, &texts::kPicturesFilter, &texts::kLanguageDefault,
};

} // namespace

const InterfaceText* const* InterfaceTexts(unsigned& count) {
    count = static_cast<unsigned>(std::size(kTexts));
    return kTexts;
}

const LanguageSection* LanguageSections(unsigned& count) {
    count = static_cast<unsigned>(std::size(kSections));
    return kSections;
}

} // namespace lhl
