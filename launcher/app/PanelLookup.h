#pragma once
// Finding the running launcher's panel from outside it.
#include <windows.h>

namespace lhl {

// The panel window: a top-level dialog titled like the product that carries the panel's
// property, so none of its message boxes or other dialogs is taken for it. With a process id,
// only that process's panel. Null when there is none.
HWND FindLauncherPanel(DWORD processId = 0);

} // namespace lhl
