#include "LanguageTable.h"
#include "LanguageKeys.h"
#include "Module.h"
#include <windows.h>

namespace lhl {
namespace {

// Neither off nor Chinese: counts as active, but names no file.
constexpr uint32_t kUnset = 0xFFFFFFFF;
constexpr DWORD kTextBuffer = 512;

const LanguageSection* FindSection(uint32_t number, unsigned* position) {
    unsigned count = 0;
    const LanguageSection* sections = LanguageSections(count);
    for (unsigned i = 0; i < count; ++i) {
        if (sections[i].number != number) continue;
        if (position) *position = i;
        return &sections[i];
    }
    return nullptr;
}

} // namespace

LanguageTable::LanguageTable() : m_language(kUnset), m_langFolder(fw::ModuleFolder() + L"Lang\\") {
    unsigned count = 0;
    LanguageSections(count);
    m_sections.resize(count);
}

std::wstring LanguageTable::FilePath() const {
    return m_language == kChinese ? m_langFolder + L"ChineseSimplified.ini" : std::wstring();
}

std::vector<LanguageTable::Entry>* LanguageTable::SectionList(uint32_t section) {
    unsigned position = 0;
    return FindSection(section, &position) ? &m_sections[position] : nullptr;
}

void LanguageTable::LoadSection(uint32_t section) {
    const LanguageSection* keys = FindSection(section, nullptr);
    std::vector<Entry>* list = SectionList(section);
    if (!keys || !list) return;
    ++m_loads;
    list->assign(keys->keyCount + 1, Entry{0, L""});
    (*list)[0] = Entry{m_language, L""}; // the stamp: which language these texts are in
    const std::wstring path = FilePath();
    for (unsigned i = 0; i < keys->keyCount; ++i) {
        wchar_t buffer[kTextBuffer] = {};
        if (!path.empty())
            ::GetPrivateProfileStringW(keys->name, keys->keys[i].name, L"", buffer, kTextBuffer, path.c_str());
        (*list)[i + 1] = Entry{keys->keys[i].number, buffer};
    }
}

bool LanguageTable::Lookup(std::wstring& text, uint32_t section, uint32_t key) {
    std::vector<Entry>* list = SectionList(section);
    if (!list) return true;
    if (list->empty() || (*list)[0].key != m_language) LoadSection(section);
    for (size_t i = 1; i < list->size(); ++i) {
        if ((*list)[i].key != key) continue;
        text = (*list)[i].text;
        break;
    }
    return true;
}

std::wstring LanguageTable::TextOr(uint32_t section, uint32_t key, const wchar_t* builtIn) {
    std::wstring text;
    if (IsActive()) Lookup(text, section, key);
    return text.empty() ? std::wstring(builtIn) : text;
}

std::wstring TextOf(LanguageTable* table, const InterfaceText& text) {
    return table ? table->TextOr(text.section, text.key, text.english) : std::wstring(text.english);
}

std::wstring FormatNumbers(const std::wstring& format, std::initializer_list<int> numbers) {
    std::wstring text;
    auto next = numbers.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format.compare(i, 2, L"%d") == 0 && next != numbers.end()) {
            text += std::to_wstring(*next++);
            ++i;
        } else if (format.compare(i, 2, L"\\n") == 0) {
            text += L'\n';
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

} // namespace lhl
