#include "TestSupport.h"
#include "File.h"
#include "LanternhopApp.h"
#include "Module.h"
#include "ShellFolder.h"
#include <shlobj.h>

namespace lhltest {

std::wstring BinFolder() { return fw::ModuleFolder(); }

std::wstring DataFolder() { return fw::ShellFolderPath(CSIDL_APPDATA) + L"LHLauncher\\"; }

bool FileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    fw::CFile::ReadAll(path, bytes, 16 * 1024 * 1024);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    fw::CFile file;
    ASSERT_TRUE(file.Open(path, fw::CFile::modeCreate | fw::CFile::modeWrite)) << "cannot write the test file";
    ASSERT_TRUE(file.Write(bytes.data(), bytes.size()));
}

void EmptyFolder(const std::wstring& folder) {
    const std::wstring base = fw::WithTrailingBackslash(folder);
    WIN32_FIND_DATAW entry{};
    HANDLE find = ::FindFirstFileW((base + L"*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = base + name;
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveFolder(path);
        else ::DeleteFileW(path.c_str());
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
}

void RemoveFolder(const std::wstring& folder) {
    EmptyFolder(folder);
    ::RemoveDirectoryW(folder.c_str());
}

void DeleteLauncherRegistryKey() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QuenvidWorks\\Lanternhop");
}

bool LauncherRegistryKeyExists() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, lhl::kRegistryKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

bool InThrowawayPrefix() {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    const bool wine = ntdll && ::GetProcAddress(ntdll, "wine_get_version");
    return wine && FileExists(L"C:\\lanternhop-test-prefix");
}

namespace {

// A skip recorded while the fixture is constructed stops the whole test before its set-up.
void Refuse() {
    GTEST_SKIP() << "Not run: this test changes the launcher's data, the desktop or the registry of whoever runs "
                    "it. scripts/test runs it in a throwaway Wine prefix.";
}

} // namespace

ThrowawayPrefixOnly::ThrowawayPrefixOnly() {
    if (InThrowawayPrefix()) return;
    m_removeDataFolders = !FolderExists(DataFolder());
    Refuse();
}

ThrowawayPrefixOnly::~ThrowawayPrefixOnly() {
    if (!m_removeDataFolders) return;
    // Only empty folders go: nothing that holds a file is touched.
    for (const wchar_t* sub : {L"Shortcut", L"DesktopBackup", L""}) ::RemoveDirectoryW((DataFolder() + sub).c_str());
}

void CleanLauncherState::SetUp() {
    DeleteLauncherRegistryKey();
    EmptyFolder(DataFolder());
}

void CleanLauncherState::TearDown() {
    DeleteLauncherRegistryKey();
    EmptyFolder(DataFolder());
}

} // namespace lhltest
