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

// The eight sections, in a fixed order.
const LanguageSection* LanguageSections(unsigned& count);

} // namespace lhl
