// Interface texts from the language files.
#include "AboutDlg.h"
#include "IndexButton.h"
#include "ItemDialogs.h"
#include "LanguageKeys.h"
#include "LanguageTable.h"
#include "MessageBoxAnswerer.h"
#include "OptionsSheet.h"
#include "PageProperties.h"
#include "PanelHarness.h"
#include "TestSupport.h"
#include "TidyDesktopDlg.h"
#include "resource.h"
#include <cwctype>

using lhl::FormatNumbers;
using lhl::LanguageTable;

namespace {

std::string Utf8(const std::wstring& text) {
    std::string bytes(text.size() * 4 + 1, '\0');
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(),
                                        static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(n > 0 ? n : 0);
    return bytes;
}

class LanguageTableTest : public lhltest::CleanLauncherState {
protected:
    void SetUp() override {
        CleanLauncherState::SetUp();
        m_folder = lhltest::DataFolder() + L"Lang\\";
        ::CreateDirectoryW(lhltest::DataFolder().c_str(), nullptr);
        ::CreateDirectoryW(m_folder.c_str(), nullptr);
        m_table.SetLangFolder(m_folder);
    }
    // A UTF-16 language file with a byte-order mark, as the program ships them.
    void WriteIni(const std::wstring& text) {
        std::vector<uint8_t> bytes = {0xFF, 0xFE};
        for (wchar_t ch : text) {
            bytes.push_back(static_cast<uint8_t>(ch & 0xFF));
            bytes.push_back(static_cast<uint8_t>(ch >> 8));
        }
        lhltest::WriteBytes(m_folder + L"ChineseSimplified.ini", bytes);
    }
    std::wstring Text(uint32_t section, uint32_t key) {
        std::wstring text = L"built-in";
        m_table.Lookup(text, section, key);
        return text;
    }

    std::wstring m_folder;
    LanguageTable m_table;
};

} // namespace

TEST_F(LanguageTableTest, EnglishIsInactiveAndAnUnsetTableFindsNothing) {
    WriteIni(L"[MAIN_DIALOG_STRING]\r\nTRAY_MENU_EXIT=\x9000\x51FA\r\n");
    EXPECT_TRUE(m_table.IsActive()) << "an unset table counts as active";
    EXPECT_EQ(Text(102, 32775), L"") << "an unset table names no file";
    m_table.SetLanguage(LanguageTable::kOff);
    EXPECT_FALSE(m_table.IsActive());
}

TEST_F(LanguageTableTest, AMissingFileGivesEmptyTexts) {
    m_table.SetLanguage(LanguageTable::kChinese);
    EXPECT_EQ(Text(102, 32775), L"");
    EXPECT_EQ(Text(152, 1006), L"");
    EXPECT_EQ(Text(999, 1), L"built-in") << "an unknown section leaves the text alone";
}

TEST_F(LanguageTableTest, OnlyTheKeysTheFileHasAreReplaced) {
    WriteIni(L"[MAIN_DIALOG_STRING]\r\nTRAY_MENU_EXIT=\x9000\x51FA\r\n[OTHERS_MENU_RESOURCE]\r\nMENU_ITEM_RUN=\x8FD0\x884C\r\n");
    m_table.SetLanguage(LanguageTable::kChinese);
    EXPECT_EQ(Text(102, 32775), L"\x9000\x51FA");
    EXPECT_EQ(Text(102, 32843), L"") << "a key the file lacks gives an empty text";
    EXPECT_EQ(Text(100, 1), L"\x8FD0\x884C");
    EXPECT_EQ(Text(102, 99999), L"built-in") << "a key the section does not know";
}

TEST_F(LanguageTableTest, ASectionIsReadOncePerLanguageSwitch) {
    WriteIni(L"[MAIN_DIALOG_STRING]\r\nTRAY_MENU_EXIT=E\r\n");
    m_table.SetLanguage(LanguageTable::kChinese);
    for (int i = 0; i < 5; ++i) Text(102, 32775);
    EXPECT_EQ(m_table.LoadCount(), 1u);
    m_table.SetLanguage(LanguageTable::kOff);
    Text(102, 32775);
    Text(102, 32775);
    EXPECT_EQ(m_table.LoadCount(), 2u);
    m_table.SetLanguage(LanguageTable::kChinese);
    EXPECT_EQ(Text(102, 32775), L"E");
    Text(102, 32775);
    EXPECT_EQ(m_table.LoadCount(), 3u);
}

