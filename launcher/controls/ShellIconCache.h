#pragma once
// The shell's icon for a file by its extension and attributes. Asking the shell is slow (under
// Wine several milliseconds), and with SHGFI_USEFILEATTRIBUTES its answer depends on nothing
// else, so each answer is kept for the program's life; every caller gets its own copy to own.
#include <windows.h>
#include <string>

namespace lhl {

// A copy the caller destroys; null when the shell has no icon for it.
HICON CopyShellIcon(const std::wstring& path, DWORD attributes);
// How many times the shell itself was asked (for checks).
unsigned ShellIconLookups();

} // namespace lhl
