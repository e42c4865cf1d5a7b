// A harmless program for launch tests: it writes its own command line to "ran.txt" beside
// itself and ends. The file appears whole: it is written under another name and then renamed.
#include <windows.h>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring file = path;
    const std::wstring folder = file.substr(0, file.find_last_of(L'\\') + 1);
    file = folder + L"ran.tmp";
    HANDLE out = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 1;
    const std::wstring line = ::GetCommandLineW();
    DWORD written = 0;
    ::WriteFile(out, line.c_str(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(out);
    return ::MoveFileExW(file.c_str(), (folder + L"ran.txt").c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
