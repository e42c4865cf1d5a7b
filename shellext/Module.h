#pragma once
// The library's module state: its instance, and one count of living objects and server locks
// that DllCanUnloadNow answers from.
#include <windows.h>
#include <string>

namespace qx {

HINSTANCE ModuleInstance();
std::wstring ModulePath();
void ModuleAddRef();
void ModuleRelease();
bool ModuleInUse();

} // namespace qx
