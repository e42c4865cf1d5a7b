#include "LHLConfigDelPersonalDataApp.h"
#include "Handles.h"
#include "ShellFolder.h"
#include <shlobj.h>

namespace {
// Must match the launcher's own data folder name.
constexpr const wchar_t* kDataFolderName = L"LHLauncher";

bool IsDotEntry(const wchar_t* name) {
    return (name[0] == L'.' && name[1] == L'\0') || (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}
} // namespace

std::wstring LauncherDataFolder() {
    const std::wstring appData = fw::ShellFolderPath(CSIDL_APPDATA);
    return appData.empty() ? std::wstring() : appData + kDataFolderName;
}

int DeleteFilesIn(const std::wstring& folder) {
    WIN32_FIND_DATAW entry{};
    fw::UniqueFindHandle find(::FindFirstFileW((folder + L"\\*.*").c_str(), &entry));
    if (!find) return 0;
    int deleted = 0;
    do {
        if (IsDotEntry(entry.cFileName) || (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        // A file that cannot go (read-only, in use) stays; the others are still deleted.
        if (::DeleteFileW((folder + L"\\" + entry.cFileName).c_str())) ++deleted;
    } while (::FindNextFileW(find.get(), &entry));
    return deleted;
}

BOOL CLHLConfigDelPersonalDataApp::InitInstance() {
    fw::CWinApp::InitInstance();
    const std::wstring folder = LauncherDataFolder();
    if (!folder.empty()) DeleteFilesIn(folder);
    return FALSE; // no window and no message loop: the work is done
}
