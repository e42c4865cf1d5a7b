#pragma once
// What the shell says about an item's file, remembered. Asking the shell is slow (under Wine
// several milliseconds a question) and a page switch asks it for up to 256 files.
#include <windows.h>
#include <string>

namespace lhl {

// The shell's icon for a file by its extension and attributes, size pixels square: with
// SHGFI_USEFILEATTRIBUTES the answer depends on nothing else, so one icon per key and size serves
// every button for the program's life. Callers draw it and never destroy it; null when the shell
// has none.
HICON SharedShellIcon(const std::wstring& path, DWORD attributes, int size);
// One of the program's own icon resources, size pixels square, made from the resource's nearest
// larger image; kept for the program's life like the shell's.
HICON SharedProgramIcon(UINT resourceId, int size);

// The shell's display name of an existing file, remembered by path; empty when the shell cannot
// name it (a missing file is asked again next time, since it may appear).
std::wstring ShellDisplayNameOf(const std::wstring& path);
// The display name if the shell was already asked for it; never asks. False when not known.
bool KnownShellDisplayName(const std::wstring& path, std::wstring& name);
// The shell's names follow settings such as hidden extensions: a settings change forgets them.
void ForgetShellDisplayNames();

// While one lives on a thread, the names asked for there come from folders the shell has
// opened once: naming a file through its open folder is several times faster than from its
// full path, and a page's items mostly share a few folders. The folders go with the batch.
class ShellNameBatch {
public:
    ShellNameBatch();
    ~ShellNameBatch();
    ShellNameBatch(const ShellNameBatch&) = delete;
    ShellNameBatch& operator=(const ShellNameBatch&) = delete;

private:
    HRESULT m_com;
    ShellNameBatch* m_outer;
};

// How many times the shell itself was asked (for checks).
unsigned ShellIconLookups();
unsigned ShellNameLookups();

} // namespace lhl