TEST_F(LanguageTableTest, LongTextsAreCutTo511Characters) {
    WriteIni(L"[MAIN_DIALOG_STRING]\r\nMAIN_MSGRES_WELCOME=" + std::wstring(600, L'w') + L"\r\n");
    m_table.SetLanguage(LanguageTable::kChinese);
    EXPECT_EQ(Text(102, 21), std::wstring(511, L'w'));
}

// The Chinese file shipped with the program has a text for every key the program looks up.
TEST_F(LanguageTableTest, TheShippedFileTranslatesEveryKey) {
    LanguageTable shipped; // the Lang folder beside the test programs
    shipped.SetLanguage(LanguageTable::kChinese);
    unsigned sectionCount = 0;
    const lhl::LanguageSection* sections = lhl::LanguageSections(sectionCount);
    for (unsigned i = 0; i < sectionCount; ++i) {
        for (unsigned k = 0; k < sections[i].keyCount; ++k) {
            std::wstring text;
            shipped.Lookup(text, sections[i].number, sections[i].keys[k].number);
            EXPECT_FALSE(text.empty()) << "no translation for " << Utf8(sections[i].keys[k].name);
        }
    }
    unsigned textCount = 0;
    const lhl::InterfaceText* const* texts = lhl::InterfaceTexts(textCount);
    for (unsigned i = 0; i < textCount; ++i)
        EXPECT_NE(lhl::TextOf(&shipped, *texts[i]), texts[i]->english) << Utf8(texts[i]->english);
}

// Translated texts come from a file beside the program: they are filled in, never used as a
// format string, so a wrong placeholder shows as written instead of reading the stack.
TEST(LanguageTexts, NumbersFillOnlyTheirPlaceholdersAndLineBreaksAreMade) {
    EXPECT_EQ(FormatNumbers(L"%d x %d: %d", {4, 4, 13}), L"4 x 4: 13");
    EXPECT_EQ(FormatNumbers(L"%s and %d and %d", {7}), L"%s and 7 and %d");
    EXPECT_EQ(FormatNumbers(L"one\\ntwo %", {}), L"one\ntwo %");
    EXPECT_EQ(FormatNumbers(L"%%d", {1}), L"%1");
}

namespace {

// Left as they are in every language: the product's name, key names, the language offered by its
// own name, picture file types, and addresses.
bool LooksEnglish(std::wstring text) {
    if (text.find(L"://") != std::wstring::npos || text.find(L'@') != std::wstring::npos) return false;
    for (const wchar_t* kept : {L"Lanternhop", L"Launcher", L"Ctrl", L"Tab", L"English", L"bmp", L"jpeg", L"jpg",
                                L"png", L"gif"}) {
        for (size_t at = text.find(kept); at != std::wstring::npos; at = text.find(kept)) text.erase(at, wcslen(kept));
    }
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] < 128 && text[i + 1] < 128 && std::iswalpha(text[i]) && std::iswalpha(text[i + 1])) return true;
    }
    return false;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOfWindow(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

class ChineseInterface : public lhltest::PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        RestartWith([](lhl::ConfigSettings& s) { s.languageIndex = 1; });
    }
    void Check(const std::wstring& text, const std::string& where) {
        EXPECT_FALSE(LooksEnglish(text)) << where << " still says \"" << Utf8(text) << "\"";
    }
    void CheckMenu(HMENU menu, const std::string& where) {
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            wchar_t text[256] = {};
            ::GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
            HMENU sub = ::GetSubMenu(menu, i);
            Check(text, where);
            // The pages a button moves to are named by their titles, which are the user's.
            if (sub && ::GetMenuItemID(menu, i) == static_cast<UINT>(-1) && where != "the item menu") CheckMenu(sub, where);
        }
    }
    // Every control's text, the caption, the list headers and the choices of a list box.
    void CheckDialog(HWND dialog, const std::string& where, bool hasCaption = true) {
        if (hasCaption) Check(TextOfWindow(dialog), where + "'s caption");
        for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            const std::wstring type = ClassOf(child);
            const std::string name = where + ", control " + std::to_string(::GetDlgCtrlID(child));
            if (type == L"Edit" || type == L"msctls_hotkey32") continue; // what the user typed
            if (type == L"ComboBox") {
                for (int i = 0; i < ::SendMessageW(child, CB_GETCOUNT, 0, 0); ++i) {
                    wchar_t item[128] = {};
                    ::SendMessageW(child, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
                    Check(item, name);
                }
            } else if (type == L"SysListView32") {
                HWND header = reinterpret_cast<HWND>(::SendMessageW(child, LVM_GETHEADER, 0, 0));
                for (int i = 0; header && i < ::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0); ++i) {
                    wchar_t item[128] = {};
                    HDITEMW info{};
                    info.mask = HDI_TEXT;
                    info.pszText = item;
                    info.cchTextMax = 128;
                    ::SendMessageW(header, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&info));
                    Check(item, name);
                }
            } else if (type == L"SysTabControl32") {
                for (int i = 0; i < ::SendMessageW(child, TCM_GETITEMCOUNT, 0, 0); ++i) {
                    wchar_t item[128] = {};
                    TCITEMW info{};
                    info.mask = TCIF_TEXT;
                    info.pszText = item;
                    info.cchTextMax = 128;
                    ::SendMessageW(child, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&info));
                    Check(item, name + " (a tab)");
                }
            } else if (::GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) { // a hidden one is not seen
                Check(TextOfWindow(child), name);
            }
        }
    }
    template <typename Dialog>
    void CheckModeless(Dialog& dialog, const std::string& where) {
        ASSERT_TRUE(dialog.Create()) << where;
        CheckDialog(dialog.m_hWnd, where);
        dialog.DestroyWindow();
    }
};

} // namespace

