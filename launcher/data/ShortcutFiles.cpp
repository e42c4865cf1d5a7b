#include "ShortcutFiles.h"
#include "Module.h"
#include "PageCodec.h"
#include "ShellFolder.h"
#include <windows.h>
#include <algorithm>

namespace lhl {
namespace {

std::wstring LastPart(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool EndsWithLnk(const std::wstring& name) {
    return name.size() > 4 && SameFileName(name.substr(name.size() - 4), L".lnk");
}

} // namespace

bool IsInFolder(const std::wstring& path, const std::wstring& folder) {
    const size_t slash = path.find_last_of(L'\\');
    return slash != std::wstring::npos && !folder.empty() &&
           SameFileName(path.substr(0, slash + 1), fw::WithTrailingBackslash(folder));
}

std::wstring FreePathIn(const std::wstring& folder, const std::wstring& stem, const std::wstring& extension) {
    std::wstring path = folder + stem + extension;
    for (int n = 2; fw::PathExists(path); ++n) path = folder + stem + L" (" + std::to_wstring(n) + L")" + extension;
    return path;
}

bool MoveWithoutOverwrite(const std::wstring& from, const std::wstring& to) {
    return ::MoveFileW(fw::FileSystemPath(from).c_str(), fw::FileSystemPath(to).c_str()) != FALSE;
}

bool ReturnShortcut(const std::wstring& copy, const std::wstring& origin) {
    if (MoveWithoutOverwrite(copy, origin)) return true;
    const size_t slash = origin.find_last_of(L'\\');
    const size_t dot = origin.find_last_of(L'.');
    if (slash == std::wstring::npos || dot == std::wstring::npos || dot < slash) return false;
    const std::wstring folder = origin.substr(0, slash + 1);
    const std::wstring stem = origin.substr(slash + 1, dot - slash - 1);
    // Another program may take the free name between the look and the move: a few more tries.
    for (int attempt = 0; attempt < 3; ++attempt)
        if (MoveWithoutOverwrite(copy, FreePathIn(folder, stem, origin.substr(dot)))) return true;
    return false;
}

std::vector<std::wstring> FilesNoTargetNames(const std::vector<FolderFile>& files, const std::vector<std::wstring>& targets) {
    std::vector<std::wstring> names;
    for (const std::wstring& target : targets) names.push_back(LastPart(target));
    const auto named = [&names](const std::wstring& name) {
        return !name.empty() &&
               std::any_of(names.begin(), names.end(), [&name](const std::wstring& n) { return SameFileName(n, name); });
    };
    std::vector<std::wstring> unnamed;
    for (const FolderFile& file : files)
        if (!named(file.name) && !named(file.shortName)) unnamed.push_back(file.name);
    return unnamed;
}

std::vector<FolderFile> ShortcutsIn(const std::wstring& folder) {
    std::vector<FolderFile> files;
    WIN32_FIND_DATAW found{};
    // "*" rather than "*.lnk": that pattern also matches the short name of "x.lnk2".
    HANDLE search = ::FindFirstFileW(fw::FileSystemPath(fw::WithTrailingBackslash(folder) + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && EndsWithLnk(found.cFileName))
            files.push_back(FolderFile{found.cFileName, found.cAlternateFileName});
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return files;
}

} // namespace lhl
