#pragma once
// Interface texts from a language file in the "Lang" folder beside the program, looked up by
// section (the dialog template or menu number) and key (a control, command or message number).
// An empty answer means: keep the built-in English text.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace lhl {

enum : uint32_t {
    kSectionMain = 102,
    kSectionOptionsBasic = 152,
    kSectionOptionsAdvanced = 151,
    kSectionNewPage = 136,
    kSectionClipboard = 132,
    kSectionUrlEmail = 139,
    kSectionItemMenu = 100,
    kSectionTidyDesktop = 161,
    kSectionAbout = 1100, // the about box's template number is the item menu's section already
};

class LanguageTable {
public:
    static constexpr uint32_t kChinese = 1;
    static constexpr uint32_t kOff = 0;

    LanguageTable();

    bool IsActive() const { return m_language != kOff; }
    void SetLanguage(uint32_t language) { m_language = language; }
    uint32_t Language() const { return m_language; }
    // Reads one section from the language file; a missing file or key gives empty texts.
    void LoadSection(uint32_t section);
    // Copies the text of (section, key) into `text` when the table has one; always true.
    bool Lookup(std::wstring& text, uint32_t section, uint32_t key);
    // The table's text for (section, key) when it is active and has one, else `builtIn`.
    std::wstring TextOr(uint32_t section, uint32_t key, const wchar_t* builtIn);
    // How many times sections were read from the file (each read is one file pass).
    unsigned LoadCount() const { return m_loads; }

    const std::wstring& LangFolder() const { return m_langFolder; }
    void SetLangFolder(std::wstring folder) { m_langFolder = std::move(folder); }
    std::wstring FilePath() const;

private:
    struct Entry {
        uint32_t key;
        std::wstring text;
    };
    std::vector<Entry>* SectionList(uint32_t section);

    std::vector<std::vector<Entry>> m_sections;
    uint32_t m_language;
    std::wstring m_langFolder;
    unsigned m_loads = 0;
};

struct InterfaceText;
// The language file's text when a table is given, active and has one; else the English text.
std::wstring TextOf(LanguageTable* table, const InterfaceText& text);

// The text with each "%d" replaced by the next number, and "\n" as an ini file writes a line
// break made one. A translated text is data, not a format string: a stray "%s" or a "%d" too
// many stays as it is written.
std::wstring FormatNumbers(const std::wstring& format, std::initializer_list<int> numbers);

} // namespace lhl
