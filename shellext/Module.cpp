#include "Module.h"
#include <vector>

namespace qx {
namespace {
HINSTANCE g_instance = nullptr;
volatile LONG g_count = 0;
}

HINSTANCE ModuleInstance() { return g_instance; }

// The library may sit in a folder deeper than MAX_PATH: the buffer grows until the whole path
// fits, since a cut one would name another file (or none) to the type library and the registry.
std::wstring ModulePath() {
    std::vector<wchar_t> path(MAX_PATH + 1);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(g_instance, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return std::wstring(path.data(), length);
        if (path.size() > 32768) return {};
        path.resize(path.size() * 2);
    }
}

// The type library functions keep paths in MAX_PATH buffers; from a deeper folder they are
// given the file's short form, which names the same file in fewer characters.
std::wstring ModulePathToOpen() {
    const std::wstring path = ModulePath();
    if (path.size() < MAX_PATH) return path;
    const std::wstring longForm = path.rfind(L"\\\\?\\", 0) == 0 ? path : L"\\\\?\\" + path;
    std::vector<wchar_t> shortForm(longForm.size() + 1);
    const DWORD length =
        ::GetShortPathNameW(longForm.c_str(), shortForm.data(), static_cast<DWORD>(shortForm.size()));
    if (length == 0 || length >= shortForm.size()) return path;
    std::wstring result(shortForm.data(), length);
    if (result.rfind(L"\\\\?\\", 0) == 0) result.erase(0, 4);
    return result.size() < MAX_PATH ? result : path;
}

void ModuleAddRef() { ::InterlockedIncrement(&g_count); }
void ModuleRelease() { ::InterlockedDecrement(&g_count); }
bool ModuleInUse() { return g_count != 0; }

} // namespace qx

#ifndef QX_NO_DLLMAIN
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        qx::g_instance = instance;
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
#endif
