// Interface texts from the language files.
#include "LanguageTable.h"
#include "TestSupport.h"

using lhl::FormatNumbers;
using lhl::LanguageTable;

namespace {

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

TEST_F(LanguageTableTest, TheShippedFileTranslatesEveryKey) {
    LanguageTable shipped; // the Lang folder beside the test programs
    shipped.SetLanguage(LanguageTable::kChinese);
    const std::pair<uint32_t, std::vector<uint32_t>> sections[] = {
        {102, {32775, 32843, 32841, 32772, 32771, 32857, 32784, 32783, 32781, 32790, 32785, 32782, 32789, 15, 16, 17, 18, 19, 20, 21, 22}},
        {152, {1, 2, 1006, 1019, 1016, 1018, 1017, 1015, 1012, 1041, 1042, 1043}},
        {151, {1, 1048, 1015, 1038, 1049, 1050, 1074, 1073}},
        {136, {1, 1052, 1053, 1054, 1055, 1057, 1058, 1056, 1061, 1062, 1040}},
        {132, {1, 1052, 1063, 1061, 1062}},
        {139, {1, 1052, 1064, 1061, 1062}},
        {100, {1, 2, 3, 4, 5, 6}},
        {161, {1, 2, 3, 1069, 1066, 1071, 7}},
    };
    for (const auto& [section, keys] : sections) {
        for (uint32_t key : keys) {
            std::wstring text;
            shipped.Lookup(text, section, key);
            EXPECT_FALSE(text.empty()) << "no translation for section " << section << " key " << key;
        }
    }
}

// Translated texts come from a file beside the program: they are filled in, never used as a
// format string, so a wrong placeholder shows as written instead of reading the stack.
TEST(LanguageTexts, NumbersFillOnlyTheirPlaceholdersAndLineBreaksAreMade) {
    EXPECT_EQ(FormatNumbers(L"%d x %d: %d", {4, 4, 13}), L"4 x 4: 13");
    EXPECT_EQ(FormatNumbers(L"%s and %d and %d", {7}), L"%s and 7 and %d");
    EXPECT_EQ(FormatNumbers(L"one\\ntwo %", {}), L"one\ntwo %");
    EXPECT_EQ(FormatNumbers(L"%%d", {1}), L"%1");
}
