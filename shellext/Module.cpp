#include "Module.h"

namespace qx {
namespace {
HINSTANCE g_instance = nullptr;
volatile LONG g_count = 0;
}

HINSTANCE ModuleInstance() { return g_instance; }

std::wstring ModulePath() {
    wchar_t path[MAX_PATH + 1] = {};
    ::GetModuleFileNameW(g_instance, path, MAX_PATH);
    return path;
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
