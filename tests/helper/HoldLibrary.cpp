// Another program that keeps a DLL in use, as Explorer keeps the extension after a context menu
// and a hooked program keeps the hook library:
//   lhl_hold_library.exe <event name> [/open] <DLL path>
// It sets the named event once the DLL is loaded and holds it until it is ended. With /open it
// only opens the file, as a virus scanner or a backup program may, without letting it be
// deleted or renamed meanwhile. Exit code 1 when the DLL cannot be loaded or opened.
#include <windows.h>
#include <string>

namespace {

bool Hold(const std::wstring& path, bool openOnly) {
    if (!openOnly) return ::LoadLibraryW(path.c_str()) != nullptr;
    return ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr) !=
           INVALID_HANDLE_VALUE;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR cmdLine, int) {
    const std::wstring args = cmdLine;
    const size_t blank = args.find(L' ');
    if (blank == std::wstring::npos) return 1;
    const std::wstring eventName = args.substr(0, blank);
    std::wstring path = args.substr(blank + 1);
    const std::wstring openFlag = L"/open ";
    const bool openOnly = path.compare(0, openFlag.size(), openFlag) == 0;
    if (openOnly) path.erase(0, openFlag.size());
    if (!Hold(path, openOnly)) return 1;
    if (HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName.c_str())) {
        ::SetEvent(ready);
        ::CloseHandle(ready);
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    return 0;
}
