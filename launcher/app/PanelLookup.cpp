#include "PanelLookup.h"
#include "PanelMessages.h"

namespace lhl {

HWND FindLauncherPanel(DWORD processId) {
    HWND candidate = nullptr;
    while ((candidate = ::FindWindowExW(nullptr, candidate, kDialogClass, kProductTitle)) != nullptr) {
        if (!::GetPropW(candidate, kPanelProperty)) continue;
        DWORD owner = 0;
        ::GetWindowThreadProcessId(candidate, &owner);
        if (processId == 0 || owner == processId) return candidate;
    }
    return nullptr;
}

} // namespace lhl
