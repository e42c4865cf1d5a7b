#include "UndoTexts.h"
#include "LanguageTable.h"
#include "Module.h"
#include "resource.h"

namespace lhl {
namespace {

unsigned MenuTextId(const UndoStep* last) {
    if (!last) return IDS_UNDO_NOTHING;
    switch (last->kind) {
    case UndoKind::DeletePage: return IDS_UNDO_DELETE_PAGE;
    case UndoKind::ClearAll: return IDS_UNDO_CLEAR_ALL;
    case UndoKind::ClearIcon: return IDS_UNDO_CLEAR_ICON;
    case UndoKind::Replace: return IDS_UNDO_REPLACE;
    case UndoKind::MoveTo: return IDS_UNDO_MOVE_TO;
    }
    return IDS_UNDO_NOTHING;
}

// The language file's keys for these texts carry the resource numbers.
std::wstring Localised(unsigned id, LanguageTable* table) {
    const std::wstring builtIn = fw::LoadResString(id);
    return table ? table->TextOr(kSectionMain, id, builtIn.c_str()) : builtIn;
}

} // namespace

std::wstring UndoMenuText(const UndoStep* last, LanguageTable* table) { return Localised(MenuTextId(last), table); }

std::wstring UndoMessage(unsigned id, LanguageTable* table, std::initializer_list<int> pages) {
    return FormatNumbers(Localised(id, table), pages);
}

} // namespace lhl
