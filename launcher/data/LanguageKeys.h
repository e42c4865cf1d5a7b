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

// The eight sections, in a fixed order.
const LanguageSection* LanguageSections(unsigned& count);

} // namespace lhl
