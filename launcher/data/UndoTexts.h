#pragma once
// The words the undo shows: the page menu's entry and the undo's refusals, in the interface
// language when the language file has them.
#include "UndoHistory.h"
#include <initializer_list>
#include <string>

namespace lhl {

class LanguageTable;

// "Undo Delete Page" and the like; plain "Undo" when there is nothing to take back.
std::wstring UndoMenuText(const UndoStep* last, LanguageTable* table);
// A resource text (with a "%d" for each page number) in the interface language.
std::wstring UndoMessage(unsigned id, LanguageTable* table, std::initializer_list<int> pages = {});

} // namespace lhl
