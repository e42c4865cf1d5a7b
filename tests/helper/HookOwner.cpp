// Another process that takes the hook library for a window of its own, as a launcher does:
//   lhl_hook_owner.exe <event name>          keeps its window and both hooks until it is ended
//   lhl_hook_owner.exe <event name> nowindow then closes its window but goes on running
// It sets the named event once the hooks are in place. Exit code 1 when the library or an
// export is missing, 2 when the keyboard hook could not be installed.
#include <windows.h>
#include <string>

namespace {

using SetUseFn = int(__cdecl*)(HWND);
using CaptureFn = int(__cdecl*)(HWND, BOOL);

template <typename Fn>
Fn Entry(HMODULE library, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR cmdLine, int) {
    std::wstring args = cmdLine;
    const size_t blank = args.find(L' ');
    const std::wstring eventName = args.substr(0, blank);
    const bool dropWindow = blank != std::wstring::npos && args.substr(blank + 1) == L"nowindow";

    HMODULE library = ::LoadLibraryW(L"QuenvidTools.dll"); // from this program's own folder
    const auto setUse = library ? Entry<SetUseFn>(library, "SetUseOtherHotKey") : nullptr;
    const auto capture = library ? Entry<CaptureFn>(library, "SetMouseCapture") : nullptr;
    if (!setUse || !capture) return 1;
    HWND window = ::CreateWindowExW(0, L"STATIC", L"hook owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                    nullptr);
    if (setUse(window) != 1) return 2;
    capture(window, TRUE);
    if (dropWindow) ::DestroyWindow(window);
    if (HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName.c_str())) {
        ::SetEvent(ready);
        ::CloseHandle(ready);
    }
    // A message loop, as the low-level mouse hook needs one in the thread that set it.
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    return 0;
}
