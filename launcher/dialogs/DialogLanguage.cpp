#include "DialogLanguage.h"
#include "LanguageTable.h"
#include <string>

namespace lhl {

void ApplyDialogLanguage(HWND dialog, LanguageTable* table, uint32_t section) {
    if (!table || !table->IsActive() || !dialog) return;
    std::wstring text;
    table->Lookup(text, section, 1);
    if (!text.empty()) ::SetWindowTextW(dialog, text.c_str());
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(child);
        if (id <= 0 || id == 1) continue; // key 1 is the caption, not a control
        text.clear();
        table->Lookup(text, section, static_cast<uint32_t>(id));
        if (!text.empty()) ::SetWindowTextW(child, text.c_str());
    }
}

} // namespace lhl
