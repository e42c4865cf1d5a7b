#pragma once
// Puts a dialog's texts from the language table: its caption from key 1 of its section and each
// child control's text from the key of its id, where the table has a text.
#include <windows.h>
#include <cstdint>

namespace lhl {

class LanguageTable;

void ApplyDialogLanguage(HWND dialog, LanguageTable* table, uint32_t section);

} // namespace lhl
