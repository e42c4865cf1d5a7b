// Another program that keeps a DLL loaded, as Explorer keeps the extension after a context menu
// and a hooked program keeps the hook library:
//   lhl_hold_library.exe <event name> <DLL path>
// It sets the named event once the DLL is loaded and holds it until it is ended. Exit code 1
// when the DLL cannot be loaded.
#include <windows.h>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR cmdLine, int) {
    const std::wstring args = cmdLine;
    const size_t blank = args.find(L' ');
    if (blank == std::wstring::npos) return 1;
    const std::wstring eventName = args.substr(0, blank);
    const std::wstring path = args.substr(blank + 1);
    if (!::LoadLibraryW(path.c_str())) return 1;
    if (HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName.c_str())) {
        ::SetEvent(ready);
        ::CloseHandle(ready);
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    return 0;
}
