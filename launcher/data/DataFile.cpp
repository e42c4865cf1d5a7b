#include "DataFile.h"
#include "File.h"
#include "PageCodec.h"
#include <windows.h>

namespace lhl {
namespace {

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

bool WriteWhole(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    fw::CFile file;
    if (!file.Open(path, fw::CFile::modeCreate | fw::CFile::modeWrite | fw::CFile::typeBinary))
        return false;
    return file.Write(bytes.data(), bytes.size()) && file.Flush();
}

} // namespace

bool ReplaceDataFile(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    const std::wstring folder = FolderOf(path);
    wchar_t content[MAX_PATH + 1] = {};
    wchar_t previous[MAX_PATH + 1] = {};
    if (!::GetTempFileNameW(folder.c_str(), L"lhl", 0, content)) return false;
    if (!WriteWhole(content, bytes) || !::GetTempFileNameW(folder.c_str(), L"lhl", 0, previous)) {
        ::DeleteFileW(content);
        return false;
    }
    // The previous version is copied aside first and becomes the backup only once the new
    // content is in place, so a failure leaves the backup untouched too. A first save has no
    // previous version.
    const bool hadPrevious = ::CopyFileW(path.c_str(), previous, FALSE) != FALSE;
    if (!::MoveFileExW(content, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(content);
        ::DeleteFileW(previous);
        return false;
    }
    if (!hadPrevious ||
        !::MoveFileExW(previous, (path + kBackupSuffix).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ::DeleteFileW(previous);
    return true;
}

bool IsLongNameOfItsFile(const std::wstring& path) {
    const DWORD size = ::GetLongPathNameW(path.c_str(), nullptr, 0);
    // No such file: whatever makes it gives it this very name.
    if (size == 0) return true;
    std::wstring longPath(size, L'\0');
    const DWORD length = ::GetLongPathNameW(path.c_str(), longPath.data(), size);
    if (length == 0 || length >= size) return true;
    longPath.resize(length);
    const auto nameOf = [](const std::wstring& p) { return p.substr(p.find_last_of(L'\\') + 1); };
    return SameFileName(nameOf(longPath), nameOf(path));
}

bool ReadDataFile(const std::wstring& path, std::vector<uint8_t>& bytes, size_t limit) {
    return fw::CFile::ReadAll(path, bytes, limit);
}

} // namespace lhl
