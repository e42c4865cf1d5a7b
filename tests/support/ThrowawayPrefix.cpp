#include "ThrowawayPrefix.h"
#include <windows.h>

namespace lhltest {

bool InThrowawayPrefix() {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    const bool wine = ntdll && ::GetProcAddress(ntdll, "wine_get_version");
    const DWORD mark = ::GetFileAttributesW(L"C:\\lanternhop-test-prefix");
    return wine && mark != INVALID_FILE_ATTRIBUTES && !(mark & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace lhltest
