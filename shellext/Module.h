#pragma once
// The library's module state: its instance, and one count of living objects and server locks
// that DllCanUnloadNow answers from.
#include <windows.h>
#include <string>

namespace qx {

HINSTANCE ModuleInstance();
std::wstring ModulePath();
// The same, in its short form where it is longer than MAX_PATH, for the functions that cut it.
std::wstring ModulePathToOpen();
void ModuleAddRef();
void ModuleRelease();
bool ModuleInUse();

} // namespace qx