// With the Chinese interface on, nothing the user reads is left in English where the Chinese
// file has (or should have) its text: the strip and what it says over a tab or a button, the
// menus, every dialog and the options sheet's pages, a message box.
TEST_F(ChineseInterface, EveryTextTheUserSeesComesFromTheChineseFile) {
    Check(TextOfWindow(::GetDlgItem(PanelWindow(), IDC_STRIP)), "the strip");
    const POINT p = CellCentre(1);
    const std::wstring path = MakeFile(L"gone.txt");
    ASSERT_TRUE(Store().AddFileItemAt(p.x, p.y, path));
    lhl::CButtonEx* item = Store().ButtonAtCell(1);
    ASSERT_NE(item, nullptr);
    const std::wstring hover = item->HoverText();
    Check(hover.substr(0, hover.find(path)), "the strip over an item"); // the path is the user's
    Check(Store().Tabs().front().button->HoverText(), "the strip over a tab");

    HMENU tray = m_panel->BuildTrayMenu();
    CheckMenu(tray, "the tray menu");
    ::DestroyMenu(tray);
    HMENU page = m_panel->BuildPageMenu();
    CheckMenu(page, "the page menu");
    ::DestroyMenu(page);
    HMENU itemMenu = item->BuildContextMenu();
    CheckMenu(itemMenu, "the item menu");
    ::DestroyMenu(itemMenu);
    wchar_t about[128] = {};
    ::GetMenuStringW(::GetSystemMenu(PanelWindow(), FALSE), IDM_ABOUTBOX, about, 128, MF_BYCOMMAND);
    Check(about, "the system menu's about entry");

    lhl::COptPropertySht sheet(&Config(), L"\x9009\x9879");
    ASSERT_TRUE(sheet.Create());
    CheckDialog(sheet.m_hWnd, "the options sheet");
    for (int i = 0; i < 2; ++i) {
        ::SendMessageW(sheet.m_hWnd, PSM_SETCURSEL, i, 0);
        // A page's own caption is its tab's title, checked with the sheet.
        CheckDialog(PropSheet_GetCurrentPageHwnd(sheet.m_hWnd), "options page " + std::to_string(i + 1), false);
    }
    ::SendMessageW(sheet.m_hWnd, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);

    lhl::CTextClipboardDlg text(&Config(), nullptr);
    CheckModeless(text, "the clipboard text dialog");
    lhl::CUrlDlg link(&Config(), nullptr);
    CheckModeless(link, "the link dialog");
    lhl::PageBlock block = Config().m_page;
    lhl::CPageProperties properties(&block, &m_panel->Language(), nullptr);
    CheckModeless(properties, "the page properties");
    lhl::CTidyDesktopDlg tidy(&Config(), &Store(), nullptr);
    CheckModeless(tidy, "the tidy desktop dialog");
    lhl::CAboutDlg aboutBox(&m_panel->Language());
    CheckModeless(aboutBox, "the about box");

    // A file gone since it was added: the box that says so.
    ::DeleteFileW(path.c_str());
    lhltest::MessageBoxAnswerer user(IDNO);
    item->LaunchItem();
    ASSERT_EQ(user.Count(), 1u);
    Check(user.Seen().front().text, "the box for a file that cannot be opened");
    Check(user.Seen().front().caption, "that box's caption");
}
